// Landed charges typed on a receipt: those billed by other vendors, or by the receipt's vendor
// under another bill number, are owed through payables of their own; the rest is billed with the
// receipt. Editing and voiding the receipt replaces and removes those payables exactly.
#include "tests/support/receipt_bill_fixture.h"

namespace zelkor {
namespace {

class ReceiptLanded : public ReceiptBill {
protected:
    /// The live payables: "vendor bill source gross open account".
    QStringList payables()
    {
        QStringList result;
        auto rows = t.db().select("SELECT h.vendor_no, h.invoice_no, h.Source, SUM(l.gross_amount) AS gross,"
                                  " SUM(l.open_amount) AS open_amount, MIN(l.ap_accno) AS ap_accno FROM AP_header_table h"
                                  " INNER JOIN AP_transaction_table l ON l.fkey = h.fkey WHERE h.void = FALSE"
                                  " GROUP BY h.vendor_no, h.invoice_no, h.Source ORDER BY h.vendor_no, h.invoice_no");
        EXPECT_TRUE(rows);
        for (const Row& row : *rows)
            result << QStringList{row.text(u"vendor_no"), row.text(u"invoice_no"), row.text(u"Source"),
                                  row.decimal(u"gross").to_fixed(2), row.decimal(u"open_amount").to_fixed(2),
                                  row.text(u"ap_accno")}
                          .join(u' ');
        return result;
    }

    QString owings()
    {
        QStringList result;
        for (const char* vendor : {"V1001", "V3001", "V3002"})
            result << owing(vendor).to_fixed(2);
        return result.join(u' ');
    }
};

TEST_F(ReceiptLanded, ChargesOfOtherVendorsAndBillsGetPayablesOfTheirOwn)
{
    receive_with_charges();
    EXPECT_EQ(window.field("landed_total"), "196.20");
    EXPECT_EQ(window.field("total"), "514.20");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();

    // Three payables of the receipt, besides the bill's: 318.00 goods and the insurance.
    EXPECT_EQ(payables(), (QStringList{"V1001 INV-900 PO-BILL 328.00 328.00 2000", "V1001 INV-901 PO-RECEIPT 21.20 21.20 2000",
                                       "V3001 MLF-77 PO-RECEIPT 120.00 120.00 2020",
                                       "V3002 GLC-5 PO-RECEIPT 45.00 45.00 2000"}));
    EXPECT_EQ(owings(), "349.20 120.00 45.00");
    EXPECT_EQ(t.count("AP_header_table WHERE Source = 'PO-RECEIPT' AND source_docno = 'RO-26-00001'"
                      " AND source_form = 'Receipt Entry'"),
              3);
    // The freight is dated by its bill, the duty by the receipt; Great Lakes' term "00" has no due date.
    EXPECT_EQ(t.scalar("SELECT invoice_date FROM AP_header_table WHERE invoice_no = 'MLF-77'").toDate(), QDate(2026, 3, 12));
    EXPECT_EQ(t.scalar("SELECT invoice_date FROM AP_header_table WHERE invoice_no = 'GLC-5'").toDate(), QDate(2026, 3, 15));
    EXPECT_TRUE(t.scalar("SELECT due_date FROM AP_header_table WHERE invoice_no = 'GLC-5'").isNull());
    EXPECT_EQ(t.text("SELECT payment_term FROM AP_header_table WHERE invoice_no = 'MLF-77'"), "30");
    // Each charge names its payable; the insurance is billed with the goods.
    EXPECT_EQ(t.count("PO_receipt_transaction_table r INNER JOIN AP_header_table a ON a.fkey = r.ap_fkey"
                      " WHERE r.landed_item = TRUE AND a.vendor_no = r.vendor_no AND a.invoice_no = r.vendor_invoice_no"),
              3);
    EXPECT_EQ(t.count("PO_receipt_transaction_table WHERE landed_item = TRUE AND itemcode = 'INSURANCE' AND ap_fkey IS NULL"
                      " AND billed = TRUE AND vendor_no = 'V1001'"),
              1);
    EXPECT_EQ(t.count("PO_invoice_transaction_table WHERE landed_item = TRUE AND itemcode = 'INSURANCE'"
                      " AND receipt_landed_itemno = 4"),
              1);

    // The receipt's entry: charges to their accounts; each credited to its vendor's payable
    // account, the insurance to AP suspense with the goods.
    auto credits = t.db().select("SELECT accno, vendor_no, amount FROM GL_transaction_table WHERE fkey = ?"
                                 " AND accno IN ('2000', '2020', '2050') ORDER BY accno, vendor_no",
                                 {key_of("RO-26-00001", "GLFKEY")});
    ASSERT_TRUE(credits);
    QStringList credited;
    for (const Row& row : *credits)
        credited << row.text(u"accno") + u' ' + row.text(u"vendor_no") + u' ' + row.decimal(u"amount").to_fixed(2);
    EXPECT_EQ(credited, (QStringList{"2000 V1001 21.20", "2000 V3002 45.00", "2020 V3001 120.00", "2050 V1001 328.00"}));
    EXPECT_EQ(t.decimal("SELECT amount FROM GL_transaction_table WHERE fkey = ? AND accno = '5200'",
                        {key_of("RO-26-00001", "GLFKEY")}),
              Decimal(185));
    EXPECT_EQ(suspense_of("V1001"), "0.00 0.00");
    expect_consistent();

    // Shown again, the charges are there and a charge's payable goes to the host.
    window.set_field("docno", "RO-26-00001");
    window.display_by_number();
    Grid& landed = window.landed_lines();
    ASSERT_EQ(landed.row_count(), 4);
    EXPECT_EQ(landed.cell(0, "vendor no"), "V3001");
    EXPECT_EQ(landed.cell(0, "bill date"), "12/03/2026");
    EXPECT_EQ(landed.cell(3, "vendor no"), "");
    landed.set_current(1, 0);
    ASSERT_TRUE(window.execute(POform_receipt::Command::LandedApRecord));
    EXPECT_EQ(notifications.back().formx, "Bill Entry");
    EXPECT_EQ(notifications.back().docnox, t.text("SELECT fkey FROM AP_header_table WHERE invoice_no = 'GLC-5'"));
}

TEST_F(ReceiptLanded, AChargeNeedsItsBillNumberAndItsVendorATerm)
{
    start("V1001", order("V1001", {{"WIDGET-A", "10", "box", "30"}}));
    pick({0});
    bill_with("INV-900");
    show_landed();
    type_landed(0, {{"vendor no", "V3001"}, {"item code", "FREIGHT"}, {"extended cost", "120"}});
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify invoice no of landed cost item for vendor V3001");
    // A second charge typed without its code is refused by its line, not left out of the save.
    const QStringList before = t.snapshot();
    type_landed(1, {{"vendor no", "V3002"}, {"bill no", "GLC-5"}, {"extended cost", "45"}});
    EXPECT_EQ(window.landed_lines().type_cell(1, "item code", "NOSUCH"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "item code is invalid.");
    EXPECT_EQ(window.field("landed_total"), "165.00") << "the charge typed without its code counts in the total";
    type_landed(0, {{"bill no", "MLF-77"}});
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify item code for line 2");
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_EQ(t.snapshot(), before);
    window.landed_lines().remove_row(1);
    type_landed(0, {{"bill no", "MLF-77"}});
    ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET payment_term = NULL WHERE vendor_no = 'V3001'"));
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "There is no default payment term for secondary vendor");
    ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET payment_term = '30', ap_accno = NULL WHERE vendor_no = 'V3001'"));
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Account payable for vendor V3001 has not been setup");
    ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET ap_accno = '2020' WHERE vendor_no = 'V3001'"));
    EXPECT_EQ(t.count("PO_receipt_header_table"), 0);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();

    // The same vendor cannot bill the same number twice.
    start("V1001", order("V1001", {{"BOLT-M8", "1", "box", "12"}}));
    pick({0});
    bill_with("INV-950");
    show_landed();
    type_landed(0, {{"vendor no", "V3001"}, {"bill no", "MLF-77"}, {"item code", "FREIGHT"}, {"extended cost", "30"}});
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().mid(prompter.messages().size() - 2),
              (QStringList{"Bill no MLF-77 exist", "Add new receipt failed"}));
    EXPECT_EQ(t.count("PO_receipt_header_table"), 1);
    expect_consistent();
}

TEST_F(ReceiptLanded, EditReplacesTheChargesPayablesAndVoidRemovesThem)
{
    receive_with_charges();
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    // Billed at receipt: its bill is voided in the bill window first.
    void_bill_of("RO-26-00001");
    EXPECT_EQ(owings(), "21.20 120.00 45.00");
    EXPECT_EQ(t.count("PO_receipt_header_table WHERE billed = FALSE AND vendor_invoice_no = '' AND invoice_docno = ''"), 1);
    EXPECT_EQ(suspense_of("V1001"), "328.00 328.00");
    expect_consistent();

    // Edited with a new bill and dearer freight: the charges' payables are replaced.
    window.set_field("docno", "RO-26-00001");
    window.display_by_number();
    ASSERT_TRUE(window.execute(CommandId::EditMode)) << prompter.last().toStdString();
    bill_with("INV-902");
    type_landed(0, {{"extended cost", "150"}});
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "update complete");
    EXPECT_EQ(payables(), (QStringList{"V1001 INV-901 PO-RECEIPT 21.20 21.20 2000", "V1001 INV-902 PO-BILL 328.00 328.00 2000",
                                       "V3001 MLF-77 PO-RECEIPT 150.00 150.00 2020",
                                       "V3002 GLC-5 PO-RECEIPT 45.00 45.00 2000"}));
    EXPECT_EQ(t.count("AP_header_table WHERE void = TRUE AND Source = 'PO-RECEIPT'"), 3);
    EXPECT_EQ(owings(), "349.20 150.00 45.00");
    EXPECT_EQ(suspense_of("V1001"), "0.00 0.00");
    expect_consistent();

    // Voided once its bill is: nothing is owed for it any more.
    void_bill_of("RO-26-00001");
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Receipt RO-26-00001 is void.");
    EXPECT_EQ(payables(), QStringList());
    EXPECT_EQ(owings(), "0.00 0.00 0.00");
    EXPECT_EQ(t.decimal("SELECT SUM(amount) FROM GL_transaction_table WHERE accno IN ('2000', '2020', '2050')"), Decimal(0));
    expect_consistent();
}

TEST_F(ReceiptLanded, AChargesPayablePaidMeanwhileStopsTheEditAndTheVoid)
{
    receive_with_charges();
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    void_bill_of("RO-26-00001");
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));
    // The host pays part of the duty.
    ASSERT_TRUE(t.db().execute("UPDATE AP_transaction_table SET paid_amount = -10, open_amount = 35"
                               " WHERE invoice_no = 'GLC-5'"));
    const QStringList before = t.snapshot();
    prompter.clear();
    prompter.answer_yes();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.messages(), (QStringList{"Landed cost bill GLC-5 of V3002 was paid.", "Void receipt failed"}));
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    bill_with("INV-903");
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().mid(prompter.messages().size() - 2),
              (QStringList{"Landed cost bill GLC-5 of V3002 was paid.", "update failed"}));
    EXPECT_EQ(t.snapshot(), before);
}

TEST_F(ReceiptLanded, AChargeIsDeletedUntilItIsSaved)
{
    receive_with_charges();
    Grid& landed = window.landed_lines();
    type_landed(4, {{"vendor no", "V3002"}, {"bill no", "GLC-6"}, {"item code", "DUTY"}, {"extended cost", "45"}});
    EXPECT_EQ(window.field("landed_total"), "241.20");
    ASSERT_TRUE(window.delete_row(landed, 4));
    EXPECT_EQ(landed.row_count(), 4);
    EXPECT_EQ(window.field("landed_total"), "196.20");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(t.count("PO_receipt_transaction_table WHERE landed_item = TRUE"), 4);
    EXPECT_EQ(t.count("AP_header_table WHERE invoice_no = 'GLC-6'"), 0);

    // Shown, the charges have no delete buttons; in Edit mode a stored charge stays.
    void_bill_of("RO-26-00001");
    window.set_field("docno", "RO-26-00001");
    window.display_by_number();
    EXPECT_FALSE(landed.has_delete_buttons());
    EXPECT_FALSE(window.delete_row(landed, 0));
    ASSERT_TRUE(window.execute(CommandId::EditMode)) << prompter.last().toStdString();
    const QStringList before = t.snapshot();
    EXPECT_FALSE(window.delete_row(landed, 1));
    EXPECT_EQ(prompter.last(), "Cannot delete item. Use void item.");
    EXPECT_EQ(landed.cell(1, "item code"), "DUTY");
    type_landed(4, {{"vendor no", "V3002"}, {"bill no", "GLC-6"}, {"item code", "DUTY"}, {"extended cost", "45"}});
    ASSERT_TRUE(window.delete_row(landed, 4));
    EXPECT_EQ(landed.row_count(), 4);
    EXPECT_EQ(window.field("landed_total"), "196.20");
    EXPECT_EQ(t.snapshot(), before);
}

} // namespace
} // namespace zelkor
