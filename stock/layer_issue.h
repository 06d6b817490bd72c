#pragma once

#include "core/db/database.h"
#include "stock/stock_types.h"

#include <expected>

namespace zelkor {

/// Stock that a document takes out of an item's cost layers in one warehouse.
struct LayerIssue {
    StockPlace place;  ///< the on-hand row the stock leaves
    Decimal quantity;  ///< stock unit, above 0
    Decimal unit_cost; ///< base currency per stock unit, for an uncovered rest when the warehouse has no last cost
};

/// What an issue changed, signed as changes of stock, for its caller to post.
struct LayerIssueResult {
    StockChange issued; ///< the quantity issued (negative) and the value it took out
    /// Netting: no quantity, and the value difference between the negative layers removed and
    /// the positive stock that absorbed them.
    StockChange netted;
};

/// Issues stock from the layers of a FIFO or LIFO item, inside the caller's transaction, after
/// locking the item's warehouse row. Positive layers are consumed in lot order (oldest first
/// for FIFO, newest first for LIFO) as far as they go, each at its own unit cost: a partly used
/// layer keeps its unit cost and gives the difference between its old amount and the remaining
/// quantity's value; a used-up layer gives its whole amount and is marked `delete` and swept at
/// the end. A rest that no positive layer covers becomes a negative layer valued at the
/// warehouse's last cost, or at the given unit cost when it has none. When positive stock
/// remains, open negative layers are then netted against it, oldest first. The on-hand row
/// changes by exactly the quantity and value the layers changed by, and every layer change
/// writes a history row under the document. Fails without writing for an item that keeps no
/// layers in the warehouse or a quantity below 0.
[[nodiscard]] std::expected<LayerIssueResult, Error> issue_from_layers(Database& db, const LayerIssue& issue,
                                                                       const LayerDocument& document);

} // namespace zelkor
