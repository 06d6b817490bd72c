#pragma once

#include "core/db/database.h"
#include "core/money/decimal.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <expected>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace zelkor {

/// An order line: the order's fkey and the line's itemno.
using OrderLineKey = std::pair<QString, int>;

/// An order line as a receipt reads it, with what its order header says.
struct OrderLineState {
    QString order_number{};
    QString itemcode{};
    QString itemtype{};
    QString uom{};      ///< the unit its ordered, received, cancelled and open quantities are kept in
    QString warehouse{}; ///< where the order put the line's quantity on order
    QString location{};
    Decimal quantity{};
    Decimal received{};
    Decimal cancelled{};
    Decimal open{};
    bool closed = false;
    bool order_void = false;
    bool future = false;
};
using OrderLineStates = std::map<OrderLineKey, OrderLineState>;

/// The keys (fkey) of the orders of company 1 with these numbers, by number; a number no order
/// has is missing.
[[nodiscard]] std::expected<QHash<QString, QString>, Error> order_keys_of(Database& db, const QSet<QString>& numbers);

/// Reads the order lines named by `keys` as they are now, without locking them (what a receipt
/// shows and asks about before it saves). A key without a line is missing from the result.
[[nodiscard]] std::expected<OrderLineStates, Error> read_order_lines(Database& db, const std::set<OrderLineKey>& keys);

/// The same inside the caller's transaction, locked until it ends: the order headers first, in
/// key order, then their lines, as an order's own edit takes them, so that a receipt and an
/// order edit never wait on each other crosswise.
[[nodiscard]] std::expected<OrderLineStates, Error> lock_order_lines(Database& db, const std::set<OrderLineKey>& keys);

/// What a receipt does to one order line: quantities in the order line's own unit.
struct OrderLineReceipt {
    QString order_key{};       ///< the order's fkey
    int order_itemno = 0;
    Decimal quantity_received{};
    Decimal quantity_cancel{}; ///< the rest of the line given up at this receipt
    QString uom_received{};
};

/// Whether a receipt is applied (saved) or taken back (voided, or undone before an edit).
enum class ReceiptEffect { Apply, Reverse };

/// Moves received and cancelled quantities onto (or off) their order lines inside the caller's
/// transaction. The order lines are read under lock (lock_order_lines), so that two receipts of
/// one line never lose each other's quantities. On every line: quantity_open = max(0, quantity −
/// received − cancelled), closed when nothing is left open (and open again when a reversal
/// leaves something open); the line's on-order quantity (po_quantity, stock and non-stock master
/// items of an order in effect) falls by exactly the fall of its open quantity, converted to
/// stock units, at the order line's own warehouse and location, where the order put it (and
/// rises back on reversal); the line flags received / fully_received and the header's follow
/// (fully received when no goods line, item type below "3", is open), and each order's version
/// is raised. A void order ("PO was void.") or a closed line ("This item was closed.") refuses
/// a receipt applied to it.
[[nodiscard]] std::expected<void, Error> apply_receipt_to_orders(Database& db, const std::vector<OrderLineReceipt>& lines,
                                                                 ReceiptEffect effect);
/// The same on order lines the caller has already locked in this transaction and not changed
/// since (lock_order_lines): they are not read again, and `locked` follows the change.
[[nodiscard]] std::expected<void, Error> apply_receipt_to_orders(Database& db, const std::vector<OrderLineReceipt>& lines,
                                                                 ReceiptEffect effect, OrderLineStates& locked);

} // namespace zelkor
