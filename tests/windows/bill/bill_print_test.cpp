// A printed vendor bill: what was billed against which receipt, the totals down to what is
// owed, and "VOID" across a void one.
#include "tests/support/bill_window_fixture.h"

#include "tests/support/printed_documents.h"

#include <QRegularExpression>

namespace zelkor {
namespace {

class PrintedBill : public BillWindow {
protected:
    /// Prints the shown document as the host would and gives the text of its pages.
    QString printed(const QString& name)
    {
        return testing::printed_preview(t.db(), window, notifications, folder.filePath(name + QStringLiteral(".pdf")));
    }
    static QRegularExpression amount_after(const QString& label, const QString& amount)
    {
        return QRegularExpression(QRegularExpression::escape(label) + "\\s+" + QRegularExpression::escape(amount));
    }

    QTemporaryDir folder;
};

TEST_F(PrintedBill, PrintsTheLinesOfItsReceiptTheTotalsDownToWhatIsOwedAndVoidAcrossAVoidOne)
{
    const QString rc = receipt(order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"MANUAL-OPS", "2", "each", "15"}}),
                               {{1, "10"}, {2, "2"}});
    start("V1001");
    ASSERT_EQ(window.type_into("receipt_no", rc), Entry::Accepted) << prompter.last().toStdString();
    ASSERT_EQ(window.type_into("invoice_no", "ACME-7731"), Entry::Accepted);
    ASSERT_EQ(window.type_into("discount_amount", "5"), Entry::Accepted);
    ASSERT_EQ(window.type_into("remark", "Checked against the packing slip"), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Preview)) << "an unsaved bill has nothing to print";
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    ASSERT_EQ(prompter.last(), "Add new invoice VI-26-00001 complete");

    const QString text = printed(QStringLiteral("bill"));
    ASSERT_FALSE(text.isEmpty()) << "pdftotext reads the bill";
    EXPECT_TRUE(text.contains("Vendor Bill")) << text.toStdString();
    EXPECT_TRUE(text.contains("VI-26-00001"));
    EXPECT_TRUE(text.contains("Zelkor Demo Trading Co.")) << "letterhead";
    EXPECT_TRUE(text.contains("Acme Industrial Supply"));
    for (const char* fact : {"Vendor invoice no", "ACME-7731", "Bill date", "15/03/2026", "Due date", "14/04/2026",
                             "Receipt no", "Pay Later"})
        EXPECT_TRUE(text.contains(fact)) << fact;
    EXPECT_EQ(text.count(rc), 3) << "the bill's receipt, and each line's";
    EXPECT_TRUE(text.contains("Net 30 days")) << "the term by its name";
    EXPECT_FALSE(text.contains("Ship to")) << "a bill ships nothing";
    EXPECT_TRUE(text.contains("WIDGET-A") && text.contains("MANUAL-OPS"));
    EXPECT_TRUE(text.contains("300.00") && text.contains("1300")) << "amount and the account charged";
    EXPECT_TRUE(text.contains(amount_after("Sub total (USD)", "330.00"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("\\(STATE\\)\\s+19\\.80")));
    EXPECT_TRUE(text.contains(amount_after("Total (USD)", "349.80")));
    EXPECT_TRUE(text.contains(amount_after("Discount", "-5.00")));
    EXPECT_FALSE(text.contains("Prepayment")) << "nothing prepaid, nothing printed";
    EXPECT_TRUE(text.contains(amount_after("Net amount (USD)", "344.80")));
    EXPECT_TRUE(text.contains("Checked against the packing slip"));
    EXPECT_FALSE(text.contains("VOID"));
    EXPECT_FALSE(text.contains("####"));

    // A price that includes its tax carries it in the amount: the tax is not added again.
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_transaction_table SET price_include_tax = TRUE WHERE itemcode = 'MANUAL-OPS'"));
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET excluded_tax = 18, total = 348, net_amount = 343"));
    const QString included = printed(QStringLiteral("bill_included"));
    EXPECT_TRUE(included.contains(QRegularExpression("\\(STATE\\)\\s+18\\.00"))) << included.toStdString();
    EXPECT_TRUE(included.contains(amount_after("Total (USD)", "348.00")));
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_transaction_table SET price_include_tax = FALSE"));
    ASSERT_TRUE(t.db().execute("UPDATE PO_invoice_header_table SET excluded_tax = 19.80, total = 349.80, net_amount = 344.80"));

    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    const QString voided = printed(QStringLiteral("bill_void"));
    EXPECT_TRUE(testing::pdf_drawn_text(folder.filePath(QStringLiteral("bill_void.pdf"))).contains("VOID"))
        << "a void bill says so";
    EXPECT_TRUE(voided.contains("344.80")) << "and stays readable";
}

} // namespace
} // namespace zelkor
