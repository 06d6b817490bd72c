// The requisition window's checks of typed values, browsing, printing, hand-off and panes.
#include "tests/support/pr_window_fixture.h"
#include "windows/print/active_report.h"

namespace zelkor::testing {
namespace {

TEST_F(PrWindow, BadCellsAreRefusedWithTheirMessageAndPutThePreviousValueBack)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    enter_item(0, "1", "WIDGET", "10", "2.50");
    const struct {
        const char* column;
        const char* typed;
        const char* message;
    } cases[] = {
        {"quantity", "ten", "quantity is invalid."},
        {"unit cost", "1.2.3", "unit cost is invalid."},
        {"extended cost", "'; DROP TABLE x", "extended cost is invalid."},
        {"tax code", "SALES", "tax code is invalid."},
        {"tax amount", "abc", "please input numeric data"},
        {"uom", "kg", "Invalid uom"},
        {"account", "4000", "account is invalid."},
        {"item type", "9", "item type is invalid."},
        {"warehouse", "WEST", "warehouse is invalid."},
        {"preferred vendor", "V900", "vendor is invalid."},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.column);
        const QStringList before = lines().row(0);
        EXPECT_EQ(type(0, bad.column, bad.typed), Entry::Refused);
        EXPECT_EQ(prompter.last(), bad.message);
        EXPECT_EQ(lines().row(0), before);
    }
    EXPECT_EQ(type(1, "item type", "1"), Entry::Accepted);
    EXPECT_EQ(type(1, "item code", "OLDPART"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "item code is invalid.");
    EXPECT_EQ(type(0, "uom", "carton"), Entry::Accepted);

    // Clearing the item code clears the line.
    EXPECT_EQ(type(0, "item code", ""), Entry::Accepted);
    EXPECT_EQ(cell(0, "description"), "");
    EXPECT_EQ(cell(0, "quantity"), "");
    EXPECT_EQ(cell(0, "account name"), "");
}

TEST_F(PrWindow, BadHeaderAndLinesStopTheSaveBeforeAnythingIsWritten)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_EQ(window.type_into("vendor_no", "V900"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "vendor is invalid.");
    EXPECT_EQ(window.field("vendor_no"), "");
    EXPECT_EQ(window.type_into("requested_date", "31/02/2026"), Entry::Refused);
    EXPECT_EQ(window.field("requested_date"), "");

    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "No detail line");

    enter_item(0, "1", "WIDGET", "0", "2.50");
    const struct {
        const char* field;
        const char* value;
        const char* message;
    } header_cases[] = {
        {"currency", "", "please specify currency"},
        {"vendor_no", "V900", "vendor is invalid."},
    };
    for (const auto& bad : header_cases) {
        window.set_field(bad.field, bad.value);
        EXPECT_FALSE(window.execute(CommandId::Save));
        EXPECT_EQ(prompter.last(), bad.message);
        window.set_field(bad.field, bad.field == QLatin1String("currency") ? "USD" : "");
    }
    // A date the window itself put there is checked again by the save.
    window.set_field("requested_date", "31/02/2026");
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_TRUE(prompter.last().startsWith("date is invalid") || prompter.last().startsWith("Date is invalid"))
        << prompter.last().toStdString();
    window.set_field("requested_date", "");

    const struct {
        const char* column;
        const char* value;
        const char* message;
    } line_cases[] = {
        {"quantity", "0", "WIDGET: quantity is invalid."},
        {"quantity", "", "please specify quantity for WIDGET"},
        {"extended cost", "", "please specify extended cost for WIDGET"},
        {"account", "", "please specify account for WIDGET"},
        {"account", "9999", "account number for WIDGET is invalid."},
        {"uom", "", "please specify unit of measurement for WIDGET"},
        {"uom", "each", "each has no conversion factor for WIDGET"},
        {"unit cost", "-1", "WIDGET unit price is invalid."},
    };
    for (const auto& bad : line_cases) {
        SCOPED_TRACE(bad.message);
        const QString kept = cell(0, bad.column);
        lines().set_cell(0, bad.column, bad.value);
        lines().set_cell(0, "quantity", QLatin1String(bad.column) == "quantity" ? bad.value : "10");
        EXPECT_FALSE(window.execute(CommandId::Save));
        EXPECT_EQ(prompter.last(), bad.message);
        EXPECT_EQ(window.field("docno"), "** New **");
        lines().set_cell(0, bad.column, kept);
    }
    EXPECT_EQ(t.count("PR_header_table"), 0);
    EXPECT_EQ(next_pr_counter(), 1);
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
}

TEST_F(PrWindow, NavigationSkipsDeletedKeys)
{
    save_simple_requisition();
    save_simple_requisition();
    save_simple_requisition();
    ASSERT_TRUE(t.db().execute("DELETE FROM PR_header_table WHERE fkey = '1pr-2'"));

    ASSERT_TRUE(window.execute(CommandId::LastRecord));
    EXPECT_EQ(window.field("docno"), "PR-26-00003");
    ASSERT_TRUE(window.execute(CommandId::PreviousRecord));
    EXPECT_EQ(window.field("docno"), "PR-26-00001");
    ASSERT_TRUE(window.execute(CommandId::PreviousRecord));
    EXPECT_EQ(window.field("docno"), "PR-26-00001");
    ASSERT_TRUE(window.execute(CommandId::NextRecord));
    EXPECT_EQ(window.field("docno"), "PR-26-00003");
    EXPECT_EQ(cell(0, "item code"), "WIDGET");

    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_TRUE(window.execute(CommandId::NextRecord)); // nothing typed: no question
    EXPECT_EQ(window.field("docno"), "PR-26-00003");

    window.type_into("docno", "PR-26-00001");
    EXPECT_EQ(window.document_key(), "1pr-1");
    window.type_into("docno", "PR-26-00002");
    EXPECT_EQ(prompter.last(), "document not found");
    EXPECT_EQ(window.document_key(), "");
    EXPECT_EQ(lines().row_count(), 0);
}

TEST_F(PrWindow, PreviewRaisesTheReportQueryOfTheShownRequisition)
{
    const QString docno = save_simple_requisition();
    notifications.clear();
    ASSERT_TRUE(window.execute(CommandId::Preview));
    ASSERT_EQ(notifications.size(), 1u);
    const Notification& report = notifications.front();
    EXPECT_EQ(report.formx, "ActiveReport");
    EXPECT_EQ(report.arg2, "Purchase Requisition," + docno + ",");
    EXPECT_TRUE(report.docnox.startsWith("SELECT PR_header_table.docno, "));
    EXPECT_TRUE(report.docnox.endsWith(" ORDER BY PR_transaction_table.itemno"));
    EXPECT_FALSE(report.docnox.contains(docno)) << "the document number is bound, never written into the query";
    auto rows = run_active_report(t.db(), report.docnox, report.arg2);
    ASSERT_TRUE(rows) << rows.error().detail.toStdString();
    ASSERT_EQ(rows->size(), 1u);
    const Row& row = rows->front();
    EXPECT_EQ(row.text(u"vendor_name"), "O'Brien Supply");
    EXPECT_EQ(row.date(u"order_date"), QDate(2026, 3, 16));
    EXPECT_EQ(row.text(u"payment_term"), "2% 10, net 30");
    EXPECT_EQ(row.text(u"itemcode"), "WIDGET");
    EXPECT_EQ(row.column_name(0), "docno");
    EXPECT_EQ(row.column_name(row.size() - 1), "net_cost");

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    EXPECT_FALSE(window.execute(CommandId::Preview));
    EXPECT_EQ(prompter.last(), "Please save this PR first.");
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(POform_pr::Command::ClosePr));
    EXPECT_FALSE(window.execute(CommandId::Preview));
    EXPECT_EQ(prompter.last(), "PR was closed.");
}

TEST_F(PrWindow, IssuePoNotifiesForAnOpenSavedRequisitionOnly)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_FALSE(window.execute(POform_pr::Command::IssuePo));
    EXPECT_EQ(prompter.last(), "Please save this PR first.");
    ASSERT_TRUE(window.execute(CommandId::New));

    save_simple_requisition();
    notifications.clear();
    ASSERT_TRUE(window.execute(POform_pr::Command::IssuePo));
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications.front().formx, "Issue PO");

    prompter.answer_yes();
    ASSERT_TRUE(window.execute(POform_pr::Command::ClosePr));
    EXPECT_FALSE(window.execute(POform_pr::Command::IssuePo));
    EXPECT_EQ(prompter.last(), "PR was closed.");

    // Orders issued from it: one opens the order, several the order report.
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_transaction_table (company, fkey, itemno, docno, prno)"
                               " VALUES (1, '1po-1', 1, 'PO-26-00001', 'PR-26-00001')"));
    notifications.clear();
    ASSERT_TRUE(window.execute(POform_pr::Command::PoRecord));
    EXPECT_EQ(notifications.back().formx, "Purchase Order");
    EXPECT_EQ(notifications.back().docnox, "PO-26-00001");
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_transaction_table (company, fkey, itemno, docno, prno)"
                               " VALUES (1, '1po-2', 1, 'PO-26-00002', 'PR-26-00001')"));
    ASSERT_TRUE(window.execute(POform_pr::Command::PoRecord));
    EXPECT_EQ(notifications.back().formx, "Purchase Order Report");
    EXPECT_EQ(notifications.back().docnox, "PR-26-00001");
}

TEST_F(PrWindow, StockPanesAndMasterNotifications)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    enter_item(0, "1", "GLUE", "5", "3");
    ASSERT_TRUE(window.execute(CommandId::StockByLocation));
    const Grid& by_location = *window.grid("grid_stock_location");
    ASSERT_EQ(by_location.row_count(), 1);
    EXPECT_EQ(by_location.row(0), QStringList({"EAST", "E1", "20.00", "0.00", "0.00"}));

    ASSERT_TRUE(type(0, "warehouse", "EAST") == Entry::Accepted && type(0, "location", "E1") == Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::StockByItem));
    EXPECT_EQ(window.grid("grid_stock_item")->row(0), QStringList({"GLUE", "EAST", "E1", "20.00", "0.00", "0.00"}));
    ASSERT_TRUE(window.execute(CommandId::StockByItem));
    type(0, "location", "");
    window.set_field("shipto", "");
    ASSERT_TRUE(window.execute(CommandId::StockByItem));
    EXPECT_EQ(prompter.last(), "please specify warehouse/location or at least ship-to");

    notifications.clear();
    window.execute(CommandId::ItemMaster);
    window.execute(CommandId::AccountMaster);
    window.execute(CommandId::WindowHelp);
    window.execute(CommandId::SystemHelp);
    ASSERT_EQ(notifications.size(), 4u);
    EXPECT_EQ(notifications[0].formx + "|" + notifications[0].docnox, "Item Master|GLUE");
    EXPECT_EQ(notifications[1].formx + "|" + notifications[1].docnox, "Account Master|1300");
    EXPECT_EQ(notifications[2].docnox, "/data/zelkor/Help/Purchase Requisition Help.pdf");
    EXPECT_EQ(notifications[2].arg2, "Purchase Requisition Help");
    EXPECT_EQ(notifications[3].arg2, "Purchase Order Help");

    prompter.answer_no();
    ASSERT_TRUE(window.execute(CommandId::Exit));
    EXPECT_EQ(notifications.back().formx, "Next App");
}

TEST_F(PrWindow, RightsGateNewModeAndPreview)
{
    save_simple_requisition();
    POform_pr clerk_window;
    HostSettings settings = window.settings();
    settings.ZELKOR_USER = "CLERK";
    clerk_window.apply_settings(settings);
    clerk_window.set_prompter(&prompter);
    clerk_window.open();
    EXPECT_TRUE(clerk_window.execute(CommandId::LastRecord));
    EXPECT_FALSE(clerk_window.execute(CommandId::Preview));
    EXPECT_TRUE(clerk_window.execute(CommandId::New));

    settings.ZELKOR_USER = "GUEST";
    POform_pr guest_window;
    guest_window.apply_settings(settings);
    guest_window.set_prompter(&prompter);
    guest_window.open();
    EXPECT_FALSE(guest_window.execute(CommandId::New));
    EXPECT_FALSE(guest_window.execute(CommandId::Preview));
}

} // namespace
} // namespace zelkor::testing
