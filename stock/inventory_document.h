#pragma once

#include "core/db/database.h"
#include "core/fiscal_periods.h"
#include "core/numbering.h"
#include "stock/stock_types.h"

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// The header of an inventory document: "ir" for a receipt, "ij" for a cost adjustment.
struct InventoryHeader {
    QString doctype;
    QDate date;
    FiscalPeriod period;
    QString description;
    QString currency;
    std::optional<Decimal> exchange_rate; ///< nothing for the base currency
    QDate rate_date;
    QString source;       ///< "PO-RECEIPT", "PO-BILL", "PO-LANDED"
    QString source_form;  ///< the caption of the window that made it
    QString source_docno; ///< the number of the receipt or bill it belongs to
    StockStamp stamp;
};

/// One line of an inventory document (IN_transaction_table), in the document's unit and
/// currency and in the item's stock unit. `stock_value` is the base-currency value the line
/// added to stock; a reversal takes back exactly that.
struct InventoryLine {
    int lineno = 0;
    QString itemcode;
    QString description;
    QString warehouse;
    QString location;
    std::optional<int> adjustment_type;
    Decimal quantity;
    QString uom;
    Decimal unitcost;
    Decimal extended_cost;
    QString stock_uom;
    Decimal stock_uom_quantity;
    Decimal stock_uom_unitcost;
    Decimal quantity_from;
    Decimal quantity_to;
    QString remark;
    Decimal stock_value;
};

/// Numbers an inventory document for the fiscal year of its period and writes its header and
/// lines inside the caller's transaction. Stock itself is not changed.
[[nodiscard]] std::expected<DocumentNumber, Error> write_inventory_document(Database& db, const InventoryHeader& header,
                                                                            const std::vector<InventoryLine>& lines);

/// An inventory document as stored.
struct StoredInventoryDocument {
    DocumentNumber number;
    InventoryHeader header;
    bool void_document = false;
    std::vector<InventoryLine> lines; ///< by line number
};

/// Reads the inventory document with key `fkey`; nothing when there is none.
[[nodiscard]] std::expected<std::optional<StoredInventoryDocument>, Error> read_inventory_document(Database& db,
                                                                                                  const QString& fkey);

/// Appends lines to a stored inventory document, with its header's columns.
[[nodiscard]] std::expected<void, Error> append_inventory_lines(Database& db, const StoredInventoryDocument& document,
                                                                const std::vector<InventoryLine>& lines,
                                                                const StockStamp& stamp);

} // namespace zelkor
