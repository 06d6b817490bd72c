#pragma once

#include "forms/common/field.h"
#include "services/database.h"

#include <QString>

#include <expected>

namespace zelkor {

class Grid;
class WindowModel;

// What the requisition and the order window share for their header and line grid. The line
// routines address cells by the captions both grids use ("item code", "item type", "account",
// "account name", "uom", "unit cost", "warehouse", "location").

/// The item types of a purchasing line: code and meaning.
Choices item_type_choices();
/// Whether `code` is one of the item type codes "0" to "6".
bool is_item_type(const QString& code);
/// The item types whose codes must come from a list (stock, non-stock in master, charges).
bool item_type_has_list(const QString& item_type);

/// Drop-down lists both windows offer: warehouses (warehouse, description), currencies
/// (currency, description), units (uom, description) and warehouse/location pairs.
[[nodiscard]] std::expected<Choices, Error> warehouse_choices(Database& db);
std::expected<Choices, Error> currency_choices(Database& db);
[[nodiscard]] std::expected<Choices, Error> unit_choices(Database& db);
std::expected<Choices, Error> warehouse_location_choices(Database& db);
/// The units a line may use: every unit (`all_units`), or for a stock item its stock and
/// purchase units and the units it has conversion rules from.
[[nodiscard]] std::expected<Choices, Error> item_unit_choices(Database& db, const Choices& all_units, const QString& item_type,
                                                const QString& itemcode);

/// The vendor a header names, when it is still in use (not discontinued); otherwise the error
/// "vendor is invalid.".
[[nodiscard]] std::expected<Row, Error> chosen_vendor(Database& db, const QString& vendor_no);
/// Fills the header fields a chosen vendor gives: vendor no and name, currency, payment term,
/// contact person, phone (phone1) and fax (fax1).
void show_vendor_details(WindowModel& window, const Row& vendor);

/// How a line shows the last cost of its item: as money ("#,##0.00", the requisition) or to the
/// item's unit-cost decimals (the order).
enum class LastCostShown { Money, ItemDecimals };

/// Fills a line from its item-master row (`SELECT *`): the item's asset_accno as account with its
/// name, its purchase unit when the line has none, and for a stock item ("1") with a ship-to
/// warehouse the item's last cost there as unit cost.
[[nodiscard]] std::expected<void, Error> fill_line_from_item(Database& db, Grid& lines, int row, const Row& item,
                                               const QString& shipto, LastCostShown shown);

/// Gives an item-master line ("1" or "2") without a warehouse the item's default warehouse and
/// its default location, and a line with a warehouse but no location the item's default location
/// there. A line without such a default keeps its empty cells.
void fill_item_default_place(Database& db, Grid& lines, int row);

} // namespace zelkor
