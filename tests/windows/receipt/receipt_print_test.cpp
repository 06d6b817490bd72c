// A printed goods receipt: the order's lines as received, laid out like every purchasing
// document, with landed charges only in the totals and "VOID" across a void receipt.
#include "tests/support/receipt_window_fixture.h"

#include "tests/support/printed_documents.h"

#include <QRegularExpression>

namespace zelkor {
namespace {

class PrintedReceipt : public ReceiptWindow {
protected:
    /// Prints the shown document as the host would and gives the text of its pages.
    QString printed(const QString& name)
    {
        return testing::printed_preview(t.db(), window, notifications, folder.filePath(name + QStringLiteral(".pdf")));
    }

    QTemporaryDir folder;
};

TEST_F(PrintedReceipt, PrintsTheLinesReceivedWithLandedChargesOnlyInTheTotalAndVoidAcrossAVoidOne)
{
    const QString po = order("V1002", {{"PAINT-5L", "24", "box", "189.50"}, {"BOLT-M8", "1234", "box", "8.75"}});
    const QString receipt = receive_all("V1002", po);
    ASSERT_EQ(receipt, "RO-26-00001") << prompter.last().toStdString();
    // A landed bill's charge is stored with the receipt's lines and counted in its total.
    const QString key = key_of(receipt, "fkey");
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_receipt_transaction_table (company, fkey, landed_item, itemno, itemcode,"
                               " description, quantity_received, unitcost, extended_cost) VALUES (1, ?, TRUE, 3, ?, ?, 1, 45, 45)",
                               {key, QStringLiteral("FREIGHT-IN"), QStringLiteral("Inbound freight")}));
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_header_table SET landed_total = 45, total = total + 45 WHERE fkey = ?", {key}));
    const Decimal total = t.decimal("SELECT total FROM PO_receipt_header_table WHERE fkey = ?", {key});
    ASSERT_TRUE(window.execute(CommandId::RefreshRecord));

    const QString text = printed(QStringLiteral("receipt"));
    ASSERT_FALSE(text.isEmpty()) << "pdftotext reads the receipt";
    EXPECT_TRUE(text.contains("Goods Receipt")) << text.toStdString();
    EXPECT_TRUE(text.contains(receipt));
    EXPECT_TRUE(text.contains("Zelkor Demo Trading Co.")) << "letterhead";
    EXPECT_TRUE(text.contains("Order no") && text.contains(po));
    EXPECT_TRUE(text.contains("O'Brien Supply"));
    EXPECT_TRUE(text.contains(QRegularExpression("Chicago, IL\\s+60601")));
    EXPECT_TRUE(text.contains("Main warehouse")) << "the ship-to warehouse";
    EXPECT_TRUE(text.contains("Received")) << "the quantity column says what it counts";
    EXPECT_TRUE(text.contains("1,234")) << "quantities print whole";
    EXPECT_TRUE(text.contains("10,797.50"));
    EXPECT_FALSE(text.contains("FREIGHT-IN")) << "a landed charge is no received line";
    EXPECT_TRUE(text.contains(QRegularExpression("Landed charges\\s+45\\.00")));
    EXPECT_TRUE(text.contains(QRegularExpression("Total \\(USD\\)\\s+" + QRegularExpression::escape(total.format(2)))))
        << "the printed total is the stored one";
    EXPECT_FALSE(text.contains("VOID"));

    ASSERT_TRUE(t.db().execute("DELETE FROM PO_receipt_transaction_table WHERE landed_item = TRUE"));
    ASSERT_TRUE(t.db().execute("UPDATE PO_receipt_header_table SET landed_total = 0, total = total - 45 WHERE fkey = ?", {key}));
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Void)) << prompter.messages().join(" | ").toStdString();
    const QString voided = printed(QStringLiteral("receipt_void"));
    EXPECT_TRUE(testing::pdf_drawn_text(folder.filePath(QStringLiteral("receipt_void.pdf"))).contains("VOID"))
        << "a void receipt says so";
    EXPECT_TRUE(voided.contains("1,234")) << "and stays readable";
}

} // namespace
} // namespace zelkor
