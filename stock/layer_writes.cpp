#include "stock/layer_writes.h"

#include "core/clock.h"
#include "core/db/sql_batch.h"
#include "core/db/sql_names.h"

#include <QStringList>

#include <set>

namespace zelkor {

QString layer_columns()
{
    return QStringLiteral("id, itemcode, warehouse, cost_method, lot_id, receipt_no, receipt_date, unitcost, quantity,"
                          " amount, uom, negative_lot");
}

Layer layer_of(const Row& row)
{
    return {row.integer(u"id"),          row.text(u"itemcode"),    row.text(u"warehouse"), row.text(u"cost_method"),
            row.text(u"lot_id"),         row.text(u"receipt_no"),  row.date(u"receipt_date"),
            row.decimal(u"unitcost"),    row.decimal(u"quantity"), row.decimal(u"amount"),
            row.text(u"uom"),            row.flag(u"negative_lot")};
}

Decimal layer_unitcost(const Decimal& amount, const Decimal& quantity, int decimals, const Decimal& fallback)
{
    return quantity.is_zero() ? fallback : (amount / quantity).round(decimals);
}

void LayerWrites::record(const Layer& layer, const StockChange& change, HistoryMark mark)
{
    m_history.push_back({layer, change, mark});
}

void LayerWrites::insert(const Layer& layer, HistoryMark mark)
{
    Q_ASSERT(layer.id == 0);
    m_inserted.push_back(layer);
    record(layer, {layer.quantity, layer.amount}, mark);
}

void LayerWrites::change(const Layer& changed, const StockChange& change, HistoryMark mark)
{
    Q_ASSERT(changed.id != 0);
    m_changed[changed.id] = changed;
    record(changed, change, mark);
}

void LayerWrites::remove(const Layer& removed, const StockChange& change, HistoryMark mark)
{
    Q_ASSERT(removed.id != 0);
    m_changed.erase(removed.id);
    m_removed.push_back(removed.id);
    record(removed, change, mark);
}

void LayerWrites::mark_used_up(const Layer& used, const StockChange& change)
{
    Q_ASSERT(used.id != 0);
    m_changed.erase(used.id);
    m_marked.push_back(used);
    record(used, change, HistoryMark::Change);
}

[[nodiscard]] std::expected<void, Error> LayerWrites::delete_by_id(Database& db, const std::vector<qint64>& ids) const
{
    for (qsizetype first = 0; first < qsizetype(ids.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(ids.size()) - first);
        const Params params(ids.begin() + first, ids.begin() + first + count);
        auto done = db.execute(QStringLiteral("DELETE FROM FIFO_table WHERE id IN (") + placeholder_list(count) + u')', params);
        if (!done)
            return std::unexpected(done.error());
    }
    return {};
}

[[nodiscard]] std::expected<void, Error> LayerWrites::mark_and_sweep(Database& db) const
{
    std::vector<qint64> ids;
    std::set<ItemWarehouse> swept;
    for (const Layer& layer : m_marked) {
        ids.push_back(layer.id);
        swept.insert({layer.itemcode, layer.warehouse});
    }
    const QString mark = QStringLiteral("UPDATE FIFO_table SET ") + sql_name(u"delete") + QStringLiteral(" = TRUE WHERE id IN (");
    for (qsizetype first = 0; first < qsizetype(ids.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(ids.size()) - first);
        auto done = db.execute(mark + placeholder_list(count) + u')', Params(ids.begin() + first, ids.begin() + first + count));
        if (!done)
            return std::unexpected(done.error());
    }
    // Only the marks of the layers this operation used up: another item's marks are another
    // operation's business.
    for (const ItemWarehouse& key : swept) {
        auto done = db.execute(QStringLiteral("DELETE FROM FIFO_table WHERE company = 1 AND itemcode = ? AND warehouse = ? AND ")
                                   + sql_name(u"delete") + QStringLiteral(" = TRUE"),
                               {key.itemcode, key.warehouse});
        if (!done)
            return std::unexpected(done.error());
    }
    return {};
}

[[nodiscard]] std::expected<void, Error> LayerWrites::write(Database& db) const
{
    if (auto removed = delete_by_id(db, m_removed); !removed)
        return removed;
    if (auto swept = mark_and_sweep(db); !swept)
        return swept;
    std::vector<Params> changed;
    changed.reserve(m_changed.size());
    for (const auto& [id, layer] : m_changed)
        changed.push_back({id, layer.quantity, layer.amount, layer.unitcost, layer.negative_lot});
    if (auto done = update_from_values(db, QStringLiteral("FIFO_table"),
                                       QStringLiteral("quantity = v.column2, amount = v.column3, unitcost = v.column4,"
                                                      " negative_lot = v.column5"),
                                       QStringLiteral("FIFO_table.id = v.column1"),
                                       QStringLiteral("(CAST(? AS INTEGER), CAST(? AS NUMERIC), CAST(? AS NUMERIC),"
                                                      " CAST(? AS NUMERIC), CAST(? AS BOOLEAN))"),
                                       changed);
        !done)
        return done;
    InsertBatch layers(QStringLiteral("FIFO_table"),
                       {QStringLiteral("company"), QStringLiteral("itemcode"), QStringLiteral("warehouse"),
                        QStringLiteral("cost_method"), QStringLiteral("lot_id"), QStringLiteral("receipt_no"),
                        QStringLiteral("receipt_date"), QStringLiteral("unitcost"), QStringLiteral("quantity"),
                        QStringLiteral("amount"), QStringLiteral("uom"), QStringLiteral("negative_lot"),
                        QStringLiteral("delete")});
    for (const Layer& layer : m_inserted)
        layers.add({1, layer.itemcode, layer.warehouse, layer.cost_method, layer.lot_id, layer.receipt_no,
                    layer.receipt_date, layer.unitcost, layer.quantity, layer.amount, layer.uom, layer.negative_lot,
                    false});
    if (auto inserted = layers.execute(db); !inserted)
        return inserted;
    InsertBatch history(QStringLiteral("FIFO_history_table"),
                        {QStringLiteral("company"), QStringLiteral("itemcode"), QStringLiteral("warehouse"),
                         QStringLiteral("cost_method"), QStringLiteral("lot_id"), QStringLiteral("receipt_no"),
                         QStringLiteral("receipt_date"), QStringLiteral("docno"), QStringLiteral("Date"),
                         QStringLiteral("unitcost"), QStringLiteral("quantity"), QStringLiteral("amount"),
                         QStringLiteral("uom"), QStringLiteral("negative_lot"), QStringLiteral("Source"),
                         QStringLiteral("Reverse"), QStringLiteral("date_created"), QStringLiteral("time_created")});
    const QDate today = Clock::today();
    const QString now = Clock::time_text();
    for (const History& row : m_history) {
        const Layer& layer = row.layer;
        history.add({1, layer.itemcode, layer.warehouse, layer.cost_method, layer.lot_id, layer.receipt_no,
                     layer.receipt_date, m_document.docno, m_document.date, layer.unitcost, row.change.quantity,
                     row.change.value, layer.uom, layer.negative_lot, m_document.source, row.mark == HistoryMark::Reverse, today, now});
    }
    return history.execute(db);
}

[[nodiscard]] std::expected<void, Error> write_stock(Database& db, const LayerWrites& writes, const OnHandChanges& on_hand)
{
    if (auto written = writes.write(db); !written)
        return written;
    return on_hand.apply(db);
}

} // namespace zelkor
