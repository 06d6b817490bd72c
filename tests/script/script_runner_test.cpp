#include "script/script_line.h"

#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelkor;
using zelkor::script::split_line;

namespace {

struct ScriptRun {
    int status = -1;
    QStringList output;
};

/// Runs zelkor_po_script on the test's database with the given script text.
ScriptRun run_script(const zelkor::testing::TestDatabase& database, const QString& script,
                     const QStringList& options = {})
{
    QTemporaryDir folder;
    const QString path = folder.filePath("test.script");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(script.toUtf8());
    file.close();
    QProcess process;
    process.start(QStringLiteral(ZELKOR_PO_SCRIPT),
                  QStringList{"--db", database.location(), "--today", "2026-03-15"} + options + QStringList{path});
    EXPECT_TRUE(process.waitForFinished(60000));
    ScriptRun run;
    run.status = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    return run;
}

TEST(ScriptLine, SplitsQuotesEscapesAndComments)
{
    auto tokens = split_line(R"(cell 1 "item code" "say \"hi\" \\ now" # trailing words)");
    ASSERT_TRUE(tokens);
    ASSERT_EQ(tokens->size(), 4u);
    EXPECT_EQ((*tokens)[2].text, "item code");
    EXPECT_TRUE((*tokens)[2].quoted);
    EXPECT_EQ((*tokens)[3].text, R"(say "hi" \ now)");
    EXPECT_FALSE((*tokens)[0].quoted);
    EXPECT_TRUE(split_line("   # only a comment")->empty());
    EXPECT_FALSE(split_line(R"(expect "never closed)"));
}

TEST(ScriptRunner, RunsAWindowScriptEndToEnd)
{
    zelkor::testing::TestDatabase database;
    const ScriptRun run = run_script(database, R"(
# A clerk starts an order, changes their mind and closes the window.
open POform_po
command 105
set vendor_no V100
cell 1 "item code" WIDGET
expect-cell 1 "item code" WIDGET
answer no
command 105
expect-field vendor_no ""
command 100
expect-notify "Next App"
open POreport_pr_transaction pending
expect-field to_date 15/03/2026
expect-sql "SELECT vendor_no FROM Vendor_table WHERE vendor_no = 'V100'" V100
expect-sql "SELECT COUNT(*) FROM PO_header_table WHERE vendor_no = 'V100' AND docno = 'none'" 0.00
call frm_pr_transaction_Exit
)");
    EXPECT_EQ(run.status, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.contains("question: Do you want to save new entry? -> no"));
    EXPECT_EQ(run.output.count("notify: Next App |  | "), 2);
}

TEST(ScriptRunner, MaintainsTheMasterListsAndTheirRows)
{
    zelkor::testing::TestDatabase database;
    const ScriptRun run = run_script(database, R"(
open POform_misccharge
command 105
set itemcode DEMURRAGE
command 101
expect "please specify account"
set account 5200
set tax_code ST
set description "Port demurrage"
command 101
expect "Add new charged item complete"
command 106
select 2
cell 2 "description" "Freight in"
command 101
expect "Update complete"
expect-sql "SELECT Description FROM Vendor_miscellaneous_charge_table WHERE itemcode = 'FREIGHT'" "Freight in"
select 1
answer yes
command 119
expect "Delete item complete"
command 103
expect-notify "pdf viewer landscape"
command 102
expect-field Orientation Landscape
set Orientation Portrait
command 101
expect "Save format complete"
command 100
window POform_misccharge
command 100
expect-notify "Next App"
open POform_shipvia
command 105
set shipvia_id UPS
set description "UPS Air"
answer no
command 101
expect-sql "SELECT Description FROM Shipvia_table WHERE shipvia_id = 'UPS'" "UPS Ground"
open POform_vendor_group
pick dbgrid_group:1
expect-field vendor_group DOMESTIC
command 106
cell dbgrid_member:2 "vendor group" OVERSEAS
command 101
expect "update complete"
command 119
answer yes
remove dbgrid_member:1
expect-sql "SELECT COUNT(*) FROM Vendor_table WHERE vendor_no = 'V100' AND vendor_group IS NULL" 1
command 125
expect-sql "SELECT COUNT(*) FROM Vendor_group_table WHERE group_name = 'OVERSEAS'" 2
)");
    EXPECT_EQ(run.status, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.contains("question: Are you sure to delete DEMURRAGE -> yes"));
    EXPECT_TRUE(run.output.contains("question: Ship-via UPS exist. Do you want to replace it? -> no"));
    EXPECT_TRUE(run.output.contains("question: Are you sure to remove V100 from group DOMESTIC? -> yes"));
}

TEST(ScriptRunner, FiltersSortsTotalsAndPrintsAnInquiry)
{
    zelkor::testing::TestDatabase database;
    const ScriptRun run = run_script(database, R"script(
sql "INSERT INTO PO_header_table (company, fkey, doctype, docno, vendor_no, order_date, currency) VALUES (1, '1po-1', 'po', 'PO-26-00001', 'V100', '2026-02-01', 'USD'), (1, '1po-2', 'po', 'PO-26-00002', 'V200', '2026-02-02', 'USD')"
sql "INSERT INTO PO_transaction_table (company, fkey, itemno, docno, itemcode, itemtype, quantity, extended_cost) VALUES (1, '1po-1', 1, 'PO-26-00001', 'WIDGET', '1', 2, 25), (1, '1po-2', 1, 'PO-26-00002', 'BOLT', '1', 3, 40)"
open POreport_po_transaction pending
expect-field status Open
expect-cell 1 "document no" PO-26-00001
expect-cell dbgrid_total:1 "currency" USD
expect-cell dbgrid_total:1 "rows" 2
expect-cell dbgrid_total:1 "extended cost" 65.00
cell dbgrid_sort:1 "sort by" "extended cost"
cell dbgrid_sort:1 "order" Descending
command 104
select 1
command 1006
expect-notify "Purchase Order" PO-26-00002
command 103
expect-notify "pdf viewer landscape"
set vendor_no V999
expect "vendor is invalid."
)script");
    EXPECT_EQ(run.status, 0) << run.output.join('\n').toStdString();
}

TEST(ScriptRunner, ReportsFailedExpectationsAndMissingAnswers)
{
    zelkor::testing::TestDatabase database;
    const ScriptRun failed = run_script(database, "open POform_shipvia\nexpect-field shipvia_id ABC\n"
                                            "expect \"nothing was said\"\nwindow POform_shipvia\n");
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.output.contains(R"(FAILED line 2: field shipvia_id is "FEDEX", expected "ABC")"));
    EXPECT_TRUE(failed.output.contains(R"(FAILED line 3: expected message "nothing was said", none was shown)"));

    const ScriptRun unanswered = run_script(database, "open POform_po\ncommand 105\ncell 1 \"item code\" BOLT\ncommand 100\n"
                                                "expect-sql \"SELECT 1\" 1\n");
    EXPECT_EQ(unanswered.status, 1);
    EXPECT_TRUE(unanswered.output.contains("question: Do you want to save new entry? -> (no answer)"));
    EXPECT_EQ(unanswered.output.last(), "FAILED line 4: a question came with no fitting answer queued");

    const ScriptRun broken = run_script(database, "open POform_nothing\n");
    EXPECT_EQ(broken.status, 2);
    EXPECT_EQ(broken.output.last(), "ERROR line 1: unknown window POform_nothing");
}

TEST(ScriptRunner, ReceivesAnOrderByPickingItsLinesAndStaysConsistent)
{
    zelkor::testing::TestDatabase database(zelkor::testing::Contents::Demo);
    const ScriptRun run = run_script(database, R"(
# An order of widgets and bolts from Acme, received through "Receiving Goods".
open POform_po
command 105
set vendor_no V1001
cell 1 "item code" WIDGET-A
cell 1 "unit cost" 30
cell 1 "quantity order" 10
cell 2 "item code" BOLT-M8
cell 2 "unit cost" 12
cell 2 "quantity order" 5
command 101
expect "Add new PO no. PO-26-00001 complete"
command 1010
expect-notify "PO Receive Goods"
open POform_receipt
call PO_receive_Goods
expect-field pono PO-26-00001
pick dbgridpo:1
pick dbgridpo:2
expect-cell 1 "quantity received" 10
cell 2 "quantity received" 6
answer yes
command 101
expect "Add new Receipt no. RO-26-00001 complete"
expect-sql "SELECT quantity_open FROM PO_transaction_table WHERE docno = 'PO-26-00001' AND itemno = 2" 0
expect-sql "SELECT quantity FROM Item_onhand_table WHERE itemcode = 'BOLT-M8' AND location = 'A-02'" 900
command 113
expect-notify "G/L Ledger Review" 1gl-1 RO-26-00001
command 1006
expect-notify "Inventory Receipts" 1ir-1 RO-26-00001
check
answer yes
command 133
expect "Receipt RO-26-00001 is void."
check
)");
    EXPECT_EQ(run.status, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.contains("question: Are you sure to receive BOLT-M8 more than quantity open (5 box)? -> yes"))
        << run.output.join('\n').toStdString();
    EXPECT_EQ(run.output.count("consistent"), 2);
}

TEST(ScriptRunner, KeepsOrderTemplatesAndFillsDocumentsWithReorderSuggestions)
{
    zelkor::testing::TestDatabase database(zelkor::testing::Contents::Demo);
    const ScriptRun run = run_script(database, R"(
# An order kept as a template, the next order started from it.
open POform_po
command 105
set vendor_no V1001
set remark "Monthly widgets"
cell 1 "item code" WIDGET-A
cell 1 "unit cost" 2.60
cell 1 "quantity order" 10
command 101
expect "Add new PO no. PO-26-00001 complete"
answer "MONTHLY"
command 1007
expect "Add new template complete"
expect-sql "SELECT remark FROM PO_header_template_table WHERE docno = 'MONTHLY'" "Monthly widgets"
expect-sql "SELECT uom FROM PO_transaction_template_table WHERE docno = 'MONTHLY'" box
set template MONTHLY
expect-field docno "** New **"
expect-field vendor_no V1001
expect-cell 1 "quantity order" 10
command 101
expect "Add new PO no. PO-26-00002 complete"
# The template edited, copied under another name, and the copy deleted.
set template MONTHLY
command 1006
cell 1 "quantity order" 12
command 101
expect "Update template MONTHLY complete"
expect-sql "SELECT quantity FROM PO_transaction_template_table WHERE docno = 'MONTHLY'" 12
command 1018
set template WEEKLY
command 101
expect "Add new template WEEKLY complete."
expect-sql "SELECT COUNT(*) FROM PO_transaction_template_table WHERE docno = 'WEEKLY'" 1
answer yes
command 1019
expect "Template WEEKLY is deleted."
expect-sql "SELECT COUNT(*) FROM PO_header_template_table" 1
expect-field docno PO-26-00002
# Bolts are short at MAIN: 1,000 pieces proposed as ten boxes of a hundred, and ordered.
command 105
set vendor_no V2001
set shipto MAIN
command 1016
expect-cell 1 "item code" BOLT-M8
expect-cell 1 "quantity order" 10
expect-cell 1 "uom" box
expect-cell 1 "unit cost" 12.00
command 101
expect "Add new PO no. PO-26-00003 complete"
expect-sql "SELECT po_quantity FROM Item_onhand_table WHERE itemcode = 'BOLT-M8' AND location = 'A-02'" 1000
# The same suggestion requested from the preferred vendor.
open POform_pr
command 105
set shipto MAIN
command 1004
expect-cell 1 "preferred vendor" V2001
command 101
expect "Add new PR complete"
expect-sql "SELECT vendor_no FROM PR_transaction_table WHERE itemcode = 'BOLT-M8'" V2001
check
)");
    EXPECT_EQ(run.status, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.contains("question: Template Name -> MONTHLY")) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.contains("consistent"));
}

TEST(ScriptRunner, ReceivesWithTheVendorsBillAWaitingPrepaymentAndFreightBilledByAnotherVendor)
{
    zelkor::testing::TestDatabase database(zelkor::testing::Contents::Demo);
    const ScriptRun run = run_script(database, R"(
# Manuals from Northwind, who hold an advance of 150.00 (ADV-001) for this first order of the year.
open POform_po
command 105
set vendor_no V1003
cell 1 "item code" MANUAL-OPS
cell 1 "unit cost" 15
cell 1 "quantity order" 20
command 101
expect "Add new PO no. PO-26-00001 complete"
command 1010
expect-notify "PO Receive Goods"
open POform_receipt
call PO_receive_Goods
pick dbgridpo:1
# The vendor's bill comes with the goods; the advance pays part of it; Maple Leaf bills the freight.
set vendor_invoice_no NW-3001
set vendor_invoice_date 15/03/2026
set prepayment_no ADV-001
set prepayment 150
command 1005
cell dbgrid_landed:1 "vendor no" V3001
cell dbgrid_landed:1 "bill no" MLF-88
cell dbgrid_landed:1 "item code" FREIGHT
cell dbgrid_landed:1 "extended cost" 40
command 101
expect "Add new Receipt no. RO-26-00001 complete"
expect-sql "SELECT invoice_docno FROM PO_receipt_header_table WHERE docno = 'RO-26-00001'" VI-26-00001
expect-sql "SELECT SUM(open_amount) FROM AP_transaction_table WHERE vendor_no = 'V1003' AND void = FALSE AND doctype = 'ip'" 174
expect-sql "SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1003'" 174
expect-sql "SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V3001'" 40
expect-sql "SELECT COUNT(*) FROM Prepayment_waiting_PO_table WHERE prepayment_no = 'ADV-001'" 0
expect-sql "SELECT base_amount FROM Balance_table WHERE ledgertype = 'A' AND accno = '1450'" 0
command 1009
expect-notify "Bill Entry" 1ip-1 RO-26-00001
# Widgets from Acme, billed with the goods and paid at once by check.
open POform_po
command 105
set vendor_no V1001
cell 1 "item code" WIDGET-A
cell 1 "unit cost" 30
cell 1 "quantity order" 10
command 101
expect "Add new PO no. PO-26-00002 complete"
command 1010
expect-notify "PO Receive Goods"
open POform_receipt
call PO_receive_Goods
pick dbgridpo:1
set vendor_invoice_no AC-7001
set vendor_invoice_date 15/03/2026
set payby Check
set bank_code OPER
set check_no 501
set check_date 15/03/2026
command 101
expect "Add new Receipt no. RO-26-00002 complete"
expect-sql "SELECT COUNT(*) FROM AP_transaction_table WHERE vendor_no = 'V1001' AND paid = TRUE AND open_amount = 0" 1
expect-sql "SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'" 0
expect-sql "SELECT SUM(base_amount) FROM GL_transaction_table WHERE accno = '2050'" 0
check
)");
    EXPECT_EQ(run.status, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.output.count("consistent"), 1) << run.output.join('\n').toStdString();
}

TEST(ScriptRunner, EntersABillOnAReceiptPrintsItFollowsItsRecordsAndVoidsIt)
{
    zelkor::testing::TestDatabase database(zelkor::testing::Contents::Demo);
    const ScriptRun run = run_script(database, R"(
# Widgets and manuals from Acme, received, then billed from the receipt with Enter Bill.
open POform_po
command 105
set vendor_no V1001
cell 1 "item code" WIDGET-A
cell 1 "unit cost" 30
cell 1 "quantity order" 10
cell 2 "item code" MANUAL-OPS
cell 2 "unit cost" 15
cell 2 "quantity order" 2
command 101
expect "Add new PO no. PO-26-00001 complete"
command 1010
expect-notify "PO Receive Goods"
open POform_receipt
call PO_receive_Goods
pick dbgridpo:1
pick dbgridpo:2
command 101
expect "Add new Receipt no. RO-26-00001 complete"
command 1013
expect-notify "Invoice This Receipt" RO-26-00001
open POform_invoice
call Invoice_this_receipt
expect-field vendor_no V1001
expect-field receipt_no RO-26-00001
expect-cell 1 "item code" WIDGET-A
expect-cell 2 "extended cost" 30.00
set invoice_no ACME-9001
command 101
expect "Add new invoice VI-26-00001 complete"
expect-sql "SELECT COUNT(*) FROM PO_receipt_header_table WHERE docno = 'RO-26-00001' AND fully_billed = TRUE" 1
expect-sql "SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'" 349.80
command 103
expect-notify ActiveReport
command 113
expect-notify "G/L Ledger Review" 1gl-2 VI-26-00001
command 1008
expect-notify "Bill Entry" 1ip-1 VI-26-00001
command 1006
expect "No Inventory Adjustment created from this bill."
command 1010
expect-notify "Receipt Entry" RO-26-00001
check
answer yes
command 133
expect "Document no. VI-26-00001 is void."
expect-sql "SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'" 0
expect-sql "SELECT COUNT(*) FROM PO_receipt_header_table WHERE docno = 'RO-26-00001' AND fully_billed = TRUE" 0
check
)");
    EXPECT_EQ(run.status, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.output.count("consistent"), 2) << run.output.join('\n').toStdString();
}

TEST(ScriptRunner, SpreadsFreightFromAnotherVendorOverAReceiptAndTakesItBackOnVoid)
{
    zelkor::testing::TestDatabase database(zelkor::testing::Contents::Demo);
    const ScriptRun run = run_script(database, R"(
# Widgets from Acme, received whole.
open POform_po
command 105
set vendor_no V1001
cell 1 "item code" WIDGET-A
cell 1 "unit cost" 30
cell 1 "quantity order" 10
command 101
expect "Add new PO no. PO-26-00001 complete"
command 1010
expect-notify "PO Receive Goods"
open POform_receipt
call PO_receive_Goods
pick dbgridpo:1
command 101
expect "Add new Receipt no. RO-26-00001 complete"
expect-sql "SELECT amount FROM FIFO_table WHERE receipt_no = 'RO-26-00001'" 300
# The customs broker bills the freight on those widgets.
open POform_landed
command 105
set vendor_no V3002
set invoice_no CB-77
cell 1 "item code" FREIGHT
cell 1 "tax code" EXEMPT
cell 1 "unit cost" 60
cell 1 "unit of measurement" each
set primary_vendor V1001
set receipt_no RO-26-00001
command 101
expect "Add new landed bill LD-26-00001 complete"
expect-sql "SELECT amount FROM FIFO_table WHERE receipt_no = 'RO-26-00001'" 360
expect-sql "SELECT unitcost FROM FIFO_table WHERE receipt_no = 'RO-26-00001'" 3
expect-sql "SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V3002'" 60
command 1006
expect-notify "Inventory Adjustments" 1ij-1 LD-26-00001
command 113
expect-notify "G/L Ledger Review"
command 103
expect-notify "ActiveReport"
command 106
cell 1 "unit cost" 72
command 101
expect "Update bill LD-26-00001 complete"
expect-sql "SELECT amount FROM FIFO_table WHERE receipt_no = 'RO-26-00001'" 372
check
answer yes
command 133
expect "Document no. LD-26-00001 is void."
expect-sql "SELECT amount FROM FIFO_table WHERE receipt_no = 'RO-26-00001'" 300
expect-sql "SELECT unitcost FROM FIFO_table WHERE receipt_no = 'RO-26-00001'" 2.5
expect-sql "SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V3002'" 0
check
)");
    EXPECT_EQ(run.status, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.output.count("consistent"), 2) << run.output.join('\n').toStdString();
}

TEST(ScriptRunner, CheckFindsTheDemoCompanyConsistentAndNamesAViolation)
{
    zelkor::testing::TestDatabase database(zelkor::testing::Contents::Empty);
    const ScriptRun run = run_script(database,
                                     "check\n"
                                     "sql \"UPDATE Item_onhand_table SET Value = 600 WHERE itemcode = 'WIDGET-A'\"\n"
                                     "check\n",
                                     {"--init", "--demo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output,
              (QStringList{"consistent", "1 row(s)",
                           "FAILED line 3: on-hand stock matches its layers: item WIDGET-A in warehouse MAIN has 240 worth "
                           "600.00 on hand, its layers 240 worth 612.00",
                           "FAILED line 3: stock accounts hold their items' value: Inventory account 1300 is 12.00 above "
                           "the value of stock on hand (1,364.00 against 1,352.00): BOLT-M8 MAIN 32.00, PAINT-5L MAIN "
                           "720.00, WIDGET-A MAIN 600.00"}));
}

} // namespace
