#pragma once

// The inventory cost correction ("ij") of a vendor bill: what its stock lines moved on their
// inventory accounts beyond what their receipts posted, given to the stock they received.

#include "core/db/database.h"
#include "documents/bill/bill_posting.h"
#include "stock/stock_types.h"

#include <expected>
#include <vector>

namespace zelkor {

/// The stock a line's cost difference goes to: the receipt's layer (FIFO, LIFO) or the on-hand
/// row (moving average), while it still holds stock.
struct CostCorrectionTarget {
    size_t line = 0;  ///< index of the line in the bill
    StockPlace place{};
    QString lot_id{}; ///< empty: the on-hand row
    QString stock_uom{};
};

/// Where the cost differences of a bill's stock lines go.
struct CostCorrectionPlan {
    std::vector<CostCorrectionTarget> to_stock{};
    /// Lines whose stock has been issued (to the item's variance account, else purchase
    /// variance) or is valued at standard cost (purchase variance, as the receipt posts it).
    CostDifferenceAccounts elsewhere{};
};

/// Locks the warehouse settings of the bill's stock lines (before anything of stock is written)
/// and decides where each line's cost difference goes.
[[nodiscard]] std::expected<CostCorrectionPlan, Error> plan_cost_correction(Database& db, const Bill& bill,
                                                                            const QString& purchase_variance);

/// Writes the "ij" document of the bill ("PO-BILL", quantity 0, adjustment type 3 raising and 4
/// lowering the cost, extended cost in base currency) and gives each line's change to its layer
/// or on-hand row. Gives the document's key; empty when no line changed.
[[nodiscard]] std::expected<QString, Error> write_cost_correction(Database& db, const Bill& bill,
                                                                  const CostCorrectionPlan& plan,
                                                                  const std::vector<StockCostChange>& changes,
                                                                  const StockStamp& stamp);

/// Voids a bill's cost correction with its stock effects. The part of the correction that left
/// with stock issued since cannot come back from stock: the caller's ledger reversal takes it from
/// the inventory account, so it is moved from `variance` back to `inventory` here in an entry of
/// its own, leaving the ledger's stock value equal to the stock's. An empty key does nothing.
struct CorrectionVoid {
    QString icfkey{};
    QString bill_docno{};
    QDate date{};
    FiscalPeriod period{};
    QString inventory{}; ///< the account the bill's stock lines posted to
    QString variance{};
    QString user{};
    StockStamp stamp{};
};
[[nodiscard]] std::expected<void, Error> void_cost_correction(Database& db, const CorrectionVoid& order);

} // namespace zelkor
