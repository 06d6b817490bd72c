#pragma once

#include "services/database.h"
#include "services/decimal.h"

#include <QString>

#include <expected>
#include <vector>

namespace zelkor {

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
/// transaction. The order lines are read under lock, in key order, so that two receipts of one
/// line never lose each other's quantities. On every line: quantity_open = max(0, quantity −
/// received − cancelled); the line's on-order quantity (po_quantity, stock and non-stock master
/// items of an order in effect) falls by exactly the fall of its open quantity, converted to
/// stock units, at the line's warehouse and location (and rises back on reversal); the line and
/// header flags received / fully_received follow. A void order ("PO was void.") or a closed
/// line ("This item was closed.") refuses a receipt applied to it.
[[nodiscard]] std::expected<void, Error> apply_receipt_to_orders(Database& db, const std::vector<OrderLineReceipt>& lines,
                                                                 ReceiptEffect effect);

} // namespace zelkor
