#pragma once

#include "core/db/database.h"
#include "core/fiscal_periods.h"
#include "core/numbering.h"
#include "stock/stock_types.h"

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// What a receipt hands to stock: the receipt's own figures.
struct StockReceipt {
    QString receipt_no;
    QDate date;
    FiscalPeriod period;
    QString currency;
    std::optional<Decimal> exchange_rate; ///< nothing for the base currency
    QDate rate_date;
    /// The receipt's landed total; nothing when what was typed is not a number.
    std::optional<Decimal> landed_total = Decimal();
    StockStamp stamp;
};

/// One grid line of a receipt.
struct StockReceiptLine {
    QString itemcode;
    QString itemtype; ///< "1" stock item and "2" non-stock item reach stock; other types are passed over
    QString description;
    QString uom;
    QString warehouse;
    QString location;
    Decimal quantity; ///< received now, in `uom`
    Decimal extended_cost;
    Decimal tax_amount;
    bool tax_included = false;
    Decimal allocated_tax; ///< non-recoverable tax added to the cost
};

/// What one receipt line did to stock.
struct ReceivedLine {
    size_t index = 0;       ///< of the line in the receipt's grid lines
    int lineno = 0;         ///< of its inventory line
    Decimal stock_quantity; ///< in the item's stock unit
    Decimal value;          ///< base currency added to stock (0 for a non-stock item)
    QString lot_id;         ///< of the layer it added, for FIFO and LIFO items
};

/// The inventory document of a receipt and what its lines did.
struct ReceivedStock {
    DocumentNumber document; ///< the key is the receipt's icfkey
    std::vector<ReceivedLine> lines;
};

/// Writes a receipt's stock effects inside the caller's transaction: an "ir" inventory document
/// with a line per stock ("1") or non-stock ("2") line received (a line received with quantity
/// 0 writes nothing), on-hand quantity and value of stock items, a cost layer per line of a
/// FIFO or LIFO warehouse, and the warehouse's last costs. The value a line adds is its cost
/// (extended cost, less the tax included in it, plus the allocated tax) in base currency,
/// rounded to cents once, or the stock quantity at standard cost for a "Standard cost"
/// warehouse. Gives nothing when no line reaches stock. Errors: "landed cost is invalid.",
/// "negative quantity is invalid.", an unknown item ("X is invalid."), a stock item not set up
/// in its warehouse ("warehouse W is invalid."), a unit without conversion, the numbering's.
[[nodiscard]] std::expected<std::optional<ReceivedStock>, Error> receive_into_stock(Database& db,
                                                                                   const StockReceipt& receipt,
                                                                                   const std::vector<StockReceiptLine>& lines);

} // namespace zelkor
