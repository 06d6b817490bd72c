#pragma once

#include "core/db/database.h"
#include "stock/stock_types.h"

#include <expected>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace zelkor {

/// How an item's stock is valued in a warehouse (Item_warehouse_table.cost_method).
enum class CostMethod { None, Fifo, Lifo, MovingAverage, StandardCost };

CostMethod cost_method_of(const QString& text);
/// FIFO and LIFO keep cost layers.
inline bool keeps_layers(CostMethod method) { return method == CostMethod::Fifo || method == CostMethod::Lifo; }

/// An item's settings in one warehouse.
struct WarehouseSetting {
    CostMethod cost_method = CostMethod::None;
    QString cost_method_text; ///< as stored, copied onto layers
    Decimal standard_cost;
    std::optional<Decimal> last_cost;
    bool allow_negative_stock = false; ///< read for callers; stock itself never refuses an issue
};
using WarehouseSettings = std::map<ItemWarehouse, WarehouseSetting>;

/// What stock needs of an item master row.
struct StockItem {
    QString item_type;
    QString stock_uom;
    QString description;
    int unitcost_decimals = 2; ///< a missing setting counts as 2
};
using StockItems = std::map<QString, StockItem>;

/// Reads the items (item master) of the codes, a few hundred per statement; a code without a
/// row is missing from the result.
[[nodiscard]] std::expected<StockItems, Error> read_stock_items(Database& db, const std::set<QString>& itemcodes);
/// read_stock_items' statements, to send with other reads, and the items of their answers.
std::vector<Statement> stock_items_reads(const std::set<QString>& itemcodes);
StockItems stock_items_of(std::span<const Rows> answers);

/// Locks the Item_warehouse_table rows of the keys for the rest of the caller's transaction and
/// gives their settings. Rows are taken in key order, so that two documents touching the same
/// items wait for each other instead of deadlocking; every document changing stock takes them
/// before its first stock write and before its number counters and journal, so that stock locks
/// always come first. A key without a row is missing from the result.
[[nodiscard]] std::expected<WarehouseSettings, Error> lock_warehouse_settings(Database& db,
                                                                              const std::set<ItemWarehouse>& keys);

/// One item in one warehouse, its setting locked as lock_warehouse_settings does.
struct LockedStock {
    std::optional<WarehouseSetting> setting; ///< nothing when the item is not set up in the warehouse
    StockItem item;                          ///< defaults when the item is not in the item master
};
[[nodiscard]] std::expected<LockedStock, Error> lock_item_stock(Database& db, const ItemWarehouse& key);

/// New last costs of an item in a warehouse, in base currency per stock unit.
struct LastCost {
    Decimal last_cost;      ///< price net of tax included in it
    Decimal last_cost_plus; ///< with the capitalised (non-recoverable) tax
};

/// Writes last_cost and last_cost_plus of the keys, inside the caller's transaction.
[[nodiscard]] std::expected<void, Error> update_last_costs(Database& db, const std::map<ItemWarehouse, LastCost>& costs);

} // namespace zelkor
