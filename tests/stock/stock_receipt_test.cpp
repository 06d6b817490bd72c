#include "stock_fixture.h"

namespace zelkor {
namespace {

class StockReceiving : public StockTest {
protected:
    Row in_line(const QString& fkey, int lineno)
    {
        auto row = db().first(QStringLiteral("SELECT * FROM IN_transaction_table WHERE fkey = ? AND lineno = ?"), {fkey, lineno});
        EXPECT_TRUE(row && *row);
        return row && *row ? **row : Row();
    }
};

// One foreign-currency receipt with every kind of line the stock service meets.
TEST_F(StockReceiving, ReceiptWritesDocumentOnHandLayersAndLastCosts)
{
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO UOM_conversion_table (itemcode, uom_from, uom_to, quantity_from,"
                                            " quantity_to) VALUES ('PAINT', 'box', 'can', 1, 4)")));
    StockReceipt r = receipt();
    r.currency = QStringLiteral("EUR");
    r.exchange_rate = Decimal("1.1");
    StockReceiptLine glue = line(QStringLiteral("GLUE"), QStringLiteral("kg"), "10", "52.50", QStringLiteral("EAST"),
                                 QStringLiteral("E1"));
    glue.tax_included = true;
    glue.tax_amount = Decimal("2.50");
    glue.allocated_tax = Decimal("1.00");
    StockReceiptLine cancelled = line(QStringLiteral("BOLT"), QStringLiteral("box"), "0", "0");
    StockReceiptLine charge = line(QStringLiteral("FREIGHT"), QString(), "1", "9.00");
    charge.itemtype = QStringLiteral("6");
    const std::vector<StockReceiptLine> lines{
        line(QStringLiteral("WIDGET"), QStringLiteral("box"), "10", "300.00"),
        line(QStringLiteral("PAINT"), QStringLiteral("box"), "5", "80.00"),
        glue,
        line(QStringLiteral("MANUAL"), QStringLiteral("each"), "3", "15.00"),
        cancelled,
        charge,
        line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "7", "10.00", QStringLiteral("MAIN"), QStringLiteral("A2")),
        line(QStringLiteral("OLDPART"), QStringLiteral("pcs"), "7", "10.00"),
    };
    auto received = receive(r, lines);
    ASSERT_TRUE(received) << received.error().message.toStdString();
    ASSERT_TRUE(*received);
    const ReceivedStock& stock = **received;
    EXPECT_EQ(stock.document.docno, QStringLiteral("IR-26-00001"));
    EXPECT_EQ(stock.document.fkey, QStringLiteral("1ir-1"));
    ASSERT_EQ(stock.lines.size(), 6u); // the cancelled line and the charge reach no stock
    EXPECT_EQ(stock.lines[4].index, 6u);
    EXPECT_EQ(stock.lines[4].lineno, 5);
    EXPECT_EQ(stock.lines[0].value, Decimal("330.00"));
    EXPECT_EQ(stock.lines[1].value, Decimal("200.00")); // 20 cans at the standard 10.00
    EXPECT_EQ(stock.lines[2].value, Decimal("56.10"));  // (52.50 - 2.50 + 1.00) x 1.1
    EXPECT_EQ(stock.lines[3].value, Decimal(0));
    EXPECT_EQ(stock.lines[4].value, Decimal("11.00"));

    auto header = db().first(QStringLiteral("SELECT * FROM IN_header_table WHERE fkey = '1ir-1'"));
    ASSERT_TRUE(header && *header);
    EXPECT_EQ((*header)->text(u"Description"), QStringLiteral("Receipt no. RO-26-00001"));
    EXPECT_EQ((*header)->text(u"Source"), QStringLiteral("PO-RECEIPT"));
    EXPECT_EQ((*header)->text(u"source_form"), QStringLiteral("Receipt Entry"));
    EXPECT_EQ((*header)->text(u"source_docno"), QStringLiteral("RO-26-00001"));
    EXPECT_EQ((*header)->decimal(u"exchange_rate"), Decimal("1.1"));
    EXPECT_FALSE((*header)->flag(u"void"));

    // The widget line in both units, its cost in euros and its value in dollars.
    const Row widget = in_line(QStringLiteral("1ir-1"), 1);
    EXPECT_EQ(widget.decimal(u"quantity"), Decimal(10));
    EXPECT_EQ(widget.text(u"uom"), QStringLiteral("box"));
    EXPECT_EQ(widget.decimal(u"unitcost"), Decimal(30));
    EXPECT_EQ(widget.decimal(u"extended_cost"), Decimal(300));
    EXPECT_EQ(widget.text(u"stock_uom"), QStringLiteral("pcs"));
    EXPECT_EQ(widget.decimal(u"stock_uom_quantity"), Decimal(120));
    EXPECT_EQ(widget.decimal(u"stock_uom_unitcost"), Decimal("2.5"));
    EXPECT_EQ(widget.decimal(u"quantity_to") / widget.decimal(u"quantity_from"), Decimal(12));
    EXPECT_EQ(widget.decimal(u"stock_value"), Decimal("330.00"));
    const Row manual = in_line(QStringLiteral("1ir-1"), 4);
    EXPECT_EQ(manual.decimal(u"stock_uom_quantity"), Decimal(3));
    EXPECT_EQ(manual.decimal(u"unitcost") + manual.decimal(u"extended_cost") + manual.decimal(u"stock_value"), Decimal(0));
    EXPECT_EQ(in_line(QStringLiteral("1ir-1"), 5).decimal(u"unitcost"), Decimal("1.4286"));
    EXPECT_EQ(t.count(QStringLiteral("IN_transaction_table")), 6);

    // Layers in the stock unit at the base value, each its own lot; 7 pieces keep exactly the
    // 11.00 posted, not 7 x 1.57.
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"120 330.00 2.75", "7 11.00 1.5714"}));
    EXPECT_EQ(layers(QStringLiteral("OLDPART")), (QStringList{"7 11.00 1.57"}));
    EXPECT_EQ(t.text(QStringLiteral("SELECT MIN(lot_id) || ' ' || MAX(lot_id) FROM FIFO_table WHERE itemcode = 'WIDGET'")),
              QStringLiteral("2026031510:00:00 2026031510:00:01"));
    EXPECT_EQ(t.count(QStringLiteral("FIFO_history_table WHERE docno = 'RO-26-00001' AND Source = 'PO-RECEIPT'")), 3);
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("120 330.00"));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET"), QStringLiteral("MAIN"), QStringLiteral("A2")), QStringLiteral("7 11.00"));
    EXPECT_EQ(on_hand(QStringLiteral("PAINT")), QStringLiteral("20 200.00"));
    EXPECT_EQ(on_hand(QStringLiteral("GLUE"), QStringLiteral("EAST"), QStringLiteral("E1")), QStringLiteral("30 116.10"));
    EXPECT_EQ(on_hand(QStringLiteral("MANUAL")), QString());
    EXPECT_EQ(on_hand(QStringLiteral("BOLT"), QStringLiteral("MAIN"), QStringLiteral("A2")), QString());
    EXPECT_TRUE(layers(QStringLiteral("PAINT")).isEmpty());

    // Last costs per stock unit in dollars: net of the tax included, and with the tax capitalised.
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT last_cost FROM Item_warehouse_table WHERE itemcode = 'GLUE'")), Decimal("5.5"));
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT last_cost_plus FROM Item_warehouse_table WHERE itemcode = 'GLUE'")),
              Decimal("5.61"));
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT last_cost FROM Item_warehouse_table WHERE itemcode = 'WIDGET'"
                                       " AND warehouse = 'MAIN'")),
              Decimal("1.5714")); // the later line of the item and warehouse
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT last_cost FROM Item_warehouse_table WHERE itemcode = 'PAINT'")), Decimal("4.4"));
    expect_consistent();
}

// Two receipts of one item and warehouse in the same second (a fixed clock, or two users)
// take the next free seconds, also past a layer that has been used up since.
TEST_F(StockReceiving, LotIdsNeverRepeatForAnItemInAWarehouse)
{
    received_key(receipt(), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "5", "10.00")});
    ASSERT_TRUE(issue(QStringLiteral("WIDGET"), "5"));
    ASSERT_TRUE(layers(QStringLiteral("WIDGET")).isEmpty());
    received_key(receipt(QStringLiteral("RO-26-00002")),
                 {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "5", "10.00"),
                  line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "5", "10.00", QStringLiteral("EAST"),
                       QStringLiteral("E1"))});
    EXPECT_EQ(t.text(QStringLiteral("SELECT lot_id FROM FIFO_table WHERE warehouse = 'MAIN'")),
              QStringLiteral("2026031510:00:01"));
    EXPECT_EQ(t.text(QStringLiteral("SELECT lot_id FROM FIFO_table WHERE warehouse = 'EAST'")),
              QStringLiteral("2026031510:00:00"));

    // A line received free of charge leaves the last costs alone.
    const Decimal last_cost = t.decimal(QStringLiteral("SELECT last_cost FROM Item_warehouse_table WHERE itemcode = 'WIDGET'"
                                                       " AND warehouse = 'MAIN'"));
    received_key(receipt(QStringLiteral("RO-26-00005")), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "1", "0")});
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT last_cost FROM Item_warehouse_table WHERE itemcode = 'WIDGET'"
                                       " AND warehouse = 'MAIN'")),
              last_cost);

    // The last second of the day is the last one there is.
    FixedClock late(Today, QTime(23, 59, 59));
    received_key(receipt(QStringLiteral("RO-26-00003")), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "1", "2.00")});
    const QStringList before = stock_state();
    auto refused = receive(receipt(QStringLiteral("RO-26-00004")), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "1", "2.00")});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, Error::Kind::Invalid);
    EXPECT_EQ(stock_state(), before);
    expect_consistent();
}

TEST_F(StockReceiving, RefusalsWriteNothing)
{
    const QStringList before = stock_state();
    auto refusal = [&](const StockReceipt& r, const std::vector<StockReceiptLine>& lines) {
        auto received = receive(r, lines);
        EXPECT_EQ(stock_state(), before);
        return received ? QString() : received.error().message;
    };
    const StockReceiptLine widget = line(QStringLiteral("WIDGET"), QStringLiteral("box"), "1", "30.00");
    StockReceipt no_number = receipt();
    no_number.landed_total.reset();
    EXPECT_EQ(refusal(no_number, {widget}), QStringLiteral("landed cost is invalid."));
    StockReceipt negative_landed = receipt();
    negative_landed.landed_total = Decimal("-0.01");
    EXPECT_EQ(refusal(negative_landed, {widget}), QStringLiteral("landed cost is invalid."));
    EXPECT_EQ(refusal(receipt(), {widget, line(QStringLiteral("BOLT"), QStringLiteral("box"), "-1", "-5.00")}),
              QStringLiteral("negative quantity is invalid."));
    EXPECT_EQ(refusal(receipt(), {line(QStringLiteral("NOSUCH"), QStringLiteral("pcs"), "1", "1.00")}),
              QStringLiteral("NOSUCH is invalid."));
    EXPECT_EQ(refusal(receipt(), {line(QStringLiteral("BOLT"), QStringLiteral("pcs"), "1", "1.00", QStringLiteral("EAST"))}),
              QStringLiteral("warehouse EAST is invalid."));
    EXPECT_EQ(refusal(receipt(), {line(QStringLiteral("WIDGET"), QStringLiteral("kg"), "1", "1.00")}),
              QStringLiteral("No conversion from UOM (kg) to UOM (pcs) for item WIDGET."));

    // Nothing reaches stock: no document at all.
    auto nothing = receive(receipt(), {line(QStringLiteral("WIDGET"), QStringLiteral("box"), "0", "0")});
    ASSERT_TRUE(nothing);
    EXPECT_FALSE(*nothing);
    EXPECT_EQ(stock_state(), before);
}

} // namespace
} // namespace zelkor
