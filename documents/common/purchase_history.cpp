#include "documents/common/purchase_history.h"

namespace zelkor {

namespace {

const QString HistorySelect = QStringLiteral(
    "SELECT v.vendor_name, l.docno, l.order_date, l.itemcode, l.quantity, l.uom, l.unitcost, l.extended_cost,"
    " l.price_include_tax, l.itemno FROM PO_transaction_table l LEFT JOIN Vendor_table v ON v.vendor_no = l.vendor_no"
    " WHERE l.company = 1 AND l.order_date >= ? AND ");

[[nodiscard]] std::expected<std::vector<PurchaseHistoryLine>, Error> history(Database& db, const QString& condition,
                                                                             const Params& params)
{
    auto rows = db.select(HistorySelect + condition, params);
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<PurchaseHistoryLine> lines;
    lines.reserve(rows->size());
    for (const Row& row : *rows)
        lines.push_back({row.text(u"vendor_name"), row.text(u"docno"), row.date(u"order_date"), row.text(u"itemcode"),
                         row.decimal(u"quantity"), row.text(u"uom"), row.decimal(u"unitcost"),
                         row.decimal(u"extended_cost"), row.flag(u"price_include_tax")});
    return lines;
}

} // namespace

std::expected<std::vector<PurchaseHistoryLine>, Error> item_purchase_history(Database& db, const QString& itemcode,
                                                                             const QDate& since)
{
    return history(db, QStringLiteral("l.itemcode = ? ORDER BY l.order_date DESC, l.docno DESC, l.itemno"),
                   {since, itemcode});
}

std::expected<std::vector<PurchaseHistoryLine>, Error> vendor_purchase_history(Database& db, const QString& vendor_no,
                                                                               const QDate& since)
{
    return history(db, QStringLiteral("l.vendor_no = ? ORDER BY l.docno DESC, l.itemno"), {since, vendor_no});
}

} // namespace zelkor
