#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>
#include <optional>

namespace zelkor {

class Grid;
class WindowModel;

// What the document windows share for their header and line grid: the vendor refill and the fill
// of a line from its item. The line routines address cells by the captions the line grids share
// ("item code", "item type", "account", "account name", "uom", "unit cost", "warehouse",
// "location").

/// A number cell as a save reads it: nothing when the cell is empty; text that is not a number
/// gives the error `message`.
[[nodiscard]] std::expected<std::optional<Decimal>, Error> saved_number(const Grid& lines, int row, const QString& caption,
                                                                        const QString& message);

/// Fills the header fields a chosen vendor gives, those the window has: vendor no and name,
/// currency, payment term, contact person, phone (phone1) and fax (fax1).
void show_vendor_details(WindowModel& window, const Row& vendor);

/// Fills a line from its item-master row (`SELECT *`): the item's asset_accno as account with its
/// name (where the grid shows names), its purchase unit when the line has none (in the column
/// `unit`), and for a stock item ("1") with a ship-to warehouse the item's last cost there (kept
/// per stock unit) as the unit cost of the line's own unit, to the item's unit-cost decimals.
[[nodiscard]] std::expected<void, Error> fill_line_from_item(Database& db, Grid& lines, int row, const Row& item,
                                                             const QString& shipto,
                                                             const QString& unit = QStringLiteral("uom"));

/// Gives an item-master line ("1" or "2") without a warehouse the item's default warehouse and
/// its default location, and a line with a warehouse but no location the item's default location
/// there. A line without such a default keeps its empty cells.
[[nodiscard]] std::expected<void, Error> fill_item_default_place(Database& db, Grid& lines, int row);

} // namespace zelkor
