#pragma once

#include "core/db/database.h"
#include "stock/stock_types.h"

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// What reversing an inventory document did.
struct ReversedStock {
    StockChange change;           ///< applied to on-hand rows and layers of stock items
    Decimal value_not_taken_back; ///< of cost adjustments whose stock has been issued since
};

/// Reverses an inventory document inside the caller's transaction: appends a reversal line per
/// line (next line numbers, quantities, costs and stock value negated, remark "reverse line " +
/// its line number), takes the stock quantity and stock value of stock items back from their
/// on-hand rows, undoes the document's layer changes in FIFO and LIFO warehouses, and marks the
/// header void. An empty key does nothing. Errors: key + " document does not exist", a
/// document already void, and those of reverse_document_layers.
[[nodiscard]] std::expected<ReversedStock, Error> reverse_document_stock(Database& db, const QString& fkey,
                                                                        const StockStamp& stamp);

} // namespace zelkor
