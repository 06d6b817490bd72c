// Receiving orders through the window: what a save writes to the receipt, the orders, the ledger
// and stock, and what the clerk is asked before it.
#include "tests/support/receipt_window_fixture.h"

namespace zelkor {
namespace {

/// An order of every kind of line the demo company buys from Acme (tax ST, 6 % recoverable).
std::vector<LineSpec> mixed_lines()
{
    return {{"WIDGET-A", "10", "box", "30"}, // FIFO, 12 pcs a box
            {"BOLT-M8", "5", "box", "12"},   // LIFO, 100 pcs a box
            {"PAINT-5L", "5", "box", "70"},  // standard cost 18.00 a can, 4 cans a box
            {"WIRE-CU", "2", "roll", "100"}, // moving average, 50 m a roll, account 1310
            {"MANUAL-OPS", "3", "each", "15"},
            {"INSTALL", "1", "", "80", "5"}};
}

TEST_F(ReceiptWindow, ReceivesAWholeOrderIntoStockLedgerAndOrder)
{
    const QString po = order("V1001", mixed_lines());
    start("V1001", po);
    EXPECT_EQ(window.order_lines().row_count(), 6);
    EXPECT_EQ(window.field("payment_term"), "30");
    EXPECT_EQ(window.field("period"), "3");
    EXPECT_EQ(window.field("fyear"), "2026");
    // A picked line takes its item's default place, and keeps its order's beside it.
    pick({0, 1, 2, 3, 4, 5});
    EXPECT_EQ(lines().cell(0, "warehouse"), "MAIN");
    EXPECT_EQ(lines().cell(0, "location"), "A-01");
    EXPECT_EQ(lines().cell(0, "PO warehouse"), "MAIN");
    EXPECT_EQ(lines().cell(0, "quantity received"), "10");
    EXPECT_EQ(lines().cell(2, "extended cost"), "350.00");
    EXPECT_EQ(lines().cell(2, "tax amount"), "21.00");
    EXPECT_EQ(window.field("total"), "1,097.10");

    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(prompter.last(), "Add new Receipt no. RO-26-00001 complete");
    EXPECT_EQ(window.field("docno"), "RO-26-00001");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);

    // The receipt: header with its keys, lines open for bill by all they received.
    EXPECT_EQ(t.text("SELECT vendor_no || ' ' || PONO || ' ' || period || ' ' || fyear || ' ' || payby"
                     " FROM PO_receipt_header_table"),
              "V1001 " + po + " 3 2026 Pay Later");
    EXPECT_EQ(t.decimal("SELECT total FROM PO_receipt_header_table"), Decimal("1097.10"));
    EXPECT_EQ(t.count("PO_receipt_transaction_table WHERE quantity_open_for_bill = quantity_received AND billed = FALSE"), 6);
    EXPECT_EQ(t.text("SELECT po_warehouse || '/' || po_location FROM PO_receipt_transaction_table WHERE itemno = 1"),
              "MAIN/A-01");

    // The entry: the standard-cost item takes 20 cans at 18.00, the variance the rest; the
    // suspense credit is exactly the sum of the debits.
    const QString entry = key_of("RO-26-00001", "GLFKEY");
    EXPECT_EQ(journal(entry), (QStringList{"1300 720.00 720.00", "1400 62.10 62.10", "5100 -10.00 -10.00",
                                           "1310 200.00 200.00", "6000 125.00 125.00", "2050 1097.10 1097.10"}));
    EXPECT_EQ(t.text("SELECT remark || '|' || Source || '|' || period || '|' || fyear FROM GL_header_table WHERE fkey = ?",
                     {entry}),
              "Receipt no. RO-26-00001|PO-RECEIPT|3|2026");

    // Stock: quantities in stock units, values at cost (at standard for paint), new layers.
    EXPECT_EQ(on_hand("WIDGET-A", "MAIN", "A-01"), "360 912.00");
    EXPECT_EQ(on_hand("BOLT-M8", "MAIN", "A-02"), "800 92.00");
    EXPECT_EQ(on_hand("PAINT-5L", "MAIN", "B-01"), "60 1080.00");
    EXPECT_EQ(on_hand("WIRE-CU", "EAST", "E-01"), "250.5 576.25");
    EXPECT_EQ(t.count("FIFO_table WHERE receipt_no = 'RO-26-00001'"), 2);
    EXPECT_EQ(t.decimal("SELECT unitcost FROM FIFO_table WHERE receipt_no = 'RO-26-00001' AND itemcode = 'WIDGET-A'"),
              Decimal("2.5"));
    EXPECT_EQ(t.count("IN_transaction_table WHERE source_docno = 'RO-26-00001'"), 5);
    EXPECT_EQ(balance("1300"), Decimal("2084"));

    // The order: every line received and closed, nothing left on order.
    EXPECT_EQ(t.count("PO_transaction_table WHERE docno = ? AND quantity_open = 0 AND closed = TRUE", {po}), 6);
    EXPECT_EQ(t.count("PO_header_table WHERE docno = ? AND received = TRUE AND fully_received = TRUE", {po}), 1);
    for (const char* item : {"WIDGET-A", "BOLT-M8", "PAINT-5L", "MANUAL-OPS"})
        EXPECT_EQ(t.decimal("SELECT SUM(po_quantity) FROM Item_onhand_table WHERE itemcode = ?", {item}), Decimal(0)) << item;
    expect_consistent();
}

} // namespace
} // namespace zelkor
