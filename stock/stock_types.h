#pragma once

#include "core/money/decimal.h"

#include <QDate>
#include <QString>

#include <compare>
#include <tuple>

namespace zelkor {

/// Source tags that the stock tables carry for the documents changing stock.
inline QString receipt_source() { return QStringLiteral("PO-RECEIPT"); }
inline QString bill_source() { return QStringLiteral("PO-BILL"); }
inline QString landed_source() { return QStringLiteral("PO-LANDED"); }

/// One set of cost layers and one Item_warehouse_table row: an item in a warehouse.
struct ItemWarehouse {
    QString itemcode;
    QString warehouse;

    friend auto operator<=>(const ItemWarehouse& a, const ItemWarehouse& b)
    {
        return std::tie(a.itemcode, a.warehouse) <=> std::tie(b.itemcode, b.warehouse);
    }
    friend bool operator==(const ItemWarehouse& a, const ItemWarehouse& b) = default;
};

/// One Item_onhand_table row: an item at a warehouse location.
struct StockPlace {
    QString itemcode;
    QString warehouse;
    QString location;

    ItemWarehouse item_warehouse() const { return {itemcode, warehouse}; }
    friend auto operator<=>(const StockPlace& a, const StockPlace& b)
    {
        return std::tie(a.itemcode, a.warehouse, a.location) <=> std::tie(b.itemcode, b.warehouse, b.location);
    }
    friend bool operator==(const StockPlace& a, const StockPlace& b) = default;
};

/// The document a layer change belongs to, as FIFO_history_table records it: the number of the
/// receipt, bill or landed bill itself (not of its inventory document), its source tag and date.
/// Numbers repeat across document types and, without year digits, across years; the three
/// together name one document.
struct LayerDocument {
    QString docno;
    QString source;
    QDate date;
};

/// Who changes stock, for the audit columns.
struct StockStamp {
    QString user;
    QString computer_id;
};

/// A signed change of stock: the quantity in the item's stock unit and the value in base
/// currency. What an operation applied to layers and on-hand rows, for its caller to post.
struct StockChange {
    Decimal quantity;
    Decimal value;

    StockChange& operator+=(const StockChange& other)
    {
        quantity += other.quantity;
        value += other.value;
        return *this;
    }
    friend StockChange operator-(const StockChange& change) { return {-change.quantity, -change.value}; }
    friend bool operator==(const StockChange&, const StockChange&) = default;
};

} // namespace zelkor
