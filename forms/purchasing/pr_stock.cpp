#include "forms/purchasing/pr_stock.h"

namespace zelkor {

namespace {

std::expected<int, Error> quantity_decimals(Database& db, const QString& itemcode)
{
    auto decimals = db.scalar(QStringLiteral("SELECT quantity_decimals FROM Item_master_table WHERE itemcode = ?"),
                              {itemcode});
    if (!decimals)
        return std::unexpected(decimals.error());
    return std::clamp(decimals->toInt(), 0, 6);
}

StockRow stock_row_of(const Row& row, const QString& itemcode, int decimals)
{
    return {itemcode,
            row.text(u"warehouse"),
            row.text(u"location"),
            row.decimal(u"quantity").format(decimals),
            row.decimal(u"order_quantity").format(decimals),
            row.decimal(u"po_quantity").format(decimals)};
}

/// The ship-to warehouse's default location; empty when it has none.
std::expected<QString, Error> default_location(Database& db, const QString& warehouse)
{
    auto location = db.scalar(QStringLiteral("SELECT location FROM Warehouse_location_master_table"
                                             " WHERE warehouse = ? AND \"default\" = TRUE"),
                              {warehouse});
    if (!location)
        return std::unexpected(location.error());
    return Row::to_text(*location);
}

} // namespace

std::expected<std::vector<StockRow>, Error> stock_by_location(Database& db, const QString& itemcode)
{
    auto decimals = quantity_decimals(db, itemcode);
    if (!decimals)
        return std::unexpected(decimals.error());
    auto rows = db.select(QStringLiteral("SELECT warehouse, location, quantity, order_quantity, po_quantity"
                                         " FROM Item_onhand_table WHERE company = 1 AND itemcode = ?"
                                         " ORDER BY warehouse, location"),
                          {itemcode});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<StockRow> stock;
    for (const Row& row : *rows)
        stock.push_back(stock_row_of(row, itemcode, *decimals));
    return stock;
}

std::expected<std::vector<StockRow>, Error> stock_by_items(Database& db, const std::vector<StockLine>& lines,
                                                           const QString& shipto)
{
    std::vector<StockRow> stock;
    for (StockLine line : lines) {
        if (line.location.isEmpty()) {
            if (shipto.isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("please specify warehouse/location or at least ship-to")));
            auto location = default_location(db, shipto);
            if (!location)
                return std::unexpected(location.error());
            if (location->isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("please specify warehouse/location for ") + line.itemcode));
            line.warehouse = shipto;
            line.location = *location;
        }
        auto decimals = quantity_decimals(db, line.itemcode);
        if (!decimals)
            return std::unexpected(decimals.error());
        auto row = db.first(QStringLiteral("SELECT warehouse, location, quantity, order_quantity, po_quantity"
                                           " FROM Item_onhand_table WHERE company = 1 AND itemcode = ?"
                                           " AND warehouse = ? AND location = ?"),
                            {line.itemcode, line.warehouse, line.location});
        if (!row)
            return std::unexpected(row.error());
        StockRow shown{line.itemcode, line.warehouse, line.location, Decimal(0).format(*decimals),
                       Decimal(0).format(*decimals), Decimal(0).format(*decimals)};
        stock.push_back(*row ? stock_row_of(**row, line.itemcode, *decimals) : shown);
    }
    return stock;
}

} // namespace zelkor
