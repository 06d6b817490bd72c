// What a bill posts and corrects: partial bills of a receipt line and the write-off of the rest,
// a foreign bill above the receipt's price at another rate, direct lines with a spread expense,
// and that every void puts each figure back.
#include "bill_posting_fixture.h"

#include "documents/bill/settlement_posting.h"
#include "ledger/ledger_posting.h"
#include "stock/layer_issue.h"

namespace zelkor {
namespace {

class BillPostings : public BillPosting {
protected:
    Decimal receipt_line(const QString& rc, const char* column)
    {
        return t.decimal(QStringLiteral("SELECT ") + column
                             + " FROM PO_receipt_transaction_table WHERE docno = ? AND landed_item = FALSE AND itemno = 1",
                         {rc});
    }
    Decimal layer_amount(const QString& rc)
    {
        return t.decimal("SELECT COALESCE(SUM(amount), 0) FROM FIFO_table WHERE receipt_no = ?", {rc});
    }
    /// Issues stock from its layers as a sale would, with the entry that moves its value to the
    /// cost of goods sold.
    void issue(const QString& item, const QString& warehouse, const QString& location, const Decimal& quantity)
    {
        Transaction tx(t.db());
        auto issued = issue_from_layers(t.db(), {{item, warehouse, location}, quantity, Decimal()},
                                        {"IS-1", "SALE", QDate(2026, 3, 10)});
        ASSERT_TRUE(issued) << issued.error().message.toStdString();
        const Decimal value = -issued->issued.value;
        auto entry = signed_entry(t.db(), {{"5000", value, value}, {"1300", -value, -value}}, QString());
        ASSERT_TRUE(entry);
        JournalDocument document{.description = "Sale", .remark = {}, .source = "SALE", .source_form = {},
                                 .source_docno = "IS-1", .date = QDate(2026, 3, 10), .currency = {},
                                 .exchange_rate = std::nullopt, .vendor_no = {}, .user = "ADMIN", .company = 1,
                                 .period = std::nullopt};
        ASSERT_TRUE(post_entry(t.db(), document, entry->entry, &entry->ahead));
        ASSERT_TRUE(tx.commit());
    }
};

TEST_F(BillPostings, PartialBillsClearTheReceiptToTheCentAndTheirVoidsUndoOnlyTheirOwnEffect)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    const QString rc = receipt(po, {{1, "10"}});
    const QStringList before = bill_figures(t);
    const Decimal received_value = layer_amount(rc);

    // Six of ten: the suspense keeps what the four still open received (cost and tax).
    bill_receipt(rc, "INV-6");
    ASSERT_EQ(type(0, "quantity", "6"), Entry::Accepted);
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(receipt_line(rc, "quantity_open_for_bill"), Decimal(4));
    EXPECT_EQ(receipt_line(rc, "quantity_billed"), Decimal(6));
    EXPECT_EQ(ledger("2050", "V1001").first.abs(), Decimal("127.20"));
    EXPECT_TRUE(t.text("SELECT icfkey FROM PO_invoice_header_table WHERE docno = 'VI-26-00001'").isEmpty());
    expect_consistent();

    // The open four are proposed; three billed as complete write the fourth off: its received
    // cost leaves the stock and the inventory account, and the suspense is clear.
    bill_receipt(rc, "INV-3");
    EXPECT_EQ(lines().cell(0, "quantity"), "4");
    ASSERT_EQ(type(0, "quantity", "3"), Entry::Accepted);
    ASSERT_EQ(type(0, "complete", check_text(true)), Entry::Accepted);
    EXPECT_EQ(save(), "Add new invoice VI-26-00002 complete");
    EXPECT_EQ(receipt_line(rc, "quantity_open_for_bill"), Decimal(0));
    EXPECT_EQ(receipt_line(rc, "quantity_adjusted"), Decimal(-1));
    EXPECT_EQ(t.count("PO_receipt_header_table WHERE fully_billed = TRUE"), 1);
    EXPECT_EQ(t.count("PO_transaction_table WHERE fully_billed = TRUE"), 1);
    EXPECT_EQ(ledger("2050", "V1001"), std::pair(Decimal(0), Decimal(0)));
    EXPECT_EQ(layer_amount(rc), received_value - Decimal(30));
    EXPECT_EQ(posted("VI-26-00002", "1300"), Decimal(-30));
    EXPECT_EQ(t.count("IN_transaction_table l INNER JOIN IN_header_table h ON h.fkey = l.fkey WHERE h.doctype = 'ij'"
                      " AND h.source_docno = 'VI-26-00002' AND l.adjustment_type = 4 AND l.quantity = 0"
                      " AND l.extended_cost = -30"),
              1);
    expect_consistent();

    // Voiding the first leaves the second's write-off: six open again, not seven.
    EXPECT_EQ(void_bill_number("VI-26-00001"), "Document no. VI-26-00001 is void.");
    EXPECT_EQ(receipt_line(rc, "quantity_open_for_bill"), Decimal(6));
    EXPECT_EQ(receipt_line(rc, "quantity_adjusted"), Decimal(-1));
    expect_consistent();
    EXPECT_EQ(void_bill_number("VI-26-00002"), "Document no. VI-26-00002 is void.");
    EXPECT_EQ(bill_figures(t), before);
    EXPECT_EQ(t.count("IN_header_table WHERE doctype = 'ij' AND void = FALSE"), 0);
    expect_consistent();
}

TEST_F(BillPostings, AForeignBillAboveTheReceiptsPriceAtAnotherRateClearsTheSuspenseInBothCurrencies)
{
    const QString po = order("V2001", {{"BOLT-M8", "100", "pcs", "0.50"}, {"BOLT-M8", "100", "pcs", "0.50"}}, "EUR");
    const QString rc = receipt(po, {{1, "100"}, {2, "100"}});
    ASSERT_EQ(t.decimal("SELECT exchange_rate FROM PO_receipt_header_table WHERE docno = ?", {rc}), Decimal("1.1"));
    const QStringList before = bill_figures(t);

    // The second line's stock is sold before the bill: its difference goes to the item's
    // variance account, the first line's to its layer.
    const Decimal second_layer = t.decimal("SELECT amount FROM FIFO_table WHERE receipt_no = ? ORDER BY lot_id DESC", {rc});
    issue("BOLT-M8", "MAIN", "A-02", Decimal(100));
    ASSERT_EQ(t.count("FIFO_table WHERE receipt_no = '" + rc + "'"), 1);
    const Decimal variance_before = ledger("5100").second;

    bill_receipt(rc, "EU-1", "V2001");
    ASSERT_EQ(window.type_into("exchange_rate", "1.2"), Entry::Accepted) << prompter.last().toStdString();
    ASSERT_EQ(type(0, "unit cost", "0.6"), Entry::Accepted);
    ASSERT_EQ(type(1, "unit cost", "0.6"), Entry::Accepted);
    ASSERT_EQ(type(1, "tax included", check_text(true)), Entry::Accepted);
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(ledger("2050", "V2001"), std::pair(Decimal(0), Decimal(0)));
    EXPECT_FALSE(t.text("SELECT icfkey FROM PO_invoice_header_table WHERE docno = 'VI-26-00001'").isEmpty());
    // 100 at 0.60 at 1.20 against 100 at 0.50 at 1.10: the first layer takes 17.00.
    EXPECT_EQ(layer_amount(rc), Decimal("55.00") + Decimal("17.00"));
    EXPECT_NE(ledger("5100").second, variance_before);
    EXPECT_NE(second_layer, Decimal(0));
    expect_consistent();

    EXPECT_EQ(void_bill_number("VI-26-00001"), "Document no. VI-26-00001 is void.");
    EXPECT_EQ(t.count("IN_header_table WHERE doctype = 'ij' AND void = FALSE AND source_docno = 'VI-26-00001'"), 0);
    EXPECT_EQ(layer_amount(rc), Decimal("55.00"));
    expect_consistent();
    EXPECT_NE(bill_figures(t), before); // the sale stays
}

TEST_F(BillPostings, AverageAndStandardCostItemsTakeTheirDifferencesAndAVoidAfterASaleKeepsStockAndLedgerEqual)
{
    const QString po = order("V1001", {{"WIRE-CU", "100", "m", "2"}, {"PAINT-5L", "10", "can", "17"},
                                       {"WIDGET-A", "10", "box", "30"}});
    const QString rc = receipt(po, {{1, "100"}, {2, "10"}, {3, "10"}});
    const QStringList before = bill_figures(t);
    const Decimal wire_value = t.decimal("SELECT SUM(Value) FROM Item_onhand_table WHERE itemcode = 'WIRE-CU'");

    // Dearer by 0.10 a metre, 1 a can and 3 a box: the wire's on-hand value and the widgets'
    // layer take theirs, the paint (at standard cost) goes to purchase variance.
    bill_receipt(rc, "AVG-1");
    ASSERT_EQ(type(0, "unit cost", "2.1"), Entry::Accepted);
    ASSERT_EQ(type(1, "unit cost", "18"), Entry::Accepted);
    ASSERT_EQ(type(2, "unit cost", "33"), Entry::Accepted);
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(t.decimal("SELECT SUM(Value) FROM Item_onhand_table WHERE itemcode = 'WIRE-CU'"), wire_value + Decimal(10));
    EXPECT_EQ(posted("VI-26-00001", "5100"), Decimal(10));
    EXPECT_EQ(t.count("IN_transaction_table l INNER JOIN IN_header_table h ON h.fkey = l.fkey"
                      " WHERE h.source_docno = 'VI-26-00001' AND h.doctype = 'ij'"),
              2);
    expect_consistent();

    // Six of the ten widgets are sold: the void takes back from stock what is still there and
    // leaves the rest with the sale, the ledger following stock.
    const Decimal opening = t.decimal("SELECT SUM(quantity) FROM FIFO_table WHERE itemcode = 'WIDGET-A'"
                                      " AND warehouse = 'MAIN' AND receipt_no <> ?", {rc});
    const Decimal received = t.decimal("SELECT quantity FROM FIFO_table WHERE itemcode = 'WIDGET-A' AND receipt_no = ?", {rc});
    issue("WIDGET-A", "MAIN", "A-01", opening + received * Decimal("0.6"));
    expect_consistent();
    EXPECT_EQ(void_bill_number("VI-26-00001"), "Document no. VI-26-00001 is void.");
    expect_consistent();
    EXPECT_NE(bill_figures(t), before);
}

TEST_F(BillPostings, AForeignDirectBillOffByACentInBaseGetsOneGainOrLossLine)
{
    start("V2001");
    ASSERT_EQ(window.type_into("invoice_no", "EU-2"), Entry::Accepted);
    ASSERT_EQ(window.type_into("exchange_rate", "1.2345"), Entry::Accepted) << prompter.last().toStdString();
    ASSERT_EQ(type(0, "item code", "HANDLING"), Entry::Accepted);
    ASSERT_EQ(type(0, "extended cost", "10"), Entry::Accepted);
    ASSERT_EQ(type(0, "tax code", "ST"), Entry::Accepted);
    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(t.count("GL_transaction_table g INNER JOIN PO_invoice_header_table b ON b.GLFKEY = g.fkey"
                      " WHERE g.accno IN ('4200', '6300')"),
              1);
    expect_consistent();
}

TEST_F(BillPostings, ADirectBillSpreadsItsExpenseExactlyAndRefusesAnInventoryAccount)
{
    start("V1001");
    ASSERT_EQ(window.type_into("invoice_no", "DIR-1"), Entry::Accepted);
    const QStringList accounts{"6000", "6100", "6400"};
    for (int row = 0; row < 3; ++row) {
        if (row > 0)
            lines().append_row();
        ASSERT_EQ(type(row, "item type", "4"), Entry::Accepted);
        ASSERT_EQ(type(row, "item code", "PART-" + QString::number(row)), Entry::Accepted);
        ASSERT_EQ(type(row, "extended cost", "10"), Entry::Accepted);
        ASSERT_EQ(type(row, "tax code", "EXEMPT"), Entry::Accepted);
        ASSERT_EQ(type(row, "account", accounts[row]), Entry::Accepted) << prompter.last().toStdString();
    }
    lines().append_row();
    ASSERT_EQ(type(3, "item type", "4"), Entry::Accepted);
    ASSERT_EQ(type(3, "item code", "SHARED"), Entry::Accepted);
    ASSERT_EQ(type(3, "extended cost", "100"), Entry::Accepted);
    ASSERT_EQ(type(3, "tax code", "EXEMPT"), Entry::Accepted);
    ASSERT_EQ(type(3, "account", "6500"), Entry::Accepted);
    ASSERT_EQ(type(3, "expense", check_text(true)), Entry::Accepted);

    // A line that moves no stock cannot charge an inventory account.
    lines().set_cell(0, "account", "1300");
    EXPECT_EQ(save_refusal(), "account number for PART-0 is invalid.");
    lines().set_cell(0, "account", "6000");

    EXPECT_EQ(save(), "Add new invoice VI-26-00001 complete");
    EXPECT_EQ(posted("VI-26-00001", "6000"), Decimal("43.33"));
    EXPECT_EQ(posted("VI-26-00001", "6100"), Decimal("43.34"));
    EXPECT_EQ(posted("VI-26-00001", "6400"), Decimal("43.33"));
    EXPECT_EQ(posted("VI-26-00001", "6500"), Decimal(0));
    EXPECT_EQ(t.count("PO_invoice_transaction_table WHERE expense = TRUE AND itemcode = 'SHARED'"), 1);
    EXPECT_EQ(t.decimal("SELECT owing_balance FROM Vendor_table WHERE vendor_no = 'V1001'"), Decimal(130));
    expect_consistent();
}

} // namespace
} // namespace zelkor
