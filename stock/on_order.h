#pragma once

#include "core/db/database.h"

#include <expected>
#include <vector>

namespace zelkor {

/// Item types whose order lines carry an on-order quantity: stock items and non-stock items of
/// the item master.
inline bool counts_on_order(const QString& itemtype) { return itemtype == u"1" || itemtype == u"2"; }

/// What one order line contributes to the on-order quantity (po_quantity) of its on-hand row.
struct OnOrderLine {
    QString itemcode{};
    QString itemtype{};
    QString uom{};
    QString warehouse{};
    QString location{};
    Decimal quantity_open{}; ///< in the line's unit
};

enum class OnOrderChange { Add, Remove };
/// Saving and undoing an order count stock and non-stock master items ("1" and "2"); closing,
/// voiding and activating count stock items ("1") only.
enum class OnOrderTypes { StockAndNonStock, StockOnly };
/// Whether a missing on-hand row is created (saving) or the line is passed over (closing).
enum class MissingOnHandRow { Create, Skip };

/// The stored lines of the order with key `fkey`.
[[nodiscard]] std::expected<std::vector<OnOrderLine>, Error> stored_on_order_lines(Database& db, const QString& fkey);

/// Lines whose open quantities go on order or come off it.
struct OnOrderMove {
    std::vector<OnOrderLine> lines;
    OnOrderChange change;
};

/// Adds or removes the open quantities of the lines of every move, converted from each line's
/// unit to the item's stock unit, on the on-hand rows of company 1 named by item, warehouse and
/// location. The Item_warehouse_table rows of the items are locked first, then the on-hand rows
/// are changed, each in key order and in one pass for all the moves (an order edit takes its old
/// and new lines together): on-hand rows change only under their item-warehouse row, which is
/// what lets a receipt post stock after its number. Runs inside the caller's transaction.
[[nodiscard]] std::expected<void, Error> move_on_order_quantity(Database& db, const std::vector<OnOrderMove>& moves,
                                                                OnOrderTypes types, MissingOnHandRow missing);

/// The one-move case of move_on_order_quantity.
[[nodiscard]] std::expected<void, Error> change_on_order_quantity(Database& db, const std::vector<OnOrderLine>& lines,
                                                    OnOrderChange change, OnOrderTypes types,
                                                    MissingOnHandRow missing);

} // namespace zelkor
