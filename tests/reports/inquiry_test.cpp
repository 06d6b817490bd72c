// The transaction inquiries: which lines each filter keeps, the status lists, the orders, the
// pages, the totals, and the filters that refuse what is typed.
#include "report_fixture.h"
#include "reports/POreport_invoice_transaction.h"
#include "reports/POreport_po_transaction.h"
#include "reports/POreport_pr_transaction.h"
#include "reports/POreport_receipt_transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace zelkor::testing {
namespace {

using OrderInquiry = ReportTest<POreport_po_transaction>;

TEST_F(OrderInquiry, EachFilterKeepsItsLines)
{
    const QStringList all{"PO-26-00001", "PO-26-00001", "PO-26-00001", "PO-26-00002", "PO-26-00003"};
    EXPECT_EQ(find({}), all) << "lines of an undated order stay out without the date box";
    EXPECT_EQ(find({{"prno", "PR-26-00001"}, {"vendor_no", "V200"}, {"status", "Void"}}), QStringList{"PO-26-00001"})
        << "a requisition number alone finds the line issued from it, whatever the other filters say";
    EXPECT_EQ(find({{"date_range", "1"}, {"from_date", "15/01/2026"}, {"to_date", "31/03/2026"}}), all)
        << "the first and the last day are in";
    EXPECT_EQ(find({{"date_range", "1"}, {"from_date", "16/01/2026"}, {"to_date", "30/03/2026"}}), QStringList{"PO-26-00002"});
    EXPECT_EQ(find({{"group_name", "DOMESTIC"}, {"item_group", "FAST"}}, "item code"), (QStringList{"WIDGET", "WIDGET"}));
    EXPECT_EQ(find({{"group_name", "OVERSEAS"}, {"vendor_no", "V100"}}, "vendor no"), QStringList{"V300"})
        << "a vendor group takes the place of the vendor";
    EXPECT_EQ(find({{"category", "HARDWARE"}, {"item_from", "MANUAL"}}, "item code"), (QStringList{"WIDGET", "BOLT", "WIDGET"}));
    EXPECT_EQ(find({{"item_from", "BOLT"}}, "item code"), QStringList{"BOLT"}) << "a from code alone is one code";
    EXPECT_EQ(find({{"item_to", "BOLT"}}).size(), 5) << "a to code alone filters nothing";
    EXPECT_EQ(find({{"item_from", "BOLT"}, {"item_to", "MANUAL"}}, "item code"), (QStringList{"BOLT", "MANUAL", "GLUE"}));
    EXPECT_EQ(find({{"description", "%"}}, "item code"), QStringList{"MANUAL"}) << "% is a character, not a wildcard";
    EXPECT_EQ(find({{"description", "_m"}}, "item code"), QStringList{"MANUAL"}) << "_ is a character, not a wildcard";
    EXPECT_EQ(find({{"description", "o'BRIEN"}}, "item code"), QStringList{"GLUE"}) << "any case, quotes as typed";
    window->set_field("date_range", "1");
    window->set_field("from_date", "31/02/2026");
    EXPECT_FALSE(window->run_inquiry());
    EXPECT_EQ(prompter.last(), "Date is invalid (31/02/2026)");
    window->set_field("from_date", "");
    EXPECT_FALSE(window->run_inquiry()) << "a ticked box wants both dates";
}

TEST_F(OrderInquiry, StatusesSelectByTheHeaderAndVoidShowsUnlessAStatusIsChosen)
{
    const std::vector<std::pair<QString, int>> statuses{
        {"", 5}, {"All", 5}, {"Open", 4}, {"Not been received", 1}, {"Partially received", 3}, {"Received", 1},
        {"Not been billed", 1}, {"Partially billed", 3}, {"Billed", 0}, {"Void", 1}};
    for (const auto& [status, rows] : statuses)
        EXPECT_EQ(find({{"status", status}}).size(), rows) << status.toStdString();
    find({});
    EXPECT_TRUE(window->results().row_struck_out(4)) << "the void order's line is struck through";
    EXPECT_FALSE(window->results().row_struck_out(0));
}

TEST_F(OrderInquiry, TotalsPerCurrencyLeaveVoidLinesOut)
{
    find({});
    EXPECT_EQ(window->selected_rows(), 5);
    EXPECT_EQ(total_row("USD"), (QStringList{"USD", "4", "175.00", "176.25", "6.01"}));
    EXPECT_EQ(total_row("EUR"), (QStringList{"EUR", "1", "200.00", "220.00", "20.00"}));
    EXPECT_EQ(window->results().cell(0, "unit cost"), "2.5000") << "the item's unit-cost decimals";
    EXPECT_EQ(window->results().cell(2, "unit cost"), "50.00");
    EXPECT_EQ(window->results().cell(1, "net cost"), "100.00") << "a price with tax has no tax to add";
    EXPECT_EQ(window->results().cell(0, "vendor name"), "Acme Industrial Supply");
    EXPECT_EQ(window->results().cell(0, "date"), "15/01/2026");
}

TEST_F(OrderInquiry, TypedInjectionFindsAndChangesNothing)
{
    const qint64 lines = t.count("PO_transaction_table");
    EXPECT_EQ(window->type_into("vendor_no", "V100' OR '1'='1"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "vendor is invalid.");
    EXPECT_EQ(window->field("vendor_no"), "");
    EXPECT_EQ(find({{"group_name", "x' OR '1'='1"}}), QStringList{});
    EXPECT_EQ(find({{"description", "'; DELETE FROM PO_transaction_table; --"}}), QStringList{});
    EXPECT_EQ(find({{"prno", "' OR 1=1 --"}}), QStringList{});
    EXPECT_EQ(t.count("PO_transaction_table"), lines);
}

TEST_F(OrderInquiry, PagesReadOneAfterAnotherAreTheWholeSortedResult)
{
    // 1,203 lines with some empty quantities, sorted by quantity (ties and NULLs included).
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_header_table (company, fkey, doctype, docno, vendor_no, order_date, currency)"
                               " VALUES (1, '1po-9', 'po', 'PO-26-00009', 'V100', '2026-03-01', 'USD')"));
    ASSERT_TRUE(t.db().execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1200)"
                               " INSERT INTO PO_transaction_table (company, fkey, itemno, docno, itemcode, itemtype, quantity)"
                               " SELECT 1, '1po-9', i, 'PO-26-00009', 'BOLT', '1', CASE WHEN i % 7 = 0 THEN NULL ELSE i % 13 END"
                               " FROM n"));
    window->set_field("vendor_no", "V100");
    Grid& sort = *window->grid("dbgrid_sort");
    ASSERT_EQ(sort.type_cell(0, "sort by", "quantity"), Entry::Accepted);
    ASSERT_EQ(sort.type_cell(0, "order", "Descending"), Entry::Accepted);
    ASSERT_TRUE(window->run_inquiry());
    EXPECT_EQ(window->results().row_count(), ReportWindow::PageRows);
    EXPECT_EQ(window->background_work(), "Counting the rows") << "the first page shows before the count";
    EXPECT_EQ(window->totals().row_count(), 0);
    while (window->results().fetch_more()) {
    }
    QStringList read;
    for (int row = 0; row < window->results().row_count(); ++row)
        read << window->results().cell(row, "document no") + '/' + window->results().cell(row, "item no");
    QStringList expected;
    auto rows = t.db().select("SELECT PO_transaction_table.docno, PO_transaction_table.itemno FROM PO_header_table"
                              " INNER JOIN PO_transaction_table ON PO_header_table.fkey = PO_transaction_table.fkey"
                              " WHERE PO_header_table.vendor_no = 'V100' AND PO_header_table.order_date IS NOT NULL"
                              " ORDER BY PO_transaction_table.quantity DESC, PO_transaction_table.docno,"
                              " PO_transaction_table.itemno, PO_transaction_table.fkey");
    ASSERT_TRUE(rows);
    for (const Row& row : *rows)
        expected << row.text(u"docno") + '/' + row.text(u"itemno");
    EXPECT_EQ(read.size(), 1203);
    EXPECT_EQ(read, expected);
    ASSERT_TRUE(window->wait_for_totals());
    EXPECT_EQ(window->selected_rows(), 1203);
    EXPECT_EQ(total_row("USD").value(1), "1203");
    EXPECT_EQ(window->background_work(), "");
    EXPECT_EQ(window->status(), "1203 of 1203 rows");
}

TEST_F(OrderInquiry, ACountTheClerkCancelsLeavesTheRowsAndARunAgainCountsInTheBackground)
{
    ASSERT_TRUE(window->run_inquiry());
    const QStringList before = total_row("USD");
    ASSERT_FALSE(before.isEmpty());
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_header_table (company, fkey, doctype, docno, vendor_no, order_date, currency)"
                               " VALUES (1, '1po-8', 'po', 'PO-26-00008', 'V100', '2026-03-01', 'USD')"));
    ASSERT_TRUE(t.db().execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600)"
                               " INSERT INTO PO_transaction_table (company, fkey, itemno, docno, itemcode, itemtype, quantity,"
                               " extended_cost) SELECT 1, '1po-8', i, 'PO-26-00008', 'BOLT', '1', 1, 2.5 FROM n"));
    ASSERT_TRUE(window->run_inquiry());
    window->cancel_background_work();
    EXPECT_EQ(window->background_work(), "");
    EXPECT_EQ(window->status(), "500 rows shown; counting was cancelled");
    QCoreApplication::processEvents();
    EXPECT_EQ(window->totals().row_count(), 0) << "a cancelled count never arrives";
    EXPECT_FALSE(window->wait_for_totals());
    EXPECT_EQ(window->results().row_count(), ReportWindow::PageRows);

    // Run again: the count comes in through the event loop while the clerk reads.
    ASSERT_TRUE(window->run_inquiry());
    for (QElapsedTimer waited; !window->background_work().isEmpty() && waited.elapsed() < 30000;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const QStringList after = total_row("USD");
    EXPECT_EQ(after.value(1).toInt(), before.value(1).toInt() + 600);
    const auto amount = [](QString shown) { return Decimal::parse(shown.remove(u',')).value_or(Decimal()); };
    EXPECT_EQ(amount(after.value(2)), amount(before.value(2)) + Decimal("1500"));
}

using RequisitionInquiry = ReportTest<POreport_pr_transaction>;

TEST_F(RequisitionInquiry, FiltersByRequestedUserAndOpenStatus)
{
    EXPECT_EQ(find({{"requested_user", "JSMITH"}}), QStringList{"PR-26-00001"});
    EXPECT_EQ(window->results().cell(0, "requested user"), "John Smith");
    EXPECT_EQ(find({{"status", "Open"}}), QStringList{"PR-26-00002"});
    EXPECT_EQ(find({{"status", "Closed"}}), QStringList{"PR-26-00001"}) << "issued as an order, it is closed";
    EXPECT_EQ(window->type_into("requested_user", "John Smith"), Entry::Refused) << "the list gives user ids";
    EXPECT_EQ(window->type_into("requested_user", "JSMITH"), Entry::Accepted);
}

using ReceiptInquiry = ReportTest<POreport_receipt_transaction>;

TEST_F(ReceiptInquiry, StatusesReadWhatBillsKeepAndLandedLinesSaySo)
{
    EXPECT_EQ(find({}), (QStringList{"RO-26-00001", "RO-26-00001", "RO-26-00002", "RO-26-00003", "RO-26-00003"}));
    EXPECT_EQ(column("landed item"), (QStringList{"", "", "", "* landed *", ""})) << "a receipt's landed lines come first";
    EXPECT_EQ(find({{"status", "Partially invoiced"}}).size(), 2);
    EXPECT_EQ(find({{"status", "Not been invoiced"}}).size(), 0);
    EXPECT_EQ(find({{"status", "Void"}}), (QStringList{"RO-26-00002", "RO-26-00003", "RO-26-00003"}));
    EXPECT_EQ(find({{"pono", "PO-26-00001"}}, "item no"), (QStringList{"1", "2", "1"}))
        << "every line received on the order, the void receipt's too";
}

using BillInquiry = ReportTest<POreport_invoice_transaction>;

TEST_F(BillInquiry, VoidBillsShowOnlyWhenAskedForAndTheShortcutKeepsTheHeader)
{
    EXPECT_EQ(find({}), QStringList{"VI-26-00001"});
    EXPECT_EQ(find({{"status", "All include void"}}), (QStringList{"VI-26-00001", "VI-26-00002", "VI-26-00002"}));
    EXPECT_EQ(find({{"status", "Void"}}), (QStringList{"VI-26-00002", "VI-26-00002"}));
    EXPECT_EQ(find({{"receipt_no", "RO-26-00001"}}, "AP document no"), QStringList{"IP-26-00001"});
    window->results().set_current(0, 0);
    ASSERT_TRUE(window->execute(int(ReportCommand::ApInformation)));
    EXPECT_EQ(notifications.back().formx, "A/P information");
    EXPECT_EQ(notifications.back().docnox, "IP-26-00001");
    ASSERT_TRUE(window->execute(int(ReportCommand::Origin)));
    EXPECT_EQ(notifications.back().formx, "P/O Bill Entry");
    EXPECT_EQ(notifications.back().docnox, "VI-26-00001");
}

} // namespace
} // namespace zelkor::testing
