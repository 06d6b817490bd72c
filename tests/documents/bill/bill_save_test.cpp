// New bills saved from the bill window and voided from it: what they write, that a void puts
// every figure back, that any failing statement leaves nothing behind, and two clerks billing
// one receipt.
#include "bill_posting_fixture.h"

#include "windows/receipt/POform_receipt.h"

namespace zelkor {
namespace {

class BillSave : public BillPosting {
protected:
    QString bill_key() { return t.text("SELECT fkey FROM PO_invoice_header_table WHERE docno = 'VI-26-00001'"); }
};

TEST_F(BillSave, EnterBillOnAReceiptIsSavedPostedAndVoidedBackToEveryFigure)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"MANUAL-OPS", "2", "each", "15"}});
    const QString rc = receipt(po, {{1, "10"}, {2, "2"}});
    const QStringList before = bill_figures(t);

    bill_receipt(rc, "INV-100");
    const QString total = window.field("total");
    prompter.clear();
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    EXPECT_EQ(window.field("docno"), "VI-26-00001");
    const QString key = bill_key();
    // The header keeps the keys of its entry and payable; the receipt and order are billed whole.
    const Row header = *t.db().first("SELECT * FROM PO_invoice_header_table WHERE fkey = ?", {key}).value();
    EXPECT_FALSE(header.text(u"GLFKEY").isEmpty());
    EXPECT_FALSE(header.text(u"apfkey").isEmpty());
    EXPECT_TRUE(header.text(u"icfkey").isEmpty());
    EXPECT_EQ(header.decimal(u"total").format(), total);
    EXPECT_EQ(t.count("PO_invoice_transaction_table WHERE fkey = '" + key + "'"), 2);
    EXPECT_EQ(t.count("PO_receipt_header_table WHERE fully_billed = TRUE"), 1);
    EXPECT_EQ(t.count("PO_transaction_table WHERE fully_billed = TRUE"), 2);
    EXPECT_EQ(t.count("AP_header_table WHERE void = FALSE AND source_docno = 'VI-26-00001'"), 1);
    EXPECT_EQ(t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'"), header.decimal(u"net_amount"));
    expect_consistent();

    window.set_field("docno", "VI-26-00001");
    window.display_by_number();
    // Part of it paid in the payables: the void refuses it until the payment is taken back.
    const QString payable = header.text(u"apfkey");
    ASSERT_TRUE(t.db().execute("UPDATE AP_transaction_table SET paid_amount = paid_amount - 10 WHERE fkey = ?", {payable}));
    prompter.clear();
    prompter.answer_yes();
    EXPECT_FALSE(window.execute(CommandId::Void));
    EXPECT_EQ(prompter.messages().value(0), "VI-26-00001 was partially paid.");
    ASSERT_TRUE(t.db().execute("UPDATE AP_transaction_table SET paid_amount = paid_amount + 10 WHERE fkey = ?", {payable}));
    prompter.clear();
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Document no. VI-26-00001 is void.");
    EXPECT_EQ(window.field("void"), check_text(true));
    EXPECT_EQ(bill_figures(t), before);
    expect_consistent();
    // A void bill frees its vendor's number.
    bill_receipt(rc, "INV-100");
    prompter.clear();
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new invoice VI-26-00002 complete");
    expect_consistent();
}

TEST_F(BillSave, ABillPaidByCheckOwesNothingAndItsVoidPutsEveryFigureBack)
{
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}}), {{1, "10"}});
    const QStringList before = bill_figures(t);
    bill_receipt(rc, "INV-500");
    ASSERT_EQ(window.type_into("payby", "Check"), Entry::Accepted);
    ASSERT_EQ(window.type_into("bank_code", "OPER"), Entry::Accepted);
    ASSERT_EQ(window.type_into("check_no", "300"), Entry::Accepted);
    ASSERT_EQ(window.type_into("check_date", "16/03/2026"), Entry::Accepted);
    prompter.clear();
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'"), Decimal(0));
    EXPECT_EQ(t.count("AP_header_table WHERE void = FALSE AND source_docno = 'VI-26-00001'"), 1);
    expect_consistent();
    prompter.clear();
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Document no. VI-26-00001 is void.");
    EXPECT_EQ(bill_figures(t), before);
    expect_consistent();
}

TEST_F(BillSave, BillingMoreThanIsOpenIsAskedBeforeTheSaveAndCancelWritesNothing)
{
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}}), {{1, "10"}});
    bill_receipt(rc, "INV-400");
    ASSERT_EQ(type(0, "quantity", "12"), Entry::Accepted) << prompter.last().toStdString();
    const QStringList before = t.snapshot();
    prompter.clear();
    prompter.answer_cancel();
    EXPECT_FALSE(window.execute(CommandId::Save));
    ASSERT_FALSE(prompter.records().empty());
    EXPECT_EQ(prompter.records().front().text, "WIDGET-A: billed quantity (12) > received quantity (10). Press OK to confirm");
    EXPECT_EQ(prompter.last(), "Add new invoice failed");
    EXPECT_EQ(t.snapshot(), before);
    // Confirmed, the whole line is billed: the two billed above what was received go to the
    // item's stock cost; the void opens the ten received again.
    prompter.clear();
    prompter.answer_ok();
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(t.decimal("SELECT quantity_open_for_bill FROM PO_receipt_transaction_table WHERE docno = ?", {rc}), Decimal(0));
    EXPECT_EQ(t.decimal("SELECT quantity_billed FROM PO_receipt_transaction_table WHERE docno = ?", {rc}), Decimal(12));
    expect_consistent();
    prompter.clear();
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(t.decimal("SELECT quantity_open_for_bill FROM PO_receipt_transaction_table WHERE docno = ?", {rc}), Decimal(10));
    EXPECT_EQ(t.decimal("SELECT quantity_billed FROM PO_receipt_transaction_table WHERE docno = ?", {rc}), Decimal(0));
    expect_consistent();
}

TEST_F(BillSave, EveryStatementOfTheSaveAndTheVoidFailsCleanly)
{
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}}), {{1, "10"}});
    bill_receipt(rc, "INV-200");
    fail_each_statement(CommandId::Save, "Add new invoice failed", false);
    // Only a read after the commit may fail now: the bill is saved, and shown again by number.
    EXPECT_TRUE(prompter.messages().contains("Add new invoice VI-26-00001 complete"));
    expect_consistent();
    window.set_field("docno", "VI-26-00001");
    window.display_by_number();
    ASSERT_EQ(window.field("docno"), "VI-26-00001");
    fail_each_statement(CommandId::Void, "Void invoice failed", true);
    EXPECT_EQ(prompter.last(), "Document no. VI-26-00001 is void.");
    expect_consistent();
}

TEST_F(BillSave, TwoClerksBillingOneReceiptSaveOnceAndTheOtherIsRefused)
{
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}}), {{1, "10"}});
    // The second clerk takes the same receipt lines before the first saves.
    POform_invoice second;
    second.apply_settings(testing::window_settings(t.db(), QStringLiteral("ADMIN"), folder.path()));
    second.set_prompter(&prompter);
    second.open();
    ASSERT_TRUE(second.execute(CommandId::New));
    ASSERT_EQ(second.type_into("vendor_no", "V1001"), Entry::Accepted);
    ASSERT_EQ(second.type_into("receipt_no", rc), Entry::Accepted) << prompter.last().toStdString();
    ASSERT_EQ(second.type_into("invoice_no", "INV-301"), Entry::Accepted);
    bill_receipt(rc, "INV-300");
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();

    prompter.clear();
    const QStringList before = t.snapshot();
    EXPECT_FALSE(second.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages(), (QStringList{"Receipt was fully billed.", "Add new invoice failed"}));
    EXPECT_EQ(second.mode(), WindowModel::Mode::New);
    EXPECT_EQ(t.snapshot(), before);
    EXPECT_EQ(t.decimal("SELECT quantity_billed FROM PO_receipt_transaction_table WHERE docno = ?", {rc}), Decimal(10));

    // Once the first bill is void, the second clerk's bill goes through, unless the open quantity
    // moved since the line was taken (another bill of part of it).
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_transaction_table SET quantity_open_for_bill = 6 WHERE docno = ?", {rc}));
    prompter.clear();
    EXPECT_FALSE(second.execute(CommandId::Save));
    EXPECT_EQ(prompter.messages().value(0), rc + " was changed by another user. Refresh it and edit again.");
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_transaction_table SET quantity_open_for_bill = 10 WHERE docno = ?", {rc}));
    prompter.clear();
    ASSERT_TRUE(second.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new invoice VI-26-00002 complete");
    expect_consistent();
}

TEST_F(BillSave, AReceiptBilledInPartHandsOnToEnterBillUntilNothingIsLeftToBill)
{
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}}), {{1, "10"}});
    bill_receipt(rc, "INV-5");
    ASSERT_EQ(type(0, "quantity", "5"), Entry::Accepted);
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");

    ScriptedPrompter said;
    std::vector<WindowNotification> handed;
    POform_receipt receiving;
    receiving.apply_settings(testing::window_settings(t.db(), QStringLiteral("ADMIN"), folder.path()));
    receiving.set_prompter(&said);
    testing::record_notifications(receiving, handed);
    receiving.open();
    receiving.set_field("docno", rc);
    receiving.display_by_number();
    EXPECT_EQ(receiving.field("billed"), check_text(true)) << "the box is on for a bill of part of it";
    ASSERT_TRUE(receiving.execute(POform_receipt::Command::EnterBill)) << said.last().toStdString();
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed.back().formx + "|" + handed.back().docnox, "Invoice This Receipt|" + rc);

    // The other five billed: nothing is left, and Enter Bill says so.
    bill_receipt(rc, "INV-6");
    EXPECT_EQ(save(), "Add new invoice VI-26-00002 complete");
    EXPECT_FALSE(receiving.execute(POform_receipt::Command::EnterBill));
    EXPECT_EQ(said.last(), "Receipt was fully billed.");
    EXPECT_FALSE(receiving.execute(POform_receipt::Command::EnterBill));
    EXPECT_EQ(said.last(), "Receipt was fully invoiced.");
    EXPECT_EQ(handed.size(), 1u);
    expect_consistent();
}

TEST_F(BillSave, ABillWithoutTheReceiptsTaxTakesTheAccrualBackAndOwesWhatItSays)
{
    // Received at 25.00 with 1.50 of tax; billed at 25.00 without tax, the code emptied or
    // exempt: the entry clears AP suspense of all the receipt credited, takes the recoverable
    // tax back and owes the vendor the bill's 25.00, so that ledger and payables agree.
    const QString rc = receipt(order("V1002", {{"WIDGET-A", "10", "box", "2.50"}}), {{1, "10"}});
    int bills = 0;
    for (const QString& code : {QString(), QStringLiteral("EXEMPT")}) {
        SCOPED_TRACE(code.toStdString());
        const QString docno = QStringLiteral("VI-26-%1").arg(++bills, 5, 10, QChar(u'0'));
        bill_receipt(rc, "INV-" + QString::number(bills), "V1002");
        ASSERT_EQ(type(0, "tax code", code), Entry::Accepted) << prompter.last().toStdString();
        EXPECT_EQ(window.field("total"), "25.00");
        EXPECT_EQ(save(), "Add new invoice " + docno + " complete");
        EXPECT_EQ(posted(docno, "2050"), Decimal("-26.50"));
        EXPECT_EQ(posted(docno, "1400"), Decimal("-1.50"));
        EXPECT_EQ(posted(docno, "2000"), Decimal("25.00"));
        EXPECT_EQ(t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1002'"), Decimal("25.00"));
        expect_consistent();
        EXPECT_EQ(void_bill_number(docno), "Document no. " + docno + " is void.");
        expect_consistent();
    }
}

} // namespace
} // namespace zelkor
