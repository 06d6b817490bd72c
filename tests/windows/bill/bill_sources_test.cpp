// What a bill takes from receipts and orders: the open lines and quantities it proposes, several
// receipts side by side, and the receipts and orders it refuses.
#include "tests/support/bill_window_fixture.h"

namespace zelkor {
namespace {

const QStringList Taken{"item no",     "item code",     "landed item", "quantity", "quantity open for bill",
                        "quantity billed", "unit cost", "extended cost", "tax amount", "receipt no",
                        "receipt item no", "landed item no", "po no",  "po item no"};

TEST_F(BillWindow, TakesAReceiptsOpenLinesLandedFirstProposingWhatIsStillOpen)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"MANUAL-OPS", "2", "each", "15"},
                                       {"BOLT-M8", "5", "box", "8"}});
    // The bolts were all cancelled: nothing of them is there to bill.
    const QString rc = receipt(po, {{1, "10"}, {2, "2"}, {3, "0", "5"}});
    // An earlier bill took 4 boxes of widgets.
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_transaction_table SET quantity_billed = 4, quantity_open_for_bill = 6,"
                               " billed = TRUE WHERE docno = ? AND itemno = 1",
                               {rc}));
    // Freight billed by the vendor with its goods; customs billed by the broker; insurance billed
    // apart with a payable of its own.
    landed_charge(rc, 1, "V1001", "25");
    landed_charge(rc, 2, "V3002", "40");
    landed_charge(rc, 3, "V1001", "12", "1ip-7");

    start("V1001");
    EXPECT_EQ(window.field("currency"), "USD");
    EXPECT_EQ(window.field("payment_term"), "30");
    EXPECT_EQ(window.field("due_date"), "14/04/2026");
    EXPECT_EQ(window.field("vendor_address"), "1200 Industrial Parkway");
    EXPECT_EQ(window.find_field("receipt_no")->choices.rows, std::vector<QStringList>{{rc}});
    ASSERT_EQ(window.type_into("receipt_no", rc), Entry::Accepted) << prompter.last().toStdString();

    EXPECT_EQ(rows(lines(), Taken),
              (QStringList{"1|FREIGHT|1|1|1|0|25.00|25.00|0.00|" + rc + "||1||",
                           "2|WIDGET-A||6|6|4|30.00|180.00|10.80|" + rc + "|1||" + po + "|1",
                           "3|MANUAL-OPS||2|2|0|15.00|30.00|1.80|" + rc + "|2||" + po + "|2"}));
    EXPECT_EQ(lines().cell(1, "quantity received"), "10");
    EXPECT_EQ(lines().cell(1, "unit cost received"), "30.00");
    EXPECT_EQ(lines().cell(1, "amount received"), "300.00");
    EXPECT_EQ(lines().cell(1, "tax amount received"), "18.00");
    EXPECT_EQ(lines().cell(1, "uom received"), "box");
    EXPECT_EQ(lines().cell(1, "account"), "1300");
    EXPECT_EQ(window.field("receipt_date"), "05/03/2026");
    EXPECT_EQ(window.field("subtotal"), "235.00");
    EXPECT_EQ(window.field("excluded_tax"), "12.60");
    EXPECT_EQ(window.field("net_amount"), "247.60");
    EXPECT_EQ(window.receipt_lines().row_count(), 3);
    EXPECT_EQ(window.grid("dbgrid_landed")->row_count(), 3) << "every landed charge of the receipt is shown";

    // A line taken away comes back from the receipt pane, once.
    lines().set_current(1, 0);
    ASSERT_TRUE(window.execute(CommandId::DeleteLine));
    EXPECT_EQ(window.field("subtotal"), "55.00");
    EXPECT_TRUE(window.activate_row(window.receipt_lines(), 1));
    EXPECT_FALSE(window.activate_row(window.receipt_lines(), 1));
    EXPECT_EQ(window.field("subtotal"), "235.00");
    EXPECT_EQ(lines().cell(2, "quantity"), "6");
    // The received unit, place and item stay the receipt's.
    EXPECT_EQ(type(2, "item code", "BOLT-M8"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "User cannot change item code of receipt/PO item.");
    EXPECT_EQ(type(2, "uom received", "pcs"), Entry::ReadOnly);
    EXPECT_EQ(type(2, "warehouse", "EAST"), Entry::ReadOnly);
}

TEST_F(BillWindow, SeveralReceiptsGoSideBySideAndOthersAreRefused)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"MANUAL-OPS", "4", "each", "15"}});
    const QString first = receipt(po, {{1, "4"}});
    const QString second = receipt(po, {{1, "6"}, {2, "4"}});
    const QString other = receipt(order("V1002", {{"PAINT-5L", "2", "box", "70"}}), {{1, "2"}});
    const QString euro = receipt(order("V1001", {{"MANUAL-OPS", "1", "each", "9"}}, "EUR"), {{1, "1"}});
    start("V1001");
    EXPECT_EQ(window.find_field("receipt_no")->choices.rows, (std::vector<QStringList>{{euro}, {second}, {first}}));

    // One receipt at a time: the next replaces it.
    ASSERT_EQ(window.type_into("receipt_no", first), Entry::Accepted);
    ASSERT_EQ(window.type_into("receipt_no", second), Entry::Accepted);
    EXPECT_EQ(rows(lines(), {"receipt no", "item code", "quantity"}),
              (QStringList{second + "|WIDGET-A|6", second + "|MANUAL-OPS|4"}));
    EXPECT_EQ(window.receipt_lines().row_count(), 2);

    // Several: each is added beside the others; the header names none.
    ASSERT_EQ(window.type_into("multi_receipt", "1"), Entry::Accepted);
    EXPECT_EQ(window.field("receipt_no"), "");
    ASSERT_EQ(window.type_into("receipt_no", first), Entry::Accepted);
    EXPECT_EQ(rows(lines(), {"item no", "receipt no", "item code", "quantity"}),
              (QStringList{"1|" + second + "|WIDGET-A|6", "2|" + second + "|MANUAL-OPS|4", "3|" + first + "|WIDGET-A|4"}));
    EXPECT_EQ(window.field("subtotal"), "360.00");

    auto refused = [&](const QString& number, const QStringList& said) {
        prompter.clear();
        EXPECT_EQ(window.type_into("receipt_no", number), Entry::Refused);
        EXPECT_EQ(prompter.messages(), said);
        EXPECT_EQ(lines().row_count(), 4) << "the bill keeps its lines";
    };
    refused(other, {"Receipt no " + other + " was not for V1001", "Please select from Receipt history window"});
    refused("RO-26-09999", {"Document not found."});
    refused(euro, {"Receipt " + euro + " is in EUR."});
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_header_table SET void = TRUE WHERE docno = ?", {euro}));
    refused(euro, {"Receipt was void."});
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_transaction_table SET fully_billed = TRUE WHERE docno = ?", {first}));
    refused(first, {"Receipt was fully billed."});
    // Lines of receipts are billed in the receipts' currency.
    prompter.clear();
    EXPECT_EQ(window.type_into("currency", "EUR"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "Receipt " + second + " is in USD.");

    // The receipt history lists the vendor's receipt lines, newest first; a double click takes a
    // receipt. Another vendor drops the lines of this one's documents.
    ASSERT_TRUE(window.execute(POform_invoice::Command::ReceiptHistory));
    Grid& history = *window.grid("dbgrid_rchistory");
    EXPECT_EQ(rows(history, {"receipt no", "receipt date", "item code", "quantity open for bill"}),
              (QStringList{second + "|Mar 05, 2026|WIDGET-A|6", second + "|Mar 05, 2026|MANUAL-OPS|4",
                           first + "|Mar 05, 2026|WIDGET-A|4"}));
    ASSERT_EQ(window.type_into("vendor_no", "V1002"), Entry::Accepted);
    EXPECT_EQ(rows(lines(), {"item code"}), QStringList{});
    EXPECT_EQ(rows(history, {"receipt no", "item code"}), QStringList{other + "|PAINT-5L"});
    ASSERT_TRUE(window.activate_row(history, 0));
    EXPECT_EQ(rows(lines(), {"receipt no", "item code", "quantity", "extended cost"}),
              QStringList{other + "|PAINT-5L|2|140.00"});

    // The vendor's address, of the vendor chosen last; the command toggles its pane.
    ASSERT_TRUE(window.execute(POform_invoice::Command::VendorAddress));
    EXPECT_TRUE(window.find_pane("address")->visible);
    EXPECT_TRUE(window.field("vendor_address").contains("77 Lake Street")) << window.field("vendor_address").toStdString();
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    EXPECT_TRUE(window.field("vendor_address").contains("1200 Industrial Parkway"));
    ASSERT_TRUE(window.execute(POform_invoice::Command::VendorAddress));
    EXPECT_FALSE(window.find_pane("address")->visible);
}

TEST_F(BillWindow, OrderLinesArePickedOneByOneAndStockWaitsForItsReceipt)
{
    const QString po = order("V1001", {{"MANUAL-OPS", "3", "each", "15"}, {"WIDGET-A", "2", "box", "30"},
                                       {"INSTALL", "1", "", "80", "5"}, {"WARRANTY-EXT", "1", "each", "50"}});
    ASSERT_TRUE(t.db().execute("UPDATE PO_transaction_table SET closed = TRUE WHERE docno = ? AND itemno = 4", {po}));
    ASSERT_TRUE(t.db().execute("UPDATE PO_transaction_table SET quantity_billed = 1, quantity_open_for_bill = 2"
                               " WHERE docno = ? AND itemno = 1",
                               {po}));
    const QString stock_only = order("V1001", {{"BOLT-M8", "3", "box", "8"}});
    const QString euro = order("V1001", {{"WARRANTY-EXT", "1", "each", "40"}}, "EUR");
    const QString other = order("V1002", {{"MANUAL-OPS", "1", "each", "15"}});

    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_EQ(window.type_into("po_no", po), Entry::Refused);
    EXPECT_EQ(prompter.last(), "please specify vendor no");
    window.set_field("vendor_no", "V0000"); // as a hand-off names it, unchecked
    EXPECT_EQ(window.type_into("po_no", po), Entry::Refused);
    EXPECT_EQ(prompter.last(), "vendor no is invalid.");
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    // Orders of stock items only are billed through their receipts.
    EXPECT_EQ(window.find_field("po_no")->choices.rows, (std::vector<QStringList>{{euro}, {po}}));
    EXPECT_NE(stock_only, po);
    EXPECT_EQ(window.type_into("po_no", euro), Entry::Accepted);
    EXPECT_EQ(prompter.last(), "PO " + euro + " is in EUR.");
    EXPECT_EQ(window.order_lines().row_count(), 0);
    EXPECT_EQ(window.type_into("po_no", other), Entry::Accepted);
    EXPECT_EQ(prompter.last(), "PO no " + other + " was not for V1001");

    ASSERT_EQ(window.type_into("po_no", po), Entry::Accepted);
    EXPECT_TRUE(window.find_pane("order")->visible);
    EXPECT_EQ(rows(window.order_lines(), {"item no", "item code", "quantity order", "quantity open for bill", "closed"}),
              (QStringList{"1|MANUAL-OPS|3|2|", "2|WIDGET-A|2|2|", "3|INSTALL|1|1|", "4|WARRANTY-EXT|1|1|1"}));
    EXPECT_FALSE(window.activate_row(window.order_lines(), 1));
    EXPECT_EQ(prompter.last(), "P/O Invoice is looking for stock item in P/O Receipt document.");
    EXPECT_FALSE(window.activate_row(window.order_lines(), 3));
    EXPECT_EQ(prompter.last(), "This item was closed");
    ASSERT_TRUE(window.activate_row(window.order_lines(), 0));
    ASSERT_TRUE(window.activate_row(window.order_lines(), 2));
    EXPECT_FALSE(window.activate_row(window.order_lines(), 0)) << "a line is billed once";
    EXPECT_EQ(rows(lines(), {"item no", "item code", "quantity", "uom received", "PO uom", "unit cost", "extended cost",
                             "tax amount", "account", "po no", "po item no", "receipt no"}),
              (QStringList{"1|MANUAL-OPS|2|each|each|15.00|30.00|1.80|6000|" + po + "|1|",
                           "2|INSTALL|1|||80.00|80.00|4.80|6000|" + po + "|3|"}));
    EXPECT_EQ(window.field("total"), "116.60");
    EXPECT_EQ(type(0, "item type", "4"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "User cannot change item code of receipt/PO item.");
    EXPECT_EQ(type(1, "uom received", "hour"), Entry::ReadOnly);
    EXPECT_EQ(type(0, "quantity", "1"), Entry::Accepted);
    EXPECT_EQ(lines().cell(0, "extended cost"), "15.00");
}

TEST_F(BillWindow, EnterBillOnAReceiptHandsItsOpenLinesToANewBill)
{
    const QString rc = receipt(order("V2001", {{"BOLT-M8", "5", "box", "8"}}, "EUR"), {{1, "5"}});
    POclass facade;
    connect(facade);
    facade.showform_POform_receipt(rc);
    ASSERT_TRUE(facade.frm_receipt()->execute(POform_receipt::Command::EnterBill));
    facade.showform_POform_invoice();
    facade.Invoice_this_receipt();

    POform_invoice& bill = *facade.frm_invoice();
    EXPECT_EQ(bill.mode(), WindowModel::Mode::New);
    EXPECT_EQ(bill.field("vendor_no"), "V2001");
    EXPECT_EQ(bill.field("vendor_name"), "Europa Komponenten GmbH");
    EXPECT_TRUE(bill.find_field("vendor_no")->read_only);
    EXPECT_EQ(bill.field("currency"), "EUR");
    EXPECT_EQ(bill.field("exchange_rate"), "1.1");
    EXPECT_EQ(rows(bill.lines(), {"receipt no", "item code", "quantity", "unit cost", "rate received", "tax code"}),
              QStringList{rc + "|BOLT-M8|5|8.00|1.1|VAT50"});
    EXPECT_EQ(bill.field("total"), "48.00");
    EXPECT_TRUE(bill.is_dirty());
    prompter.answer_no();
    facade.frm_invoice_Exit();
    EXPECT_EQ(prompter.last(), "Do you want to save new entry?");
}

} // namespace
} // namespace zelkor
