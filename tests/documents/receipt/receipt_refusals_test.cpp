// What a receipt refuses, before anything is written and under the lock of its save, and what
// its other commands hand to the host.
#include "tests/support/receipt_window_fixture.h"

#include "windows/print/active_report.h"

namespace zelkor {
namespace {

TEST_F(ReceiptWindow, SaveChecksRefuseInTheirOrderAndWriteNothing)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"INSTALL", "1", "", "80", "5"}});
    const QStringList untouched = t.rows("SELECT * FROM Docno_master_table ORDER BY doctype, fiscalyear");
    auto refused = [&](const QString& why) {
        prompter.clear();
        EXPECT_FALSE(window.execute(CommandId::Save));
        EXPECT_EQ(prompter.messages(), QStringList{why});
        EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    };
    ASSERT_TRUE(window.execute(CommandId::New));
    refused("Please specify vendor");
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    refused("No detail line");
    ASSERT_EQ(window.type_into("pono", po), Entry::Accepted);
    pick({0, 1});
    ASSERT_EQ(window.type_into("shipto", ""), Entry::Accepted);
    refused("please specify ship-to");
    ASSERT_EQ(window.type_into("shipto", "MAIN"), Entry::Accepted);
    ASSERT_EQ(window.type_into("fyear", "2027"), Entry::Accepted);
    refused("Fiscal period/year is out of working period.");
    ASSERT_EQ(window.type_into("fyear", "2026"), Entry::Accepted);
    // A stock line with a cost but nothing received; assets, supplies and services need no item
    // master (the service line is type "5").
    ASSERT_EQ(type(0, "quantity received", "0"), Entry::Accepted);
    ASSERT_EQ(type(0, "extended cost", "30"), Entry::Accepted);
    refused("WIDGET-A: quantity received is invalid.");
    ASSERT_EQ(type(0, "quantity received", "-1"), Entry::Accepted);
    refused("WIDGET-A: quantity received is invalid.");
    EXPECT_EQ(type(0, "quantity received", "1x"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "quantity received is invalid.");
    EXPECT_EQ(type(0, "quantity received", "1234567890"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "quantity received is too large.");
    // A stock item's line takes only the item's own units.
    ASSERT_EQ(type(0, "quantity received", "7"), Entry::Accepted);
    ASSERT_EQ(type(0, "unit cost", "2.5"), Entry::Accepted);
    ASSERT_EQ(type(0, "uom", "dozen"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "Invalid uom");
    ASSERT_TRUE(t.db().execute("DELETE FROM Account_Parameters_table WHERE parameter_name = 'AP suspense account'"));
    ASSERT_EQ(type(0, "uom", "pcs"), Entry::Accepted);
    refused("no AP suspense account");
    EXPECT_EQ(t.count("PO_receipt_header_table"), 0);
    EXPECT_EQ(t.count("GL_header_table WHERE Source = 'PO-RECEIPT'"), 0);
    EXPECT_EQ(t.rows("SELECT * FROM Docno_master_table ORDER BY doctype, fiscalyear"), untouched);

    // Seven pieces of a box order: the order counts them in boxes, to six decimals.
    ASSERT_TRUE(t.db().execute("INSERT INTO Account_Parameters_table (module, parameter_name, \"default\", accno)"
                               " VALUES ('AP', 'AP suspense account', TRUE, '2050')"));
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(order_line(po, 1), "9.416667/0.583333/0");
    EXPECT_EQ(on_hand("WIDGET-A", "MAIN", "A-01"), "247 629.50");
    expect_consistent();
}

TEST_F(ReceiptWindow, QuantitiesReachTheOrderInItsUnitOrNotAtAll)
{
    // The manual is ordered in boxes of ten; a dozen reaches a box through the stock unit.
    ASSERT_TRUE(t.db().execute("INSERT INTO UOM_conversion_table (itemcode, uom_from, uom_to, quantity_from, quantity_to)"
                               " VALUES ('MANUAL-OPS', 'box', 'each', 1, 10), ('*', 'dozen', 'each', 1, 12)"));
    const QString po = order("V1001", {{"MANUAL-OPS", "2", "box", "150"}, {"INSTALL", "2", "hour", "80", "5"}});
    start("V1001", po);
    pick({0, 1});
    ASSERT_EQ(type(0, "uom", "dozen"), Entry::Accepted);
    prompter.answer_no();
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Are you sure to receive MANUAL-OPS more than quantity open (2 box)?");
    // Nothing links an each to an hour of a service: the order could not count it.
    ASSERT_EQ(type(0, "uom", "box"), Entry::Accepted);
    ASSERT_EQ(type(1, "uom", "each"), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "INSTALL has no conversion factor for hour");
    EXPECT_EQ(t.count("PO_receipt_header_table"), 0);
}

TEST_F(ReceiptWindow, ANumberLongerThanThirtyCharactersTakesNothing)
{
    ASSERT_TRUE(t.db().execute("UPDATE Next_number_format_table SET prefix = 'GOODS-RECEIVED-FROM-VE' WHERE doctype = 'ro'"));
    const QString po = order("V1001", {{"WIDGET-A", "1", "box", "30"}});
    start("V1001", po);
    pick({0});
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().mid(prompter.messages().size() - 2),
              (QStringList{"Error : document no. is longer than 30 characters. GOODS-RECEIVED-FROM-VE-26-00001",
                           "Add new receipt failed"}));
    EXPECT_EQ(window.field("docno"), NewDocumentNumber);
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_EQ(lines().cell(0, "item code"), "WIDGET-A");
    EXPECT_EQ(t.count("PO_receipt_header_table"), 0);
    EXPECT_EQ(t.decimal("SELECT nextdocno FROM Docno_master_table WHERE doctype = 'ro' AND fiscalyear = '2026'"), Decimal(1));
    EXPECT_EQ(open_quantity(po, 1), Decimal(1));
}

TEST_F(ReceiptWindow, VoidAndEditAreRefusedUnderTheReceiptsLock)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    ASSERT_EQ(receive_all("V1001", po), "RO-26-00001");
    auto void_says = [&](const QString& why) {
        prompter.clear();
        prompter.answer_yes();
        EXPECT_FALSE(window.execute(CommandId::Void));
        EXPECT_EQ(prompter.messages(), (QStringList{why, "Void receipt failed"}));
        EXPECT_EQ(t.count("PO_receipt_header_table WHERE void = FALSE"), 1);
    };
    const auto set = [&](const QString& assignment) {
        ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_header_table SET " + assignment));
    };

    // A landed bill spreads its charges over the receipt's goods.
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_invoice_header_table (company, fkey, doctype, docno, vendor_no, receipt_no,"
                               " void) VALUES (1, '1ld-1', 'ld', 'LD-26-00001', 'V3002', 'RO-26-00001', FALSE)"));
    void_says("Receipt RO-26-00001 is covered by landed bill LD-26-00001. Void the landed bill first.");
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    ASSERT_EQ(type(0, "quantity received", "9"), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().mid(prompter.messages().size() - 2),
              (QStringList{"Receipt RO-26-00001 is covered by landed bill LD-26-00001. Void the landed bill first.",
                           "update failed"}));
    prompter.answer_no();
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET void = TRUE"));

    // Keys of documents that are gone name them (a payable by its bill number); a period closed
    // since cannot take the reversal; a bill entered meanwhile.
    const QString entry = key_of("RO-26-00001", "GLFKEY");
    const QString document = key_of("RO-26-00001", "icfkey");
    set("GLFKEY = '1gl-999'");
    void_says("1gl-999 journal entry does not exist");
    set("GLFKEY = '" + entry + "', icfkey = '1ir-999'");
    void_says("1ir-999 document does not exist");
    set("icfkey = '" + document + "', apfkey = '1ip-7', vendor_invoice_no = 'INV-7'");
    void_says("Invoice INV-7 not found in Account Payable");
    set("apfkey = NULL, vendor_invoice_no = NULL");
    ASSERT_TRUE(t.db().execute("UPDATE COA_config_table SET working_start_period = 4"));
    void_says("Fiscal period/year is out of working period.");
    ASSERT_TRUE(t.db().execute("UPDATE COA_config_table SET working_start_period = 1"));
    set("billed = TRUE");
    void_says("RO-26-00001 was billed. You need to void bill first.");
    set("billed = FALSE");
    expect_consistent();

    // Refreshed, the void goes through.
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void));
    expect_consistent();
}

TEST_F(ReceiptWindow, APostingTakesThePeriodChosenOnTheHeaderAndItsReversalToo)
{
    const QString po = order("V1001", {{"BOLT-M8", "1", "box", "12"}});
    start("V1001", po);
    pick({0});
    ASSERT_EQ(window.type_into("period", "2"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save));
    const QString entry = key_of("RO-26-00001", "GLFKEY");
    EXPECT_EQ(t.text("SELECT period || ' ' || gldate FROM GL_header_table WHERE fkey = ?", {entry}), "2 2026-03-15");
    EXPECT_EQ(t.text("SELECT period FROM IN_header_table WHERE source_docno = 'RO-26-00001'"), "2");
    EXPECT_EQ(t.decimal("SELECT period2 FROM Balance_period_table WHERE fyear = '2026' AND ledgertype = 'A'"
                        " AND accno = '1300'"),
              Decimal(12));
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void));
    EXPECT_EQ(t.count("GL_header_table WHERE Source = 'PO-RECEIPT' AND period = 2"), 2);
    EXPECT_EQ(t.decimal("SELECT period2 FROM Balance_period_table WHERE fyear = '2026' AND ledgertype = 'A'"
                        " AND accno = '1300'"),
              Decimal(0));
    expect_consistent();
}

TEST_F(ReceiptWindow, WithoutTheUpdateRightNothingIsWritten)
{
    const QString po = order("V1001", {{"BOLT-M8", "1", "box", "12"}});
    POform_receipt other;
    other.apply_settings(receipt_settings(t.db(), "JSMITH"));
    ScriptedPrompter said;
    other.set_prompter(&said);
    other.open();
    for (int command : {to_int(CommandId::New), to_int(CommandId::EditMode), to_int(CommandId::Void),
                        to_int(POform_receipt::Command::EnterBill), to_int(CommandId::Save)})
        EXPECT_FALSE(other.execute(command)) << command;
    EXPECT_FALSE(other.enter_new_mode());
    EXPECT_EQ(said.last(), NoUpdateRight);
    (void)po;
}

TEST_F(ReceiptWindow, CommandsHandTheReceiptAndItsDocumentsToTheHost)
{
    const QString po = order("V1001", {{"WIDGET-A", "2", "box", "30"}, {"BOLT-M8", "1", "box", "12"}});
    ASSERT_EQ(receive_all("V1001", po), "RO-26-00001");
    notifications.clear();
    ASSERT_TRUE(window.execute(CommandId::JournalRecord));
    ASSERT_TRUE(window.execute(POform_receipt::Command::IcRecord));
    ASSERT_TRUE(window.execute(POform_receipt::Command::PoRecord));
    ASSERT_TRUE(window.execute(POform_receipt::Command::EnterBill));
    ASSERT_TRUE(window.execute(CommandId::Preview));
    ASSERT_EQ(notifications.size(), 5u);
    EXPECT_EQ(notifications[0].formx + "|" + notifications[0].docnox, "G/L Ledger Review|" + key_of("RO-26-00001", "GLFKEY"));
    EXPECT_EQ(notifications[1].formx + "|" + notifications[1].docnox, "Inventory Receipts|" + key_of("RO-26-00001", "icfkey"));
    EXPECT_EQ(notifications[2].formx + "|" + notifications[2].docnox, "Purchase Order|" + po);
    EXPECT_EQ(notifications[3].formx + "|" + notifications[3].docnox, "Invoice This Receipt|RO-26-00001");
    EXPECT_EQ(notifications[4].formx, "ActiveReport");
    auto printed = run_active_report(t.db(), notifications[4].docnox, notifications[4].arg2);
    ASSERT_TRUE(printed) << printed.error().detail.toStdString();
    ASSERT_EQ(printed->size(), 2u);
    EXPECT_EQ(printed->front().text(u"vendor_name"), "Acme Industrial Supply");
    EXPECT_EQ(printed->back().text(u"itemcode"), "BOLT-M8");

    // Billed by another clerk since it was shown: the box is ticked and the bill refused.
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_header_table SET fully_billed = TRUE"));
    EXPECT_FALSE(window.execute(POform_receipt::Command::EnterBill));
    EXPECT_EQ(prompter.last(), "Receipt was fully billed.");
    EXPECT_EQ(window.field("billed"), "1");
    EXPECT_FALSE(window.execute(POform_receipt::Command::EnterBill));
    EXPECT_EQ(prompter.last(), "Receipt was fully invoiced.");

    // Browsing by number.
    prompter.clear();
    window.type_into("docno", "RO-26-09999");
    EXPECT_EQ(prompter.last(), "RO-26-09999 not found.");
    ASSERT_TRUE(window.execute(CommandId::LastRecord));
    EXPECT_EQ(window.field("docno"), "RO-26-00001");
    EXPECT_EQ(lines().row_count(), 2);
    EXPECT_EQ(window.field("total"), "76.32");
}

} // namespace
} // namespace zelkor
