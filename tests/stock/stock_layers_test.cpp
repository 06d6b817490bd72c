#include "stock_fixture.h"

namespace zelkor {
namespace {

class StockLayers : public StockTest {
protected:
    QString widgets(const char* quantity, const char* extended_cost, const QString& receipt_no = QStringLiteral("RO-26-00001"))
    {
        return received_key(receipt(receipt_no), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), quantity, extended_cost)});
    }

    QStringList history(const QString& item = QStringLiteral("WIDGET"))
    {
        auto rows = db().select(QStringLiteral("SELECT docno, quantity, amount, Reverse FROM FIFO_history_table"
                                               " WHERE itemcode = ? ORDER BY id"),
                                {item});
        EXPECT_TRUE(rows);
        QStringList found;
        for (const Row& row : *rows)
            found << row.text(u"docno") + u' ' + row.decimal(u"quantity").to_string() + u' '
                    + row.decimal(u"amount").to_fixed(2) + (row.flag(u"Reverse") ? QStringLiteral(" reverse") : QString());
        return found;
    }
};

TEST_F(StockLayers, VoidedReceiptLeavesNoLayerAndTwoOppositeHistoryRows)
{
    const QString key = widgets("10", "25.00");
    auto reversed = reverse(key);
    ASSERT_TRUE(reversed) << reversed.error().message.toStdString();
    EXPECT_EQ(reversed->change, (StockChange{Decimal(-10), Decimal("-25.00")}));
    EXPECT_TRUE(layers(QStringLiteral("WIDGET")).isEmpty());
    EXPECT_EQ(history(), (QStringList{"RO-26-00001 10 25.00", "RO-26-00001 -10 -25.00 reverse"}));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("0 0.00"));
    EXPECT_EQ(t.text(QStringLiteral("SELECT remark FROM IN_transaction_table WHERE fkey = ? AND lineno = 2"), {key}),
              QStringLiteral("reverse line 1"));
    EXPECT_EQ(t.decimal(QStringLiteral("SELECT stock_value FROM IN_transaction_table WHERE fkey = ? AND lineno = 2"), {key}),
              Decimal("-25.00"));
    EXPECT_TRUE(t.scalar(QStringLiteral("SELECT void FROM IN_header_table WHERE fkey = ?"), {key}).toBool());
    expect_consistent();

    auto again = reverse(key);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().message, QStringLiteral("Inventory document IR-26-00001 is already void."));
    auto missing = reverse(QStringLiteral("1ir-99"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, Error::Kind::NotFound);
    EXPECT_EQ(missing.error().message, QStringLiteral("1ir-99 document does not exist"));
    auto none = reverse(QString());
    ASSERT_TRUE(none);
    EXPECT_EQ(none->change, StockChange{});
}

// A receipt whose stock was partly issued since leaves the issued part negative, flagged, at
// its own unit cost; the next receipt does not net it, the next issue does and reports the
// value difference.
TEST_F(StockLayers, PartlyConsumedReceiptTurnsNegativeAndTheNextIssueNetsIt)
{
    const QString key = widgets("10", "25.00");
    auto issued = issue(QStringLiteral("WIDGET"), "4");
    ASSERT_TRUE(issued) << issued.error().message.toStdString();
    EXPECT_EQ(issued->issued, (StockChange{Decimal(-4), Decimal("-10.00")}));
    ASSERT_TRUE(reverse(key));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"-4 -10.00 2.5 negative"}));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("-4 -10.00"));
    expect_consistent();

    widgets("10", "30.00", QStringLiteral("RO-26-00002"));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"-4 -10.00 2.5 negative", "10 30.00 3"}));
    auto netting = issue(QStringLiteral("WIDGET"), "2", bill(QStringLiteral("VI-26-00002")));
    ASSERT_TRUE(netting) << netting.error().message.toStdString();
    EXPECT_EQ(netting->issued, (StockChange{Decimal(-2), Decimal("-6.00")}));
    // 4 pieces worth 12.00 absorbed the negative layer's -10.00.
    EXPECT_EQ(netting->netted, (StockChange{Decimal(0), Decimal("-2.00")}));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"4 12.00 3"}));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("4 12.00"));
    expect_consistent();

    // Voiding the netting bill's stock brings back both layers exactly.
    ASSERT_TRUE(saved([&] { return reverse_document_layers(db(), bill(QStringLiteral("VI-26-00002")), {"WIDGET", "MAIN", "A1"}); }));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"-4 -10.00 2.5 negative", "10 30.00 3"}));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("6 20.00"));
    expect_consistent();
}

TEST_F(StockLayers, UsedUpReceiptIsRecreatedNegative)
{
    const QString key = widgets("10", "25.00");
    ASSERT_TRUE(issue(QStringLiteral("WIDGET"), "10"));
    EXPECT_TRUE(layers(QStringLiteral("WIDGET")).isEmpty());
    EXPECT_EQ(t.count(QStringLiteral("FIFO_table WHERE \"delete\" = TRUE")), 0);
    ASSERT_TRUE(reverse(key));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"-10 -25.00 2.5 negative"}));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("-10 -25.00"));
    expect_consistent();
}

// Numbers repeat across document types and, without year digits, across years: a reversal
// touches only the history of its own document.
TEST_F(StockLayers, ReversalLeavesDocumentsOfTheSameNumberAlone)
{
    const QString receipt_key = widgets("10", "25.00", QStringLiteral("X-00001"));
    const NewLayer returned{{"WIDGET", "MAIN", "A1"}, QStringLiteral("FIFO"), Decimal(5), Decimal("15.00"), QStringLiteral("pcs"), 4};
    ASSERT_TRUE(saved([&] { return add_layer(db(), bill(QStringLiteral("X-00001")), returned); }));
    const QDate next_year(2027, 3, 15);
    ASSERT_TRUE(saved([&] { return add_layer(db(), {QStringLiteral("X-00001"), receipt_source(), next_year}, returned); }));
    ASSERT_EQ(layers(QStringLiteral("WIDGET")).size(), 3);

    ASSERT_TRUE(reverse(receipt_key));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"5 15.00 3", "5 15.00 3"}));
    auto reversed = saved([&] { return reverse_document_layers(db(), {QStringLiteral("X-00001"), receipt_source(), next_year},
                                                               {"WIDGET", "MAIN", "A1"}); });
    ASSERT_TRUE(reversed);
    EXPECT_EQ(reversed->change, (StockChange{Decimal(-5), Decimal("-15.00")}));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"5 15.00 3"}));
    EXPECT_EQ(t.text(QStringLiteral("SELECT Source FROM FIFO_history_table WHERE lot_id IN (SELECT lot_id FROM FIFO_table)")),
              QStringLiteral("PO-BILL"));
    expect_consistent();
}

TEST_F(StockLayers, IssueTakesFifoOldestAndLifoNewestFirstAtEachLayersCost)
{
    // A mark left on another item's layer is not this issue's to sweep.
    received_key(receipt(QStringLiteral("RO-26-00009")), {line(QStringLiteral("OLDPART"), QStringLiteral("pcs"), "1", "1.00")});
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE FIFO_table SET \"delete\" = TRUE WHERE itemcode = 'OLDPART'")));
    for (const char* item : {"WIDGET", "BOLT"}) {
        const QString location = item == QByteArrayView("BOLT") ? QStringLiteral("A2") : QStringLiteral("A1");
        received_key(receipt(), {line(item, QStringLiteral("pcs"), "10", "20.00", QStringLiteral("MAIN"), location),
                                 line(item, QStringLiteral("pcs"), "10", "30.00", QStringLiteral("MAIN"), location),
                                 line(item, QStringLiteral("pcs"), "10", "40.00", QStringLiteral("MAIN"), location)});
        auto issued = issue(item, "15", bill(), QStringLiteral("MAIN"), location);
        ASSERT_TRUE(issued) << issued.error().message.toStdString();
        EXPECT_EQ(issued->netted, StockChange{});
        if (item == QByteArrayView("WIDGET")) {
            EXPECT_EQ(issued->issued.value, Decimal("-35.00"));
            EXPECT_EQ(layers(item), (QStringList{"5 15.00 3", "10 40.00 4"}));
        } else {
            EXPECT_EQ(issued->issued.value, Decimal("-55.00"));
            EXPECT_EQ(layers(item), (QStringList{"10 20.00 2", "5 15.00 3"}));
        }
        EXPECT_EQ(on_hand(item, QStringLiteral("MAIN"), location), QStringLiteral("15 ") + (item == QByteArrayView("WIDGET") ? "55.00" : "35.00"));
    }
    EXPECT_EQ(t.count(QStringLiteral("FIFO_table WHERE itemcode = 'OLDPART'")), 1);
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE FIFO_table SET \"delete\" = FALSE WHERE itemcode = 'OLDPART'")));
    expect_consistent();
}

// 7 pieces for 10.00 at two decimals: what leaves is the old amount less the remaining
// quantity's value, so the last piece takes the rest and not a cent is made or lost.
TEST_F(StockLayers, IssuesConserveValueToTheCentAndCoverAShortfallWithANegativeLayer)
{
    received_key(receipt(), {line(QStringLiteral("OLDPART"), QStringLiteral("pcs"), "7", "10.00")});
    Decimal issued_value;
    for (const char* quantity : {"3", "3"}) {
        auto issued = issue(QStringLiteral("OLDPART"), quantity);
        ASSERT_TRUE(issued);
        issued_value += issued->issued.value;
    }
    EXPECT_EQ(issued_value, Decimal("-8.57"));
    EXPECT_EQ(layers(QStringLiteral("OLDPART")), (QStringList{"1 1.43 1.43"}));

    // 4 more: the last piece at its own value, 3 uncovered at the warehouse's last cost.
    auto short_issue = issue(QStringLiteral("OLDPART"), "4");
    ASSERT_TRUE(short_issue);
    EXPECT_EQ(short_issue->issued, (StockChange{Decimal(-4), Decimal("-5.72")})); // 1.43 + 3 x 1.43
    EXPECT_EQ(layers(QStringLiteral("OLDPART")), (QStringList{"-3 -4.29 1.43 negative"}));
    EXPECT_EQ(on_hand(QStringLiteral("OLDPART")), QStringLiteral("-3 -4.29"));

    // Without a last cost the caller's unit cost values the rest.
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Item_warehouse_table SET last_cost = NULL WHERE itemcode = 'WIDGET'")));
    auto uncovered = issue(QStringLiteral("WIDGET"), "2", bill(), QStringLiteral("MAIN"), QStringLiteral("A1"), "2.50");
    ASSERT_TRUE(uncovered);
    EXPECT_EQ(uncovered->issued, (StockChange{Decimal(-2), Decimal("-5.00")}));
    expect_consistent();

    auto refused = issue(QStringLiteral("PAINT"), "1");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, QStringLiteral("Item PAINT keeps no cost layers in warehouse MAIN."));
    EXPECT_EQ(issue(QStringLiteral("WIDGET"), "-1").error().message, QStringLiteral("negative quantity is invalid."));
}

} // namespace
} // namespace zelkor

namespace zelkor {
namespace {

// A landed charge raises a receipt's layer; when it is voided after part of the stock was
// issued, only the share still in stock comes back, and the rest is reported for the caller to
// post.
TEST_F(StockLayers, VoidedCostAdjustmentTakesBackOnlyWhatIsStillInStock)
{
    received_key(receipt(), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "10", "25.00")});
    const QString lot = t.text(QStringLiteral("SELECT lot_id FROM FIFO_table"));
    const LayerDocument landed{QStringLiteral("LD-26-00001"), landed_source(), Today};
    auto adjusted = saved([&]() -> std::expected<DocumentNumber, Error> {
        InventoryHeader header{QStringLiteral("ij"), Today, {QStringLiteral("2026"), 3}, QStringLiteral("Landed cost"),
                               QStringLiteral("USD"), std::nullopt, QDate(), landed_source(),
                               QStringLiteral("Landed Cost Entry"), landed.docno, {QStringLiteral("ADMIN"), {}}};
        auto change = adjust_layer_value(db(), landed, {"WIDGET", "MAIN", "A1"}, lot, Decimal("5.00"));
        if (!change)
            return std::unexpected(change.error());
        InventoryLine adjustment;
        adjustment.lineno = 1;
        adjustment.itemcode = QStringLiteral("WIDGET");
        adjustment.warehouse = QStringLiteral("MAIN");
        adjustment.location = QStringLiteral("A1");
        adjustment.adjustment_type = 3;
        adjustment.stock_uom = QStringLiteral("pcs");
        adjustment.extended_cost = Decimal("5.00");
        adjustment.stock_value = change->value;
        return write_inventory_document(db(), header, {adjustment});
    });
    ASSERT_TRUE(adjusted) << adjusted.error().message.toStdString();
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"10 30.00 3"}));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("10 30.00"));
    ASSERT_TRUE(issue(QStringLiteral("WIDGET"), "6"));
    expect_consistent();

    auto reversed = reverse(adjusted->fkey);
    ASSERT_TRUE(reversed) << reversed.error().message.toStdString();
    EXPECT_EQ(reversed->change, (StockChange{Decimal(0), Decimal("-2.00")}));
    EXPECT_EQ(reversed->value_not_taken_back, Decimal("3.00"));
    EXPECT_EQ(layers(QStringLiteral("WIDGET")), (QStringList{"4 10.00 2.5"}));
    EXPECT_EQ(on_hand(QStringLiteral("WIDGET")), QStringLiteral("4 10.00"));
    expect_consistent();

    // The receipt's layer keeps its landed cost: voiding the receipt first is refused.
    received_key(receipt(QStringLiteral("RO-26-00002")), {line(QStringLiteral("WIDGET"), QStringLiteral("pcs"), "2", "6.00")});
    const QString second_lot = t.text(QStringLiteral("SELECT MAX(lot_id) FROM FIFO_table"));
    ASSERT_TRUE(saved([&] { return adjust_layer_value(db(), landed, {"WIDGET", "MAIN", "A1"}, second_lot, Decimal("1.00")); }));
    const QStringList before = stock_state();
    auto refused = reverse(t.text(QStringLiteral("SELECT fkey FROM IN_header_table WHERE source_docno = 'RO-26-00002'")));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, Error::Kind::Invalid);
    EXPECT_EQ(stock_state(), before);
}

} // namespace
} // namespace zelkor
