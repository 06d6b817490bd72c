#include "documents/order/po_invariants.h"

#include "stock/stock_units.h"

#include <QMap>

namespace zelkor {
namespace {

/// Quantities are kept to six decimals; a difference below that is rounding, not an error.
const Decimal Tolerance("0.000001");

QString quantity_text(const Decimal& value) { return value.round(6).to_string(); }

[[nodiscard]] std::expected<QStringList, Error> line_quantities_add_up(Database& db)
{
    // An over-receipt leaves nothing open: open = max(0, ordered - received - cancelled).
    auto rows = db.select(QStringLiteral(
        "SELECT docno, fkey, itemno, quantity, quantity_open, quantity_received, quantity_cancel"
        " FROM PO_transaction_table WHERE void = FALSE"
        " AND ABS(quantity_open - CASE WHEN quantity - quantity_received - quantity_cancel > 0"
        " THEN quantity - quantity_received - quantity_cancel ELSE 0 END) >= 0.000001"
        " ORDER BY fkey, itemno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        violations << QStringLiteral("order ") + row.text(u"docno") + QStringLiteral(" line ") + row.text(u"itemno")
                + QStringLiteral(" orders ") + quantity_text(row.decimal(u"quantity")) + QStringLiteral(" but has ")
                + quantity_text(row.decimal(u"quantity_open")) + QStringLiteral(" open, ")
                + quantity_text(row.decimal(u"quantity_received")) + QStringLiteral(" received and ")
                + quantity_text(row.decimal(u"quantity_cancel")) + QStringLiteral(" cancelled");
    return violations;
}

QString row_key(const Row& row)
{
    return row.text(u"itemcode") + u'/' + row.text(u"warehouse") + u'/' + row.text(u"location");
}

/// What po_quantity should hold per on-hand row, from the open lines of current orders, each
/// converted to stock units as the order save converts it.
[[nodiscard]] std::expected<QMap<QString, Decimal>, Error> expected_on_order(Database& db)
{
    auto lines = db.select(QStringLiteral(
        "SELECT l.itemcode, l.warehouse, l.location, l.uom, l.quantity_open FROM PO_transaction_table l"
        " INNER JOIN PO_header_table h ON h.fkey = l.fkey"
        " INNER JOIN Item_master_table i ON i.itemcode = l.itemcode"
        " WHERE l.void = FALSE AND h.void = FALSE AND h.future_po = FALSE AND l.itemtype = '1' AND i.item_type = '1'"));
    if (!lines)
        return std::unexpected(lines.error());
    StockUnits units(db);
    QMap<QString, Decimal> expected;
    for (const Row& line : *lines) {
        auto stock = units.convert(line.text(u"itemcode"), line.text(u"uom"), line.decimal(u"quantity_open"));
        if (!stock)
            return std::unexpected(stock.error());
        if (*stock)
            expected[row_key(line)] += (*stock)->quantity;
    }
    return expected;
}

[[nodiscard]] std::expected<QStringList, Error> on_order_matches_open_lines(Database& db)
{
    auto expected = expected_on_order(db);
    if (!expected)
        return std::unexpected(expected.error());
    auto rows = db.select(QStringLiteral(
        "SELECT o.itemcode, o.warehouse, o.location, o.po_quantity FROM Item_onhand_table o"
        " INNER JOIN Item_master_table i ON i.itemcode = o.itemcode"
        " WHERE o.company = 1 AND i.item_type = '1' ORDER BY o.itemcode, o.warehouse, o.location"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const Decimal open = expected->take(row_key(row));
        const Decimal held = row.decimal(u"po_quantity");
        if ((held - open).abs() >= Tolerance)
            violations << QStringLiteral("on-hand row ") + row_key(row) + QStringLiteral(" holds ") + quantity_text(held)
                    + QStringLiteral(" on order, its open order lines give ") + quantity_text(open);
    }
    for (auto it = expected->cbegin(); it != expected->cend(); ++it)
        if (it.value().abs() >= Tolerance)
            violations << QStringLiteral("on-hand row ") + it.key() + QStringLiteral(" is missing, its open order lines give ")
                    + quantity_text(it.value());
    return violations;
}

/// Every template line has its header and every template header at least one line.
[[nodiscard]] std::expected<QStringList, Error> templates_are_whole(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT 'line ' || CAST(t.itemno AS TEXT) || ' of template ' || t.docno || ' has no header' AS fault"
        " FROM PO_transaction_template_table t WHERE NOT EXISTS"
        " (SELECT 1 FROM PO_header_template_table h WHERE h.docno = t.docno)"
        " UNION ALL SELECT 'template ' || h.docno || ' has no line' FROM PO_header_template_table h"
        " WHERE NOT EXISTS (SELECT 1 FROM PO_transaction_template_table t WHERE t.docno = h.docno)"
        " ORDER BY 1"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        violations << row.text(u"fault");
    return violations;
}

/// A template line's tax and allocated tax are the sums of its tax slots.
[[nodiscard]] std::expected<QStringList, Error> template_taxes_add_up(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT docno, itemno FROM PO_transaction_template_table"
        " WHERE ABS(tax_amount - (tax_amount1 + tax_amount2 + tax_amount3 + tax_amount4 + tax_amount5)) >= 0.005"
        " OR ABS(tax_allocate - (tax_allocated1 + tax_allocated2 + tax_allocated3 + tax_allocated4 + tax_allocated5))"
        " >= 0.005 ORDER BY docno, itemno"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows)
        violations << QStringLiteral("line ") + row.text(u"itemno") + QStringLiteral(" of template ") + row.text(u"docno")
                + QStringLiteral(" carries a tax other than its slots'");
    return violations;
}

} // namespace

std::vector<InvariantCheck> purchase_order_invariant_checks()
{
    return {
        {QStringLiteral("order line quantities add up"), line_quantities_add_up},
        {QStringLiteral("on-order quantities match open order lines"), on_order_matches_open_lines},
        {QStringLiteral("order templates are whole"), templates_are_whole},
        {QStringLiteral("template line taxes add up"), template_taxes_add_up},
    };
}

} // namespace zelkor
