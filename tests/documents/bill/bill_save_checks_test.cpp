// The checks of a bill's save, one after the other in their order, each refusing before anything
// is written; and what a bill that passes them all hands on to be written.
#include "tests/support/bill_window_fixture.h"

namespace zelkor {
namespace {

TEST_F(BillWindow, HeaderChecksRefuseInTheirOrderAndWriteNothing)
{
    StoredBill taken;
    taken.vendor = "V1002";
    taken.invoice_no = "A-77";
    stored_bill(taken);
    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_EQ(save_refusal(), "please specify vendor");
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "No detail line");
    ASSERT_EQ(type(0, "item code", "HANDLING"), Entry::Accepted);
    ASSERT_EQ(type(0, "extended cost", "50"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "please specify bill number");
    // The vendor's number is unique among live bills, whoever the vendor.
    ASSERT_EQ(window.type_into("invoice_no", "A-77"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "Vendor invoice no A-77 exist");
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET void = TRUE"));
    ASSERT_EQ(window.type_into("currency", ""), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "please specify currency");
    ASSERT_EQ(window.type_into("currency", "EUR"), Entry::Accepted);
    EXPECT_EQ(window.field("exchange_rate"), "1.1");
    window.set_field("exchange_rate", "");
    EXPECT_EQ(save_refusal(), "please specify exchange rate");
    window.set_field("exchange_rate", "0");
    EXPECT_EQ(save_refusal(), "exchange rate is invalid.");
    ASSERT_EQ(window.type_into("currency", "USD"), Entry::Accepted);
    ASSERT_EQ(window.type_into("payment_term", ""), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "Please specify Payment term");
    ASSERT_EQ(window.type_into("payment_term", "210"), Entry::Accepted);

    // How a bill paid at once is paid.
    ASSERT_EQ(window.type_into("payby", "Cash"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "please specify cash account or bank code");
    window.set_field("bank_code", "GONE");
    EXPECT_EQ(save_refusal(), "Bank code GONE is invalid.");
    ASSERT_EQ(window.type_into("payby", "Check"), Entry::Accepted);
    window.set_field("bank_code", "");
    EXPECT_EQ(save_refusal(), "please specify bank code");
    ASSERT_EQ(window.type_into("bank_code", "OPER"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "please specify check number");
    ASSERT_EQ(window.type_into("check_no", "1001"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "please specify check date");
    window.set_field("payby", "AMEX");
    EXPECT_EQ(save_refusal(), "No Account Payable account for AMEX.\nCheck its setting in Credit card master.");
    ASSERT_EQ(window.type_into("payby", "Pay Later"), Entry::Accepted);

    // A prepayment paid now needs a way to pay it; neither it nor the discount exceeds the bill.
    window.set_field("prepayment", "-5");
    EXPECT_EQ(save_refusal(), "Prepayment must be positive");
    ASSERT_EQ(window.type_into("prepayment", "10"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "please specify Pay-by for Prepayment");
    ASSERT_EQ(window.type_into("prepayment_no", "PP-26-00003"), Entry::Accepted);
    ASSERT_EQ(window.type_into("discount_amount", "53.01"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "Term discount is invalid.");
    ASSERT_EQ(window.type_into("discount_amount", "43.01"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "Prepayment is invalid.");
    ASSERT_EQ(window.type_into("discount_amount", "3"), Entry::Accepted);

    window.set_field("period", "");
    EXPECT_EQ(save_refusal(), "please specify period");
    ASSERT_EQ(window.type_into("period", "3"), Entry::Accepted);
    window.set_field("fyear", "");
    EXPECT_EQ(save_refusal(), "please specify fiscal year");
    ASSERT_EQ(window.type_into("fyear", "2027"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "Fiscal period/year is out of working period.");
    ASSERT_EQ(window.type_into("fyear", "2026"), Entry::Accepted);

    ASSERT_TRUE(t.db().execute("DELETE FROM Account_Parameters_table WHERE parameter_name = 'purchase variance account'"));
    EXPECT_EQ(save_refusal(), "no purchase variance account");
    ASSERT_TRUE(t.db().execute("INSERT INTO Account_Parameters_table (module, parameter_name, \"default\", accno)"
                               " VALUES ('PO', 'purchase variance account', TRUE, '5100')"));
    ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET ap_accno = NULL WHERE vendor_no = 'V1001'"));
    EXPECT_EQ(save_refusal(), "Account payable for vendor V1001 has not been set");
    ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET ap_accno = '2000' WHERE vendor_no = 'V1001'"));

    // Every check passed: the prepayment named is looked for under lock inside the save, which
    // rolls back without it and takes no number.
    EXPECT_EQ(save_refusal(), "No prepayment no. PP-26-00003");
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    auto checked = window.checked_bill();
    ASSERT_TRUE(checked) << checked.error().message.toStdString();
    const EnteredBillHeader& header = checked->bill.header;
    EXPECT_EQ(header.vendor_no, "V1001");
    EXPECT_EQ(header.invoice_no, "A-77");
    EXPECT_EQ(header.payby, "Pay Later");
    EXPECT_EQ(header.payment_term, "210");
    EXPECT_EQ(header.prepayment_no, "PP-26-00003");
    EXPECT_EQ(header.total, Decimal("53.00"));
    EXPECT_EQ(header.net_amount, Decimal("40.00"));
    EXPECT_EQ(header.fiscal_period().key(), FiscalPeriod({"2026", 3}).key());
    ASSERT_EQ(checked->bill.lines.size(), 1u);
    EXPECT_EQ(checked->bill.lines[0].net_cost, Decimal("53.00"));
    EXPECT_EQ(checked->bill.taxes.line(1).size(), 1u);
    EXPECT_EQ((QStringList{checked->accounts.suspense, checked->accounts.discount, checked->accounts.variance,
                           checked->accounts.vendor_payable, checked->accounts.paying}),
              (QStringList{"2050", "4100", "5100", "2000", ""}));
}

TEST_F(BillWindow, LineChecksNameTheLineAndTheDocumentsBilled)
{
    const QString rc = receipt(order("V1001", {{"MANUAL-OPS", "2", "each", "15"}}), {{1, "2"}});
    start("V1001");
    ASSERT_EQ(window.type_into("invoice_no", "L-1"), Entry::Accepted);
    ASSERT_EQ(window.type_into("receipt_no", rc), Entry::Accepted);
    // A bolt bought without a receipt, charged to an expense account.
    const int row = 1;
    ASSERT_EQ(type(row, "item code", "BOLT-M8"), Entry::Accepted);
    EXPECT_EQ(lines().cell(row, "account"), "1300");
    EXPECT_EQ(lines().cell(row, "warehouse"), "MAIN");
    EXPECT_EQ(save_refusal(), "please specify amount for BOLT-M8");
    ASSERT_EQ(type(row, "extended cost", "16"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "account number for BOLT-M8 is invalid.") << "no stock moves without a receipt";
    ASSERT_EQ(type(row, "account", "6000"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "please specify quantity for BOLT-M8");
    ASSERT_EQ(type(row, "quantity", "0"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "BOLT-M8: quantity must be positive");
    ASSERT_EQ(type(row, "quantity", "2"), Entry::Accepted);
    lines().set_cell(row, "uom received", "");
    EXPECT_EQ(save_refusal(), "please specify unit of measurement for BOLT-M8");
    lines().set_cell(row, "uom received", "roll");
    EXPECT_EQ(save_refusal(), "roll has no conversion factor for BOLT-M8");
    ASSERT_EQ(type(row, "uom received", "box"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "please specify unit price for BOLT-M8");
    ASSERT_EQ(type(row, "unit cost", "-1"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "BOLT-M8 unit price cannot be negative");
    ASSERT_EQ(type(row, "unit cost", "8"), Entry::Accepted);
    ASSERT_EQ(type(row, "warehouse", "EAST"), Entry::Accepted);
    EXPECT_EQ(save_refusal(), "branch (EAST) is invalid for BOLT-M8");
    ASSERT_EQ(type(row, "warehouse", "MAIN"), Entry::Accepted);
    ASSERT_TRUE(t.db().execute("UPDATE Item_warehouse_table SET cost_method = NULL WHERE itemcode = 'BOLT-M8'"));
    EXPECT_EQ(save_refusal(), "branch (MAIN) has not set cost method for BOLT-M8");
    ASSERT_TRUE(t.db().execute("UPDATE Item_warehouse_table SET cost_method = 'LIFO' WHERE itemcode = 'BOLT-M8'"));
    ASSERT_TRUE(t.db().execute("DELETE FROM Warehouse_location_master_table WHERE location = 'A-02'"));
    EXPECT_EQ(save_refusal(), "location (A-02) is invalid for BOLT-M8");
    lines().set_cell(row, "location", "");

    // A charge the list no longer has, an amount or an account missing.
    lines().append_row();
    ASSERT_EQ(type(2, "item code", "DUTY"), Entry::Accepted);
    ASSERT_EQ(type(2, "extended cost", "12"), Entry::Accepted);
    ASSERT_TRUE(t.db().execute("DELETE FROM Vendor_miscellaneous_charge_table WHERE itemcode = 'DUTY'"));
    EXPECT_EQ(save_refusal(), "DUTY is invalid.");
    ASSERT_EQ(type(2, "item type", "5"), Entry::Accepted);
    lines().set_cell(2, "extended cost", "");
    EXPECT_EQ(save_refusal(), "please specify amount for DUTY");
    ASSERT_EQ(type(2, "extended cost", "12"), Entry::Accepted);
    lines().set_cell(2, "account", "");
    EXPECT_EQ(save_refusal(), "please specify account for DUTY");
    lines().set_cell(2, "item type", "0");
    EXPECT_EQ(save_refusal(), "item type is invalid.");
    lines().set_cell(2, "item type", "5");
    ASSERT_EQ(type(2, "account", "5200"), Entry::Accepted);

    // The receipt billed was voided meanwhile; a text line continues the description above it.
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_header_table SET void = TRUE WHERE docno = ?", {rc}));
    EXPECT_EQ(save_refusal(), "Receipt was void.");
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_header_table SET void = FALSE WHERE docno = ?", {rc}));
    lines().insert_row(2);
    lines().set_cell(2, "description", "boxes of 100");
    auto checked = window.checked_bill();
    ASSERT_TRUE(checked);
    ASSERT_EQ(checked->bill.lines.size(), 3u);
    const EnteredBillLine& manual = checked->bill.lines[0];
    EXPECT_EQ(manual.receipt_no, rc);
    EXPECT_EQ(manual.receipt_itemno, 1);
    EXPECT_EQ(manual.rc_quantity_open, Decimal(2));
    EXPECT_EQ(manual.unit_cost_received, Decimal(15));
    EXPECT_EQ(checked->bill.lines[1].description, "Hex bolt M8 x 40\nboxes of 100");
    EXPECT_EQ(checked->bill.lines[2].itemno, 3);
}

} // namespace
} // namespace zelkor
