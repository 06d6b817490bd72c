#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>

namespace zelkor {

class Grid;

/// Fills a "Stock by Warehouse/Location" pane grid with every on-hand row of the item, by
/// warehouse and location, quantities shown to the item's quantity decimals. An empty item
/// empties the grid.
[[nodiscard]] std::expected<void, Error> show_stock_by_location(Database& db, Grid& pane, const QString& itemcode);

/// Fills a "Stock By Items" pane grid from a document's line grid (columns "item code", "item
/// type", "warehouse", "location"): for each line of an item-master item, its on-hand row at the
/// line's warehouse and location, or else at the ship-to warehouse's default location (zeros when
/// there is no such row). Errors, after which the grid is empty: "please specify
/// warehouse/location or at least ship-to" and "please specify warehouse/location for " + item.
[[nodiscard]] std::expected<void, Error> show_stock_by_items(Database& db, Grid& pane, const Grid& lines, const QString& shipto);

} // namespace zelkor
