#pragma once

#include "core/db/database.h"
#include "stock/on_hand_changes.h"
#include "stock/stock_types.h"

#include <expected>
#include <map>
#include <vector>

namespace zelkor {

/// One FIFO_table row: a cost layer of an item in a warehouse, in the stock unit and base
/// currency.
struct Layer {
    qint64 id = 0;
    QString itemcode;
    QString warehouse;
    QString cost_method;
    QString lot_id;
    QString receipt_no;
    QDate receipt_date;
    Decimal unitcost;
    Decimal quantity;
    Decimal amount;
    QString uom;
    bool negative_lot = false;
};

/// Whether a history row records a change or takes one back (`Reverse`).
enum class HistoryMark { Change, Reverse };

/// The columns a layer is read with.
QString layer_columns();
Layer layer_of(const Row& row);

/// The unit cost of a layer's remaining value, to the item's decimals; a layer without
/// quantity keeps `fallback`.
Decimal layer_unitcost(const Decimal& amount, const Decimal& quantity, int decimals, const Decimal& fallback);

/// The layer writes of one operation, gathered while it works through the layers in memory
/// and written at the end in a few statements: removals, changes, new layers, the marks of
/// used-up layers and their sweep, and one history row for every change.
class LayerWrites {
public:
    explicit LayerWrites(const LayerDocument& document) : m_document(document) {}

    /// A new layer (its lot id already given) and the history row that records it.
    void insert(const Layer& layer, HistoryMark mark = HistoryMark::Change);
    /// A layer's new quantity, amount and unit cost after a change of `change`.
    void change(const Layer& changed, const StockChange& change, HistoryMark mark = HistoryMark::Change);
    /// A layer removed at once (netting, reversal) after its last change.
    void remove(const Layer& removed, const StockChange& change, HistoryMark mark = HistoryMark::Change);
    /// A reversal that could take nothing back from a lot (its stock has been issued since):
    /// a history row of no change, marked `Reverse`, still closes the document's changes of it.
    void settle(const Layer& layer) { record(layer, {}, HistoryMark::Reverse); }
    /// A layer used up by an issue: marked `delete` and swept with the other marks of its item
    /// and warehouse at the end.
    void mark_used_up(const Layer& used, const StockChange& change);

    [[nodiscard]] std::expected<void, Error> write(Database& db) const;

private:
    void record(const Layer& layer, const StockChange& change, HistoryMark mark);
    [[nodiscard]] std::expected<void, Error> delete_by_id(Database& db, const std::vector<qint64>& ids) const;
    [[nodiscard]] std::expected<void, Error> mark_and_sweep(Database& db) const;

    LayerDocument m_document;
    std::vector<qint64> m_removed;
    std::map<qint64, Layer> m_changed; ///< by id, the last state of each
    std::vector<Layer> m_inserted;
    std::vector<Layer> m_marked;
    struct History {
        Layer layer;
        StockChange change;
        HistoryMark mark = HistoryMark::Change;
    };
    std::vector<History> m_history;
};

/// Writes an operation's layer changes, then the on-hand changes that mirror them.
[[nodiscard]] std::expected<void, Error> write_stock(Database& db, const LayerWrites& writes, const OnHandChanges& on_hand);

} // namespace zelkor
