// Receiving goods with the vendor's bill number: the bill made at receipt, its entry, its
// payable and how it is paid, the vendor's owing balance, and AP suspense cleared to the cent.
#include "tests/support/receipt_bill_fixture.h"

namespace zelkor {
namespace {

TEST_F(ReceiptBill, PaidLaterWithADiscountLeavesThePayableOpenAndClearsTheSuspense)
{
    // O'Brien bills on "2% 10, net 30"; both lines are taxed 6 % (ST).
    const QString po = order("V1002", {{"WIDGET-A", "10", "box", "30"}, {"PAINT-5L", "5", "box", "70"}});
    start("V1002", po);
    pick({0, 1});
    bill_with("OB-501");
    ASSERT_EQ(window.type_into("payment_term", "210"), Entry::Accepted);
    ASSERT_EQ(window.type_into("discount_amount", "9"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new Receipt no. RO-26-00001 complete");

    // The receipt, billed whole, with the keys of its bill and payable.
    EXPECT_EQ(t.text("SELECT invoice_docno || ' ' || vendor_invoice_no || ' ' || payby FROM PO_receipt_header_table"),
              "VI-26-00001 OB-501 Pay Later");
    EXPECT_EQ(t.count("PO_receipt_header_table WHERE billed = TRUE AND fully_billed = TRUE AND discount_amount = 9"), 1);
    EXPECT_EQ(t.count("PO_receipt_transaction_table WHERE billed = TRUE AND fully_billed = TRUE AND quantity_open_for_bill = 0"
                      " AND quantity_billed = quantity_received AND amount_billed = extended_cost AND vendor_invoice_no = 'OB-501'"),
              2);
    // The bill: its rows in the bill's format, its order lines billed.
    EXPECT_EQ(t.text("SELECT docno || ' ' || invoice_no || ' ' || receipt_no || ' ' || source_form || ' ' || payment_term"
                     " FROM PO_invoice_header_table"),
              "VI-26-00001 OB-501 RO-26-00001 P/O Bill Entry 210");
    EXPECT_EQ(t.count("PO_invoice_header_table WHERE subtotal = 650 AND excluded_tax = 39 AND total = 689"
                      " AND net_amount = 680 AND discount_amount = 9"),
              1);
    EXPECT_EQ(t.count("PO_invoice_transaction_table WHERE itemno = 1 AND itemcode = 'WIDGET-A' AND quantity = 10"
                      " AND receipt_no = 'RO-26-00001' AND receipt_itemno = 1 AND PONO = ? AND po_itemno = 1"
                      " AND tax_amount1 = 18 AND landed_item = FALSE",
                      {po}),
              1);
    EXPECT_EQ(t.count("PO_invoice_transaction_table WHERE itemno = 2 AND itemcode = 'PAINT-5L' AND quantity = 5"
                      " AND receipt_itemno = 2 AND po_itemno = 2 AND tax_amount = 21"),
              1);
    EXPECT_EQ(t.count("PO_transaction_table WHERE docno = ? AND billed = TRUE AND fully_billed = TRUE"
                      " AND quantity_open_for_bill = 0",
                      {po}),
              2);
    EXPECT_EQ(t.count("PO_header_table WHERE docno = ? AND billed = TRUE AND fully_billed = TRUE", {po}), 1);

    // The entry: AP suspense debited with what the receipt credited, the vendor credited with
    // the rest after the discount.
    EXPECT_EQ(journal(bill_key("GLFKEY")), (QStringList{"2050 -689.00 -689.00", "2000 680.00 680.00", "4100 9.00 9.00"}));
    EXPECT_EQ(suspense_of("V1002"), "0.00 0.00");
    // The payable: one line for the one tax code, due in 30 days, the discount taken off it.
    EXPECT_EQ(payable_lines(bill_key("apfkey")), QStringList{"1 ST 689.00 680.00 9.00 0.00 open"});
    EXPECT_EQ(t.text("SELECT docno || ' ' || Source || ' ' || source_docno FROM AP_header_table"),
              "IP-26-00001 PO-BILL VI-26-00001");
    EXPECT_EQ(t.scalar("SELECT due_date FROM AP_header_table").toDate(), QDate(2026, 4, 14));
    EXPECT_EQ(t.scalar("SELECT discount_date FROM AP_header_table").toDate(), QDate(2026, 3, 25));
    EXPECT_EQ(owing("V1002"), Decimal(680));
    expect_consistent();

    // Shown again: the bill's fields, its commands hand the payable and the bill to the host.
    window.set_field("docno", "RO-26-00001");
    window.display_by_number();
    EXPECT_EQ(window.field("vendor_invoice_no"), "OB-501");
    EXPECT_EQ(window.field("billed"), check_text(true));
    ASSERT_TRUE(window.execute(POform_receipt::Command::ApRecord));
    ASSERT_TRUE(window.execute(POform_receipt::Command::BillRecord));
    ASSERT_GE(notifications.size(), 2u);
    EXPECT_EQ(notifications[notifications.size() - 2].formx, "Bill Entry");
    EXPECT_EQ(notifications[notifications.size() - 2].docnox, bill_key("apfkey"));
    EXPECT_EQ(notifications.back().formx, "P/O Bill Entry");
    EXPECT_EQ(notifications.back().docnox, "VI-26-00001");
    // A billed receipt is neither edited nor voided here.
    EXPECT_FALSE(window.execute(CommandId::EditMode));
    EXPECT_EQ(prompter.last(), "RO-26-00001 was billed.\nYou can use P/O Bill Entry to make quantity/cost adjustment.\n"
                               "If you really want to edit in Receipt Entry, void the bill first.");
}

TEST_F(ReceiptBill, AForeignBillPaidByCheckCreditsTheBankWithWhatTheReceiptCredited)
{
    // Europa bills in EUR at 1.10; VAT 20 %, half recoverable, half expensed.
    const QString po = order("V2001", {{"BOLT-M8", "10", "box", "12.5"}, {"MANUAL-OPS", "3", "each", "4.15"}}, "EUR");
    start("V2001", po);
    pick({0, 1});
    bill_with("EK-2026-14");
    ASSERT_EQ(window.type_into("payby", "Check"), Entry::Accepted);
    ASSERT_EQ(window.type_into("bank_code", "EURO"), Entry::Accepted);
    ASSERT_EQ(window.type_into("check_no", "7001"), Entry::Accepted);
    ASSERT_EQ(window.type_into("check_date", "15/03/2026"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();

    // 125.00 + 12.45 EUR with 27.49 VAT; each part converted on its own.
    const QStringList entry = journal(bill_key("GLFKEY"));
    ASSERT_EQ(entry.size(), 2);
    EXPECT_TRUE(entry[0].startsWith("2050 -164.94 ")) << entry.join(" | ").toStdString();
    EXPECT_TRUE(entry[1].startsWith("1060 -164.94 ")) << entry.join(" | ").toStdString();
    EXPECT_EQ(entry[0].section(u' ', 2), entry[1].section(u' ', 2));
    EXPECT_EQ(suspense_of("V2001"), "0.00 0.00");
    EXPECT_EQ(t.count("GL_transaction_table WHERE fkey = ? AND ledgertype = 'F'", {bill_key("GLFKEY")}), 2);
    // Settled at once: nothing owed.
    EXPECT_EQ(payable_lines(bill_key("apfkey")), QStringList{"1 VAT50 164.94 0.00 0.00 -164.94 paid"});
    EXPECT_EQ(owing("V2001"), Decimal(0));
    EXPECT_EQ(t.text("SELECT bank_code || ' ' || check_no FROM PO_receipt_header_table"), "EURO 7001");
    expect_consistent();
}

TEST_F(ReceiptBill, ACardPaysTheBillAndTheDiscountComesOffTheCard)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    start("V1001", po);
    pick({0});
    bill_with("AC-1");
    ASSERT_EQ(window.type_into("payby", "VISA"), Entry::Accepted);
    ASSERT_EQ(window.type_into("discount_amount", "8"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(journal(bill_key("GLFKEY")), (QStringList{"2050 -318.00 -318.00", "2100 310.00 310.00", "4100 8.00 8.00"}));
    EXPECT_EQ(payable_lines(bill_key("apfkey")), QStringList{"1 ST 318.00 0.00 8.00 -310.00 paid"});
    EXPECT_EQ(owing("V1001"), Decimal(0));
    expect_consistent();
}

TEST_F(ReceiptBill, CashPaysTheBillFromTheCashAccountChosen)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    start("V1001", po);
    pick({0});
    bill_with("AC-5");
    ASSERT_EQ(window.type_into("payby", "Cash"), Entry::Accepted);
    ASSERT_EQ(window.type_into("cash_accno", "1000"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(journal(bill_key("GLFKEY")), (QStringList{"2050 -318.00 -318.00", "1000 -318.00 -318.00"}));
    EXPECT_EQ(payable_lines(bill_key("apfkey")), QStringList{"1 ST 318.00 0.00 0.00 -318.00 paid"});
    EXPECT_EQ(owing("V1001"), Decimal(0));
    EXPECT_EQ(t.text("SELECT cash_accno FROM PO_receipt_header_table"), "1000");
    EXPECT_EQ(t.text("SELECT cash_accno FROM PO_invoice_header_table"), "1000");
    expect_consistent();
}

TEST_F(ReceiptBill, APrepaymentPaidNowIsAppliedAndTheRestStaysOwed)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    start("V1001", po);
    pick({0});
    bill_with("AC-2");
    ASSERT_EQ(window.type_into("payby", "Cash"), Entry::Accepted);
    ASSERT_EQ(window.type_into("bank_code", "OPER"), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment", "100"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(journal(bill_key("GLFKEY")), (QStringList{"2050 -318.00 -318.00", "2000 218.00 218.00", "1050 -100.00 -100.00"}));
    EXPECT_EQ(payable_lines(bill_key("apfkey")), QStringList{"1 ST 318.00 218.00 0.00 -100.00 open"});
    EXPECT_EQ(owing("V1001"), Decimal(218));
    EXPECT_EQ(t.count("Payment_header_table WHERE docno = 'PP-26-00001' AND payment_amount = 100 AND bank_accno = 'OPER'"
                      " AND po_no = ? AND billed = TRUE",
                      {po}),
              1);
    EXPECT_EQ(t.text("SELECT ap_docno FROM Payment_transaction_table"), "IP-26-00001");
    EXPECT_EQ(t.count("PO_receipt_header_table WHERE prepayment = 100 AND paypreby = 'Cash'"), 1);
    EXPECT_EQ(t.count("PO_invoice_header_table WHERE prepayment = 100 AND net_amount = 218"), 1);
    expect_consistent();
}

TEST_F(ReceiptBill, AWaitingPrepaymentIsAppliedAndOthersAreShown)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    const QString other = order("V1001", {{"BOLT-M8", "20", "box", "12"}});
    add_waiting_prepayment("PP-HOST-1", po, "150");
    add_waiting_prepayment("PP-HOST-2", other, "40");
    start("V1001", po);
    pick({0});
    bill_with("AC-3");
    ASSERT_EQ(window.type_into("prepayment_no", "PP-HOST-1"), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment", "150"), Entry::Accepted);
    // Taken from a prepayment made already: no pay-by is needed.
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(journal(bill_key("GLFKEY")), (QStringList{"2050 -318.00 -318.00", "2000 168.00 168.00", "1450 -150.00 -150.00"}));
    EXPECT_EQ(payable_lines(bill_key("apfkey")), QStringList{"1 ST 318.00 168.00 0.00 -150.00 open"});
    EXPECT_EQ(owing("V1001"), Decimal(168));
    EXPECT_EQ(t.count("Prepayment_waiting_PO_table WHERE prepayment_no = 'PP-HOST-1'"), 0);
    EXPECT_EQ(t.count("Payment_header_table WHERE docno = 'PP-HOST-1' AND billed = TRUE"), 1);
    EXPECT_EQ(t.text("SELECT ap_docno FROM Payment_transaction_table WHERE docno = 'PP-HOST-1'"), "IP-26-00001");
    expect_consistent();

    // Used once; a receipt of the other order hears of the one waiting for it.
    start("V1001", other);
    pick({0});
    bill_with("AC-4");
    ASSERT_EQ(window.type_into("prepayment_no", "PP-HOST-1"), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment", "150"), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().mid(prompter.messages().size() - 2),
              (QStringList{"Prepayment is invalid.", "Add new receipt failed"}));
    ASSERT_EQ(window.type_into("prepayment_no", ""), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment", ""), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_TRUE(prompter.messages().contains("Prepayment waiting for this PO:\nPP-HOST-2  40.00  PO " + other));
    expect_consistent();
}

TEST_F(ReceiptBill, TheBillsChecksComeBeforeAnythingIsWritten)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    add_waiting_prepayment("PP-HOST-1", po, "150");
    start("V1001", po);
    pick({0});
    auto refused = [&](const QString& why) {
        prompter.clear();
        EXPECT_FALSE(window.execute(CommandId::Save));
        EXPECT_EQ(prompter.messages().value(0), why);
    };
    ASSERT_EQ(window.type_into("vendor_invoice_no", "AC-9"), Entry::Accepted);
    refused("please specify Bill date");
    ASSERT_EQ(window.type_into("vendor_invoice_date", "15/03/2026"), Entry::Accepted);
    window.set_field("payment_term", "");
    refused("Please specify Payment term");
    ASSERT_EQ(window.type_into("payment_term", "30"), Entry::Accepted);
    ASSERT_EQ(window.type_into("payby", "Cash"), Entry::Accepted);
    refused("please specify cash account or bank code");
    ASSERT_EQ(window.type_into("payby", "Check"), Entry::Accepted);
    refused("please specify bank code");
    ASSERT_EQ(window.type_into("bank_code", "OPER"), Entry::Accepted);
    refused("please specify check number");
    ASSERT_EQ(window.type_into("check_no", "12"), Entry::Accepted);
    refused("please specify check date");
    ASSERT_EQ(window.type_into("payby", "Pay Later"), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment", "50"), Entry::Accepted);
    refused("please specify Pay-by for Prepayment");
    ASSERT_EQ(window.type_into("prepayment", "400"), Entry::Accepted);
    ASSERT_EQ(window.type_into("payby", "VISA"), Entry::Accepted);
    refused("Prepayment is invalid.");
    ASSERT_EQ(window.type_into("prepayment", ""), Entry::Accepted);
    ASSERT_EQ(window.type_into("discount_amount", "318.01"), Entry::Accepted);
    refused("Term discount is invalid.");
    ASSERT_EQ(window.type_into("discount_amount", ""), Entry::Accepted);
    ASSERT_EQ(window.type_into("vendor_invoice_no", ""), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment", "10"), Entry::Accepted);
    refused("please specify invoice no for prepayment.");
    ASSERT_EQ(window.type_into("prepayment", ""), Entry::Accepted);
    // A landed charge needs the bill at the header.
    show_landed();
    type_landed(0, {{"vendor no", "V3002"}, {"bill no", "GLC-1"}, {"item code", "DUTY"}, {"extended cost", "45"}});
    refused("Please specify bill number (at header) for this receipt.\n"
            "If there is no bill for receiving items, landed cost bill must be entered by Landed Cost Entry.");
    EXPECT_EQ(t.count("PO_receipt_header_table"), 0);
    EXPECT_EQ(t.count("PO_invoice_header_table"), 0);
    EXPECT_EQ(t.count("AP_header_table"), 0);

    // A bill number already used by a live bill.
    ASSERT_EQ(window.type_into("vendor_invoice_no", "AC-9"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    const QString again = order("V1001", {{"WIDGET-A", "1", "box", "30"}});
    start("V1001", again);
    pick({0});
    bill_with("AC-9");
    refused("Bill no AC-9 exist");
    EXPECT_EQ(t.count("PO_receipt_header_table"), 1);
}

TEST_F(ReceiptBill, AReceiptWhoseBillWasVoidedCanBeEditedToReceiveNothingAndBackAgain)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    start("V1001", po);
    pick({0});
    bill_with("NIL-1");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    void_bill_of("RO-26-00001");
    expect_consistent();

    // Nothing received now, the rest cancelled: nothing is left to bill, yet the receipt stays
    // open to be edited, as one saved with nothing received is.
    for (const auto& [received, cancelled] : {std::pair{"0", "2"}, std::pair{"4", "0"}}) {
        window.set_field("docno", "RO-26-00001");
        window.display_by_number();
        ASSERT_TRUE(window.execute(CommandId::EditMode)) << prompter.last().toStdString();
        ASSERT_EQ(type(0, "quantity received", received), Entry::Accepted) << prompter.last().toStdString();
        ASSERT_EQ(type(0, "quantity canceled", cancelled), Entry::Accepted) << prompter.last().toStdString();
        ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
        EXPECT_EQ(prompter.last(), "update complete");
        EXPECT_EQ(t.count("PO_receipt_header_table WHERE billed = FALSE AND fully_billed = FALSE"), 1);
        expect_consistent();
    }
}

} // namespace
} // namespace zelkor
