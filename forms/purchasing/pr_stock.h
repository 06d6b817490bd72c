#pragma once

#include "services/database.h"

#include <QString>

#include <expected>
#include <vector>

namespace zelkor {

/// One on-hand row of an item as the stock panes show it (quantities already formatted).
struct StockRow {
    QString itemcode{};
    QString warehouse{};
    QString location{};
    QString quantity{};
    QString order_quantity{};
    QString po_quantity{};
};

/// Every on-hand row of an item, by warehouse and location, quantities shown to the item's
/// quantity decimals.
std::expected<std::vector<StockRow>, Error> stock_by_location(Database& db, const QString& itemcode);

/// A line as the "Stock By Items" pane reads it.
struct StockLine {
    QString itemcode{};
    QString warehouse{};
    QString location{};
};

/// The on-hand row of each line's item at the line's warehouse and location, or else at the
/// ship-to warehouse's default location. Errors: "please specify warehouse/location or at least
/// ship-to" and "please specify warehouse/location for " + item.
std::expected<std::vector<StockRow>, Error> stock_by_items(Database& db, const std::vector<StockLine>& lines,
                                                           const QString& shipto);

} // namespace zelkor
