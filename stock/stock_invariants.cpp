#include "stock/stock_invariants.h"

namespace zelkor {
namespace {

/// Quantities are kept to six decimals and values to cents; less is rounding, not an error.
const Decimal QuantityTolerance("0.000001");
const Decimal ValueTolerance("0.005");

QString quantity_text(const Decimal& value) { return value.round(6).to_string(); }
QString money(const Decimal& value) { return value.round2().to_fixed(2); }

bool differ(const Decimal& a, const Decimal& b, const Decimal& tolerance) { return (a - b).abs() >= tolerance; }

QString figures(const Decimal& quantity, const Decimal& value)
{
    return quantity_text(quantity) + QStringLiteral(" worth ") + money(value);
}

[[nodiscard]] std::expected<QStringList, Error> on_hand_matches_layers(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT w.itemcode, w.warehouse,"
        " (SELECT SUM(o.quantity) FROM Item_onhand_table o WHERE o.company = w.company AND o.itemcode = w.itemcode"
        " AND o.warehouse = w.warehouse) AS onhand_quantity,"
        " (SELECT SUM(o.Value) FROM Item_onhand_table o WHERE o.company = w.company AND o.itemcode = w.itemcode"
        " AND o.warehouse = w.warehouse) AS onhand_value,"
        " (SELECT SUM(f.quantity) FROM FIFO_table f WHERE f.company = w.company AND f.itemcode = w.itemcode"
        " AND f.warehouse = w.warehouse) AS layer_quantity,"
        " (SELECT SUM(f.amount) FROM FIFO_table f WHERE f.company = w.company AND f.itemcode = w.itemcode"
        " AND f.warehouse = w.warehouse) AS layer_amount"
        " FROM Item_warehouse_table w WHERE w.company = 1 AND w.cost_method IN ('FIFO', 'LIFO')"
        " ORDER BY w.itemcode, w.warehouse"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const Decimal quantity = row.decimal(u"onhand_quantity");
        const Decimal value = row.decimal(u"onhand_value");
        const Decimal layer_quantity = row.decimal(u"layer_quantity");
        const Decimal layer_amount = row.decimal(u"layer_amount");
        if (differ(quantity, layer_quantity, QuantityTolerance) || differ(value, layer_amount, ValueTolerance))
            violations << QStringLiteral("item ") + row.text(u"itemcode") + QStringLiteral(" in warehouse ")
                    + row.text(u"warehouse") + QStringLiteral(" has ") + figures(quantity, value)
                    + QStringLiteral(" on hand, its layers ") + figures(layer_quantity, layer_amount);
    }
    return violations;
}

const QString HistorySums = QStringLiteral(
    "(SELECT company, itemcode, warehouse, lot_id, SUM(quantity) AS quantity, SUM(amount) AS amount"
    " FROM FIFO_history_table GROUP BY company, itemcode, warehouse, lot_id) h");

QString lot_name(const Row& row)
{
    return QStringLiteral("layer ") + row.text(u"lot_id") + QStringLiteral(" of ") + row.text(u"itemcode") + u'/'
        + row.text(u"warehouse");
}

[[nodiscard]] std::expected<QStringList, Error> layers_match_history(Database& db)
{
    auto live = db.select(QStringLiteral("SELECT f.itemcode, f.warehouse, f.lot_id, f.quantity, f.amount,"
                                         " h.quantity AS history_quantity, h.amount AS history_amount FROM FIFO_table f"
                                         " LEFT JOIN ")
                          + HistorySums
                          + QStringLiteral(" ON h.company = f.company AND h.itemcode = f.itemcode"
                                           " AND h.warehouse = f.warehouse AND h.lot_id = f.lot_id"
                                           " ORDER BY f.itemcode, f.warehouse, f.lot_id"));
    if (!live)
        return std::unexpected(live.error());
    QStringList violations;
    for (const Row& row : *live)
        if (differ(row.decimal(u"quantity"), row.decimal(u"history_quantity"), QuantityTolerance)
            || differ(row.decimal(u"amount"), row.decimal(u"history_amount"), ValueTolerance))
            violations << lot_name(row) + QStringLiteral(" holds ") + figures(row.decimal(u"quantity"), row.decimal(u"amount"))
                    + QStringLiteral(", its history gives ")
                    + figures(row.decimal(u"history_quantity"), row.decimal(u"history_amount"));
    auto gone = db.select(QStringLiteral("SELECT h.itemcode, h.warehouse, h.lot_id, h.quantity, h.amount FROM ") + HistorySums
                          + QStringLiteral(" WHERE (ABS(h.quantity) >= 0.000001 OR ABS(h.amount) >= 0.005) AND NOT EXISTS"
                                           " (SELECT 1 FROM FIFO_table f WHERE f.company = h.company"
                                           " AND f.itemcode = h.itemcode AND f.warehouse = h.warehouse"
                                           " AND f.lot_id = h.lot_id) ORDER BY h.itemcode, h.warehouse, h.lot_id"));
    if (!gone)
        return std::unexpected(gone.error());
    for (const Row& row : *gone)
        violations << lot_name(row) + QStringLiteral(" is gone, its history gives ")
                + figures(row.decimal(u"quantity"), row.decimal(u"amount"));
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> layers_are_well_formed(Database& db)
{
    auto flawed = db.select(QStringLiteral("SELECT itemcode, warehouse, lot_id, quantity, negative_lot, \"delete\" AS used_up"
                                           " FROM FIFO_table WHERE ABS(quantity) < 0.000001 OR \"delete\" = TRUE"
                                           " OR (negative_lot = TRUE AND quantity >= 0)"
                                           " OR (negative_lot = FALSE AND quantity < 0)"
                                           " ORDER BY itemcode, warehouse, lot_id"));
    if (!flawed)
        return std::unexpected(flawed.error());
    QStringList violations;
    for (const Row& row : *flawed) {
        const Decimal quantity = row.decimal(u"quantity");
        if (row.flag(u"used_up"))
            violations << lot_name(row) + QStringLiteral(" is still marked delete");
        else if (quantity.round(6).is_zero())
            violations << lot_name(row) + QStringLiteral(" holds no quantity");
        else
            violations << lot_name(row) + QStringLiteral(" holds ") + quantity_text(quantity)
                    + (row.flag(u"negative_lot") ? QStringLiteral(" but is flagged negative")
                                                 : QStringLiteral(" but is not flagged negative"));
    }
    auto shared = db.select(QStringLiteral("SELECT itemcode, warehouse, lot_id FROM FIFO_table"
                                           " GROUP BY company, itemcode, warehouse, lot_id HAVING COUNT(*) > 1"
                                           " ORDER BY itemcode, warehouse, lot_id"));
    if (!shared)
        return std::unexpected(shared.error());
    for (const Row& row : *shared)
        violations << lot_name(row) + QStringLiteral(" is not the only layer with its lot id");
    return violations;
}

/// Per inventory document: the sums of its own lines and of its reversal lines.
[[nodiscard]] std::expected<Rows, Error> document_sums(Database& db)
{
    const QString own = QStringLiteral("(l.remark IS NULL OR l.remark NOT LIKE 'reverse line %')");
    const auto sum_of = [&](const QString& column, bool reversal) {
        return QStringLiteral("SUM(CASE WHEN ") + (reversal ? QStringLiteral("NOT ") : QString()) + own
            + QStringLiteral(" THEN l.") + column + QStringLiteral(" ELSE 0 END)");
    };
    QString columns;
    for (const QString& column : {QStringLiteral("quantity"), QStringLiteral("stock_uom_quantity"),
                                  QStringLiteral("extended_cost"), QStringLiteral("stock_value")})
        columns += QStringLiteral(", ") + sum_of(column, false) + QStringLiteral(" AS own_") + column + QStringLiteral(", ")
            + sum_of(column, true) + QStringLiteral(" AS reversed_") + column;
    return db.select(QStringLiteral("SELECT h.fkey, h.docno, h.doctype, h.void, SUM(CASE WHEN ") + own
                     + QStringLiteral(" THEN 0 ELSE 1 END) AS reversal_lines") + columns
                     + QStringLiteral(" FROM IN_header_table h INNER JOIN IN_transaction_table l ON l.fkey = h.fkey"
                                      " GROUP BY h.fkey, h.docno, h.doctype, h.void ORDER BY h.fkey"));
}

/// Whether a reversal took back no more than the document added, towards 0.
bool takes_back_at_most(const Decimal& added, const Decimal& taken_back)
{
    const Decimal left = added + taken_back;
    if (left.abs() < ValueTolerance)
        return true;
    return left.is_negative() == added.is_negative() && left.abs() <= added.abs();
}

[[nodiscard]] std::expected<QStringList, Error> void_documents_cancel(Database& db)
{
    auto documents = document_sums(db);
    if (!documents)
        return std::unexpected(documents.error());
    QStringList violations;
    for (const Row& row : *documents) {
        const QString document = QStringLiteral("inventory document ") + row.text(u"docno") + QStringLiteral(" (")
            + row.text(u"fkey") + u')';
        if (!row.flag(u"void")) {
            if (row.integer(u"reversal_lines") > 0)
                violations << document + QStringLiteral(" is not void but has reversal lines");
            continue;
        }
        QStringList unbalanced;
        for (const QString& column : {QStringLiteral("quantity"), QStringLiteral("stock_uom_quantity"),
                                      QStringLiteral("extended_cost"), QStringLiteral("stock_value")}) {
            const Decimal own = row.decimal(QStringLiteral("own_") + column);
            const Decimal reversed = row.decimal(QStringLiteral("reversed_") + column);
            const bool value_left_allowed = column == u"stock_value" && row.text(u"doctype") == u"ij";
            const bool cancels = value_left_allowed ? takes_back_at_most(own, reversed)
                                                    : !differ(own, -reversed, column.contains(u"quantity")
                                                                                 ? QuantityTolerance
                                                                                 : ValueTolerance);
            if (!cancels)
                unbalanced << column + u' ' + (own + reversed).round(6).to_string();
        }
        if (!unbalanced.isEmpty())
            violations << document + QStringLiteral(" is void but its lines leave ") + unbalanced.join(QStringLiteral(", "));
    }
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> non_stock_items_hold_no_stock(Database& db)
{
    auto rows = db.select(QStringLiteral("SELECT o.itemcode, o.warehouse, o.location, o.quantity, o.Value AS value"
                                         " FROM Item_onhand_table o INNER JOIN Item_master_table i ON i.itemcode = o.itemcode"
                                         " WHERE o.company = 1 AND i.item_type = '2'"
                                         " AND (ABS(o.quantity) >= 0.000001 OR ABS(o.Value) >= 0.005)"
                                         " ORDER BY o.itemcode, o.warehouse, o.location"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        violations << QStringLiteral("non-stock item ") + row.text(u"itemcode") + QStringLiteral(" has ")
                + figures(row.decimal(u"quantity"), row.decimal(u"value")) + QStringLiteral(" on hand at ")
                + row.text(u"warehouse") + u'/' + row.text(u"location");
    return violations;
}

} // namespace

std::vector<InvariantCheck> stock_invariant_checks()
{
    return {
        {QStringLiteral("on-hand stock matches its layers"), on_hand_matches_layers},
        {QStringLiteral("layers match their history"), layers_match_history},
        {QStringLiteral("layers are well formed"), layers_are_well_formed},
        {QStringLiteral("void inventory documents cancel"), void_documents_cancel},
        {QStringLiteral("non-stock items hold no stock"), non_stock_items_hold_no_stock},
    };
}

} // namespace zelkor
