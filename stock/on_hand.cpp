#include "stock/on_hand.h"

#include <algorithm>

namespace zelkor {
namespace {

const QString OnHandColumns = QStringLiteral("SELECT itemcode, warehouse, location, quantity, order_quantity, po_quantity"
                                             " FROM Item_onhand_table WHERE company = 1 AND itemcode = ?");

OnHandRow on_hand_of(const Row& row)
{
    return {row.text(u"itemcode"),        row.text(u"warehouse"),          row.text(u"location"),
            row.decimal(u"quantity"), row.decimal(u"order_quantity"), row.decimal(u"po_quantity")};
}

} // namespace

std::expected<std::vector<OnHandRow>, Error> on_hand_rows(Database& db, const QString& itemcode)
{
    auto rows = db.select(OnHandColumns + QStringLiteral(" ORDER BY warehouse, location"), {itemcode});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<OnHandRow> stock;
    stock.reserve(rows->size());
    for (const Row& row : *rows)
        stock.push_back(on_hand_of(row));
    return stock;
}

std::expected<std::optional<OnHandRow>, Error> on_hand_row(Database& db, const QString& itemcode,
                                                           const QString& warehouse, const QString& location)
{
    auto row = db.first(OnHandColumns + QStringLiteral(" AND warehouse = ? AND location = ?"),
                        {itemcode, warehouse, location});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return std::optional<OnHandRow>();
    return on_hand_of(**row);
}

std::expected<int, Error> quantity_decimals(Database& db, const QString& itemcode)
{
    auto decimals = db.scalar(QStringLiteral("SELECT quantity_decimals FROM Item_master_table WHERE itemcode = ?"),
                              {itemcode});
    if (!decimals)
        return std::unexpected(decimals.error());
    return std::clamp(decimals->toInt(), 0, 6);
}

} // namespace zelkor
