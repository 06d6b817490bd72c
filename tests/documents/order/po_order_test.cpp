#include "tests/support/po_window_fixture.h"

namespace zelkor {
namespace {

TEST_F(OrderWindow, SavingCountsStockAndNonStockWhileCloseAndVoidTakeBackStockOnly)
{
    save_order("V100", {{"WIDGET", "2", "box", "30"}, {"MANUAL", "3", "each", "4"}});
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(24));
    EXPECT_EQ(on_order("MANUAL", "MAIN", "A1"), Decimal(3));
    EXPECT_EQ(t.text("SELECT uom FROM Item_onhand_table WHERE itemcode = 'WIDGET'"), "pcs");
    EXPECT_EQ(t.decimal("SELECT quantity_open FROM PO_transaction_table WHERE itemcode = 'WIDGET'"), Decimal(2));
    EXPECT_EQ(t.decimal("SELECT total FROM PO_header_table"), Decimal("75.60"));
    EXPECT_TRUE(t.scalar("SELECT has_stock_item FROM PO_header_table").toBool());
    EXPECT_FALSE(t.scalar("SELECT stock_item_only FROM PO_header_table").toBool());
    expect_consistent();

    prompter.answer_yes();
    ASSERT_TRUE(window.execute(POform_po::Command::ClosePo));
    EXPECT_EQ(prompter.last(), "PO-26-00001 is closed.");
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(0));
    EXPECT_EQ(on_order("MANUAL", "MAIN", "A1"), Decimal(3));
    EXPECT_EQ(t.decimal("SELECT quantity_cancel FROM PO_transaction_table WHERE itemcode = 'WIDGET'"), Decimal(2));
    EXPECT_EQ(window.field("fully_received"), "1");
    EXPECT_FALSE(window.execute(POform_po::Command::ClosePo));
    EXPECT_EQ(prompter.last(), "Goods was fully received.");
    expect_consistent();

    save_order("V100", {{"WIDGET", "1", "box", "30"}, {"MANUAL", "1", "each", "4"}});
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00002 complete");
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(12));
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.last(), "PO-26-00002 is void.");
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(0));
    EXPECT_EQ(on_order("MANUAL", "MAIN", "A1"), Decimal(4));
    EXPECT_FALSE(window.execute(CommandId::Preview));
    EXPECT_EQ(prompter.last(), "PO was void.");
    expect_consistent();
}

TEST_F(OrderWindow, FutureOrderCountsNothingUntilActivated)
{
    start_order("V100", {{"WIDGET", "3", "box", "30"}});
    window.type_into("future_po", "1");
    window.execute(CommandId::Save);
    EXPECT_EQ(prompter.last(), "please specify activate date for future PO");
    window.type_into("activate_date", "01/04/2026");
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(t.count("Item_onhand_table WHERE itemcode = 'WIDGET'"), 0);
    EXPECT_FALSE(window.execute(POform_po::Command::ReceivingGoods));
    EXPECT_EQ(prompter.last(), "This is a future PO. Activate it before proceeding");
    expect_consistent();

    ASSERT_TRUE(window.execute(POform_po::Command::ActivateThisFuturePo));
    EXPECT_EQ(prompter.last(), "PO PO-26-00001 is activated.");
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(36));
    EXPECT_FALSE(window.execute(POform_po::Command::ActivateThisFuturePo));
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(36));
    expect_consistent();

    QStringList notified;
    QObject::connect(&window, &WindowModel::NotifyClients, [&](const QString& formx) { notified << formx; });
    ASSERT_TRUE(window.execute(POform_po::Command::ReceivingGoods));
    EXPECT_EQ(notified, QStringList{"PO Receive Goods"});
}

TEST_F(OrderWindow, EditKeepsReceivedQuantitiesAndRefusesOrderingLessThanReceived)
{
    save_order("V100", {{"WIDGET", "10", "box", "30"}});
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");
    // A receipt of 4 boxes, as a receipt's save records it on the order and the on-order stock.
    testing::received_on_order(t.db(), "1po-1", 1, "4", "box");
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));
    expect_consistent();

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    window.lines().type_cell(0, "quantity order", "12");
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Update PO no. PO-26-00001 complete");
    EXPECT_EQ(t.decimal("SELECT quantity_received FROM PO_transaction_table"), Decimal(4));
    EXPECT_EQ(t.decimal("SELECT quantity_open FROM PO_transaction_table"), Decimal(8));
    EXPECT_EQ(t.text("SELECT uom_received FROM PO_transaction_table"), "box");
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(96));
    expect_consistent();

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    window.lines().set_current(0, 0);
    EXPECT_FALSE(window.execute(CommandId::DeleteLine));
    EXPECT_EQ(prompter.last(), "Cannot delete item that has been receiving goods.");
    window.lines().type_cell(0, "quantity order", "3");
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "quantity order cannot less than quantity received + quantity canceled.\n"
                               "You have received 4 box of WIDGET");
    EXPECT_EQ(t.decimal("SELECT quantity FROM PO_transaction_table"), Decimal(12));
    prompter.answer_no();
    window.execute(CommandId::EditMode);
    prompter.answer_yes();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.last(), "Goods was received. Can not void this PO.");
    expect_consistent();
}

TEST_F(OrderWindow, FullTakeOverClosesTheRequisitionAndVoidReopensIt)
{
    const QString key = requisition();
    ASSERT_TRUE(window.execute(CommandId::New));
    window.set_field("requisition_key", key);
    window.fill_lines_from_requisition();
    window.set_field("requisition_key", QString());
    EXPECT_EQ(window.field("vendor_no"), "V100");
    EXPECT_EQ(window.lines().cell(0, "PR no"), "PR-26-00001");
    EXPECT_EQ(window.lines().cell(1, "PR item no"), "2");
    EXPECT_EQ(window.field("total"), "120.00");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");
    EXPECT_EQ(t.count("PR_transaction_table WHERE closed = TRUE"), 2);
    EXPECT_TRUE(t.scalar("SELECT closed FROM PR_header_table").toBool());
    EXPECT_EQ(t.text("SELECT tax_authority1 FROM PO_transaction_table WHERE itemno = 1"), "STATE");
    EXPECT_EQ(t.decimal("SELECT tax_amount1 FROM PO_transaction_table WHERE itemno = 1"), Decimal(5));
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(60));
    expect_consistent();

    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void));
    EXPECT_EQ(t.count("PR_transaction_table WHERE closed = FALSE"), 2);
    EXPECT_FALSE(t.scalar("SELECT closed FROM PR_header_table").toBool());
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(0));
    expect_consistent();
}

TEST_F(OrderWindow, ANumberLongerThanThirtyCharactersAbortsTheSave)
{
    ASSERT_TRUE(t.db().execute("UPDATE Next_number_format_table SET prefix = ? WHERE doctype = 'po'",
                   {QString(22, u'P')}));
    save_order("V100", {{"WIDGET", "1", "box", "30"}});
    const QStringList messages = prompter.messages();
    ASSERT_GE(messages.size(), 2);
    EXPECT_EQ(messages[messages.size() - 2],
              "Error : document no. is longer than 30 characters. " + QString(22, u'P') + "-26-00001");
    EXPECT_EQ(messages.last(), "Add new PO failed.");
    EXPECT_EQ(window.field("docno"), "** New **");
    EXPECT_EQ(t.count("PO_header_table"), 0);
    EXPECT_EQ(t.count("Item_onhand_table WHERE itemcode = 'WIDGET'"), 0);
    EXPECT_EQ(t.scalar("SELECT fkeyno FROM Next_number_fkey_table WHERE doctype = 'po'").toLongLong(), 1);
}

TEST_F(OrderWindow, AFailureAnywhereInTheSaveLeavesNoTrace)
{
    const QString key = requisition();
    ASSERT_TRUE(window.execute(CommandId::New));
    window.set_field("requisition_key", key);
    window.fill_lines_from_requisition();
    const int row = window.lines().append_row();
    window.lines().type_cell(row, "item code", "MANUAL");
    window.lines().type_cell(row, "quantity order", "2");
    window.lines().type_cell(row, "unit cost", "4");
    bool saved = false;
    for (int statement = 1; statement < 200 && !saved; ++statement) {
        prompter.clear();
        t.db().fail_statement(statement);
        window.execute(CommandId::Save);
        t.db().fail_statement(0);
        // A failure after the commit (showing the saved order again) leaves the order saved.
        saved = prompter.messages().contains("Add new PO no. PO-26-00001 complete");
        if (saved)
            break;
        SCOPED_TRACE(statement);
        SCOPED_TRACE(prompter.messages().join(" | ").toStdString());
        EXPECT_EQ(t.count("PO_header_table"), 0);
        EXPECT_EQ(t.count("PO_transaction_table"), 0);
        EXPECT_EQ(t.count("Item_onhand_table WHERE po_quantity <> 0"), 0);
        EXPECT_EQ(t.count("PR_transaction_table WHERE closed = TRUE"), 0);
        EXPECT_EQ(t.scalar("SELECT fkeyno FROM Next_number_fkey_table WHERE doctype = 'po'").toLongLong(), 1);
        EXPECT_EQ(t.scalar("SELECT nextdocno FROM Docno_master_table WHERE doctype = 'po' AND fiscalyear = '2026'")
                      .toLongLong(),
                  1);
        EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    }
    t.db().fail_statement(0);
    ASSERT_TRUE(saved);
    EXPECT_EQ(on_order("MANUAL", "MAIN", "A1"), Decimal(2));
    EXPECT_EQ(t.count("PR_transaction_table WHERE closed = TRUE"), 2);
    expect_consistent();
}

// Vendor refill, an exempt charge, the stock pane and browsing work in the order window as in the
// requisition window.
TEST_F(OrderWindow, VendorRefillExemptChargeStockPaneAndBrowsing)
{
    start_order("V100", {{"WIDGET", "2", "box", "30"}, {"FREIGHT", "1", "", "15"}});
    EXPECT_EQ(window.lines().cell(1, "tax code"), "EXEMPT");
    // A stock item's line takes the item's own units only; a charge takes any unit.
    EXPECT_EQ(window.lines().type_cell(0, "uom", "kg"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "Invalid uom");
    EXPECT_EQ(window.lines().cell(0, "uom"), "box");
    EXPECT_EQ(window.lines().type_cell(0, "uom", "pcs"), Entry::Accepted);
    EXPECT_EQ(window.lines().type_cell(0, "uom", "box"), Entry::Accepted);
    EXPECT_EQ(window.lines().type_cell(1, "uom", "kg"), Entry::Accepted);
    EXPECT_EQ(window.lines().type_cell(1, "uom", ""), Entry::Accepted);
    EXPECT_EQ(window.lines().cell(1, "account"), "5200");
    // An unknown vendor is refused and the chosen one stays.
    EXPECT_EQ(window.type_into("vendor_no", "V900"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "vendor is invalid.");
    EXPECT_EQ(window.field("vendor_no"), "V100");
    ASSERT_EQ(window.type_into("vendor_no", "V200"), Entry::Accepted);
    EXPECT_EQ(window.field("vendor_name"), "O'Brien Supply");
    EXPECT_EQ(window.field("payment_term"), "210");

    window.execute(CommandId::Save);
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");
    EXPECT_EQ(t.decimal("SELECT tax_amount FROM PO_transaction_table WHERE itemcode = 'FREIGHT'"), Decimal(0));
    EXPECT_EQ(t.text("SELECT COALESCE(tax_authority1, '') FROM PO_transaction_table WHERE itemcode = 'FREIGHT'"), "");

    // Only the item-master line has an on-hand row to show.
    ASSERT_TRUE(window.execute(CommandId::StockByItem));
    const Grid& by_item = *window.grid("grid_stock_item");
    ASSERT_EQ(by_item.row_count(), 1);
    EXPECT_EQ(by_item.row(0), QStringList({"WIDGET", "MAIN", "A1", "0", "0", "24"}));

    save_order("V100", {{"BOLT", "1", "box", "5"}});
    save_order("V100", {{"BOLT", "2", "box", "5"}});
    ASSERT_EQ(prompter.last(), "Add new PO no. PO-26-00003 complete");
    ASSERT_TRUE(t.db().execute("DELETE FROM PO_header_table WHERE fkey = '1po-2'"));
    ASSERT_TRUE(window.execute(CommandId::PreviousRecord));
    EXPECT_EQ(window.field("docno"), "PO-26-00001");
    ASSERT_TRUE(window.execute(CommandId::NextRecord));
    EXPECT_EQ(window.field("docno"), "PO-26-00003");
    ASSERT_TRUE(window.execute(CommandId::NextRecord)); // the last one stays
    EXPECT_EQ(window.field("docno"), "PO-26-00003");
    window.set_field("docno", "PO-26-00002");
    window.display_by_number();
    EXPECT_EQ(prompter.last(), "PO-26-00002 not found.");
}

} // namespace
} // namespace zelkor
