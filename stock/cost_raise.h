#pragma once

// The cost of received goods raised (or lowered) after the receipt, by a landed bill's shares:
// the receipt's own cost layer of each line takes its share while it still holds stock, the
// on-hand value follows, and an inventory adjustment document ("ij") records every share.

#include "core/db/database.h"
#include "core/numbering.h"
#include "stock/inventory_document.h"
#include "stock/layer_writes.h"
#include "stock/on_hand_changes.h"

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// The share of one stock line of a receipt, in base currency.
struct CostRaise {
    QString receipt_no{};
    int receipt_itemno = 0;
    QString itemcode{};
    QString warehouse{};
    QString location{};
    Decimal quantity_received{}; ///< a line that received nothing made no layer
    Decimal value{};
};

/// Where a share went.
enum class RaiseTarget {
    Stock,    ///< the line's layer or on-hand value took it: the line's own account is debited
    Variance, ///< the stock has left (layer used up), or the item is at standard cost: variance
};

/// What raising the cost will do, decided under lock before anything is written: the share's
/// target per raise and the rows to write.
struct CostRaisePlan {
    std::vector<RaiseTarget> targets{}; ///< one per raise, in order
    std::vector<InventoryLine> lines{};
    std::vector<std::pair<Layer, StockChange>> layers{}; ///< each raised layer as it will be, and its change
    OnHandChanges on_hand;
};

/// Locks the warehouse settings of the raised items (before any number or journal is taken),
/// reads the receipts' layers in one statement each (history and live layers) and decides each
/// share's target. A FIFO or LIFO line's share raises the layer its receipt made for it while
/// that layer holds stock: the whole share lands on the quantity left, the unit cost recomputed
/// to the item's decimals; a layer used up, or one a decrease would take below zero, sends the
/// share to variance. Standard-cost items send it to variance; other stock items raise their
/// on-hand value.
[[nodiscard]] std::expected<CostRaisePlan, Error> plan_cost_raise(Database& db, const std::vector<CostRaise>& raises);

/// Writes the plan: the "ij" document with one line per share (adjustment type 3 for a rise, 4
/// for a fall, quantity 0, the share as extended cost and what stock took as stock value), the
/// layers with their history rows (quantity 0) and the on-hand values. Gives the document's
/// number, or nothing when there was no share to record. The history rows name `document`.
[[nodiscard]] std::expected<std::optional<DocumentNumber>, Error> write_cost_raise(Database& db,
                                                                                   const LayerDocument& document,
                                                                                   const InventoryHeader& header,
                                                                                   const CostRaisePlan& plan);

} // namespace zelkor
