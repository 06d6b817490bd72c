#include "stock/cost_layers.h"

#include "core/db/sql_batch.h"

#include <map>

namespace zelkor {
namespace {

/// A document's net change of one lot, summed from its history rows.
struct LotChange {
    Layer layer; ///< the lot's identity as the history rows give it; no id
    qint64 first_history_id = 0;
    StockChange change;
};

// The rows are summed here rather than grouped in SQL: a grouped query tempts SQLite to walk
// the item's whole history in lot order instead of the document's few rows.
[[nodiscard]] std::expected<std::vector<LotChange>, Error> document_lot_changes(Database& db, const LayerDocument& document,
                                                                                const ItemWarehouse& key)
{
    auto rows = db.select(QStringLiteral("SELECT id, lot_id, cost_method, receipt_no, receipt_date, uom, unitcost, quantity,"
                                         " amount, Reverse FROM FIFO_history_table WHERE company = 1 AND docno = ? AND Source = ?"
                                         " AND Date = ? AND warehouse = ? AND itemcode = ? ORDER BY id"),
                          {document.docno, document.source, document.date, key.warehouse, key.itemcode});
    if (!rows)
        return std::unexpected(rows.error());
    std::map<QString, LotChange> by_lot;
    for (const Row& row : *rows) {
        const QString lot_id = row.text(u"lot_id");
        auto [slot, fresh] = by_lot.try_emplace(lot_id);
        LotChange& lot = slot->second;
        if (fresh)
            lot.layer = {0, key.itemcode, key.warehouse, row.text(u"cost_method"), lot_id, row.text(u"receipt_no"),
                         row.date(u"receipt_date"), row.decimal(u"unitcost"), {}, {}, row.text(u"uom"), false};
        if (row.flag(u"Reverse")) {
            // A reversal settles every change before it; what it could not take back left
            // with stock issued since. An edited document's changes start again after it.
            lot.change = {};
            lot.first_history_id = 0;
            continue;
        }
        if (lot.first_history_id == 0)
            lot.first_history_id = row.integer(u"id");
        lot.change += {row.decimal(u"quantity"), row.decimal(u"amount")};
    }
    std::vector<LotChange> lots;
    for (auto& [lot_id, lot] : by_lot) {
        lot.change = {lot.change.quantity.round(6), lot.change.value.round2()};
        if (lot.change != StockChange{})
            lots.push_back(lot);
    }
    return lots;
}

[[nodiscard]] std::expected<std::map<QString, Layer>, Error> live_layers(Database& db, const ItemWarehouse& key,
                                                                        const std::vector<LotChange>& lots)
{
    std::map<QString, Layer> layers;
    for (qsizetype first = 0; first < qsizetype(lots.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(lots.size()) - first);
        Params params{key.itemcode, key.warehouse};
        for (qsizetype i = first; i < first + count; ++i)
            params.push_back(lots[size_t(i)].layer.lot_id);
        auto rows = db.select(QStringLiteral("SELECT ") + layer_columns()
                                  + QStringLiteral(" FROM FIFO_table WHERE company = 1 AND itemcode = ? AND warehouse = ?"
                                                   " AND lot_id IN (")
                                  + placeholder_list(count) + u')',
                              params);
        if (!rows)
            return std::unexpected(rows.error());
        for (const Row& row : *rows) {
            Layer layer = layer_of(row);
            layers.emplace(layer.lot_id, layer);
        }
    }
    return layers;
}

/// The quantity each lot of value-only changes held just before the document's first change of
/// it, read a few hundred lots a statement: a long receipt's layers cost no round trip each.
[[nodiscard]] std::expected<std::map<QString, Decimal>, Error> quantities_before(Database& db, const ItemWarehouse& key,
                                                                                 const std::vector<LotChange>& lots)
{
    std::map<QString, qint64> first_ids;
    for (const LotChange& lot : lots)
        if (lot.change.quantity.is_zero())
            first_ids.emplace(lot.layer.lot_id, lot.first_history_id);
    std::map<QString, Decimal> before;
    const std::vector<QString> lot_ids = [&] {
        std::vector<QString> ids;
        for (const auto& [lot_id, first] : first_ids)
            ids.push_back(lot_id);
        return ids;
    }();
    for (qsizetype first = 0; first < qsizetype(lot_ids.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(lot_ids.size()) - first);
        Params params{key.itemcode, key.warehouse};
        params.insert(params.end(), lot_ids.begin() + first, lot_ids.begin() + first + count);
        auto rows = db.select(QStringLiteral("SELECT lot_id, id, quantity FROM FIFO_history_table WHERE company = 1"
                                             " AND itemcode = ? AND warehouse = ? AND lot_id IN (")
                                  + placeholder_list(count) + u')',
                              params);
        if (!rows)
            return std::unexpected(rows.error());
        for (const Row& row : *rows) {
            const QString lot_id = row.text(u"lot_id");
            if (row.integer(u"id") < first_ids.at(lot_id))
                before[lot_id] += row.decimal(u"quantity");
        }
    }
    for (auto& [lot_id, quantity] : before)
        quantity = quantity.round(6);
    return before;
}

Error value_without_quantity(const Layer& layer)
{
    return Error::invalid(QStringLiteral("Cost layer %1 of item %2 in warehouse %3 would keep a value of %4 without quantity;"
                                         " later cost changes of its stock must be undone first.")
                              .arg(layer.lot_id, layer.itemcode, layer.warehouse, layer.amount.format(2)));
}

/// Takes a quantity change back from the lot: from its live layer, or by re-creating it.
[[nodiscard]] std::expected<void, Error> take_back_quantity(const LotChange& lot, std::optional<Layer> live, int decimals,
                                                            LayerWrites& writes)
{
    const StockChange back = -lot.change;
    if (!live) {
        Layer layer = lot.layer;
        layer.quantity = back.quantity;
        layer.amount = back.value;
        layer.unitcost = layer_unitcost(layer.amount, layer.quantity, decimals, layer.unitcost);
        layer.negative_lot = layer.quantity.is_negative();
        writes.insert(layer, HistoryMark::Reverse);
        return {};
    }
    live->quantity += back.quantity;
    live->amount += back.value;
    if (live->quantity.is_zero()) {
        if (!live->amount.is_zero())
            return std::unexpected(value_without_quantity(*live));
        writes.remove(*live, back, HistoryMark::Reverse);
        return {};
    }
    live->unitcost = layer_unitcost(live->amount, live->quantity, decimals, live->unitcost);
    live->negative_lot = live->quantity.is_negative();
    writes.change(*live, back, HistoryMark::Reverse);
    return {};
}

/// Takes a value-only change back from the lot, in proportion to the part of the quantity it
/// was spread over that is still in stock; gives what could not be taken back.
[[nodiscard]] Decimal take_back_value(const LotChange& lot, std::optional<Layer> live, const Decimal& before,
                                      int decimals, LayerWrites& writes)
{
    const Decimal value = lot.change.value;
    if (!live || !(live->quantity > Decimal(0))) {
        writes.settle(live ? *live : lot.layer);
        return value;
    }
    if (!(before > Decimal(0))) {
        writes.settle(*live);
        return value;
    }
    const Decimal remaining = std::min(live->quantity, before);
    Decimal taken = (value * remaining / before).round2();
    if (value > Decimal(0))
        taken = std::min(taken, live->amount);
    if (taken.is_zero()) {
        writes.settle(*live);
    } else {
        live->amount -= taken;
        live->unitcost = layer_unitcost(live->amount, live->quantity, decimals, live->unitcost);
        writes.change(*live, {Decimal(), -taken}, HistoryMark::Reverse);
    }
    return value - taken;
}

std::vector<ItemWarehouse> distinct_keys(const std::vector<NewLayer>& layers)
{
    std::set<ItemWarehouse> keys;
    for (const NewLayer& layer : layers)
        keys.insert(layer.place.item_warehouse());
    return {keys.begin(), keys.end()};
}

} // namespace

[[nodiscard]] std::expected<void, Error> gather_new_layers(LotIds& lots, const LayerDocument& document,
                                                           const std::vector<NewLayer>& layers, LayerWrites& writes,
                                                           OnHandChanges& on_hand, std::vector<QString>& lot_ids)
{
    if (auto read = lots.read_taken(distinct_keys(layers), document.date); !read)
        return read;
    for (const NewLayer& layer : layers) {
        const ItemWarehouse key = layer.place.item_warehouse();
        auto lot_id = lots.next(key, document.date);
        if (!lot_id)
            return std::unexpected(lot_id.error());
        writes.insert({0, key.itemcode, key.warehouse, layer.cost_method, *lot_id, document.docno, document.date,
                       layer_unitcost(layer.amount, layer.quantity, layer.unitcost_decimals, Decimal()), layer.quantity,
                       layer.amount, layer.stock_uom, layer.quantity.is_negative()});
        on_hand.add(layer.place, layer.stock_uom, {layer.quantity, layer.amount});
        lot_ids.push_back(*lot_id);
    }
    return {};
}

[[nodiscard]] std::expected<LayerReversal, Error> gather_layer_reversal(Database& db, const LayerDocument& document,
                                                                        const ItemWarehouse& key, int unitcost_decimals,
                                                                        LayerWrites& writes)
{
    auto lots = document_lot_changes(db, document, key);
    if (!lots)
        return std::unexpected(lots.error());
    auto live = live_layers(db, key, *lots);
    if (!live)
        return std::unexpected(live.error());
    auto before = quantities_before(db, key, *lots);
    if (!before)
        return std::unexpected(before.error());
    LayerReversal reversal;
    for (const LotChange& lot : *lots) {
        std::optional<Layer> layer;
        if (auto found = live->find(lot.layer.lot_id); found != live->end())
            layer = found->second;
        if (!lot.change.quantity.is_zero()) {
            if (auto taken = take_back_quantity(lot, layer, unitcost_decimals, writes); !taken)
                return std::unexpected(taken.error());
            reversal.change += -lot.change;
            continue;
        }
        const auto found_before = before->find(lot.layer.lot_id);
        const Decimal left = take_back_value(lot, layer, found_before == before->end() ? Decimal() : found_before->second,
                                             unitcost_decimals, writes);
        reversal.change.value -= lot.change.value - left;
        reversal.value_not_taken_back += left;
    }
    return reversal;
}

[[nodiscard]] std::expected<std::vector<QString>, Error> add_layers(Database& db, const LayerDocument& document,
                                                                    const std::vector<NewLayer>& layers)
{
    const std::vector<ItemWarehouse> keys = distinct_keys(layers);
    if (auto locked = lock_warehouse_settings(db, {keys.begin(), keys.end()}); !locked)
        return std::unexpected(locked.error());
    LotIds lots(db);
    LayerWrites writes(document);
    OnHandChanges on_hand;
    std::vector<QString> lot_ids;
    if (auto gathered = gather_new_layers(lots, document, layers, writes, on_hand, lot_ids); !gathered)
        return std::unexpected(gathered.error());
    if (auto written = write_stock(db, writes, on_hand); !written)
        return std::unexpected(written.error());
    return lot_ids;
}

[[nodiscard]] std::expected<QString, Error> add_layer(Database& db, const LayerDocument& document, const NewLayer& layer)
{
    auto lot_ids = add_layers(db, document, {layer});
    if (!lot_ids)
        return std::unexpected(lot_ids.error());
    return lot_ids->front();
}

[[nodiscard]] std::expected<StockChange, Error> adjust_layer_value(Database& db, const LayerDocument& document,
                                                                   const StockPlace& place, const QString& lot_id,
                                                                   const Decimal& value)
{
    const ItemWarehouse key = place.item_warehouse();
    auto locked = lock_item_stock(db, key);
    if (!locked)
        return std::unexpected(locked.error());
    const StockItem& item = locked->item;
    auto found = db.first(QStringLiteral("SELECT ") + layer_columns()
                              + QStringLiteral(" FROM FIFO_table WHERE company = 1 AND itemcode = ? AND warehouse = ? AND lot_id = ?"),
                          {key.itemcode, key.warehouse, lot_id});
    if (!found)
        return std::unexpected(found.error());
    if (!*found || value.is_zero())
        return StockChange{};
    Layer layer = layer_of(**found);
    if (!(layer.quantity > Decimal()))
        return StockChange{};
    layer.amount += value;
    layer.unitcost = layer_unitcost(layer.amount, layer.quantity, item.unitcost_decimals, layer.unitcost);
    const StockChange change{Decimal(), value};
    LayerWrites writes(document);
    writes.change(layer, change);
    OnHandChanges on_hand;
    on_hand.add(place, item.stock_uom, change);
    if (auto written = write_stock(db, writes, on_hand); !written)
        return std::unexpected(written.error());
    return change;
}

[[nodiscard]] std::expected<LayerReversal, Error> reverse_document_layers(Database& db, const LayerDocument& document,
                                                                          const StockPlace& place)
{
    const ItemWarehouse key = place.item_warehouse();
    auto locked = lock_item_stock(db, key);
    if (!locked)
        return std::unexpected(locked.error());
    const StockItem& item = locked->item;
    LayerWrites writes(document);
    auto reversal = gather_layer_reversal(db, document, key, item.unitcost_decimals, writes);
    if (!reversal)
        return reversal;
    OnHandChanges on_hand;
    on_hand.add(place, item.stock_uom, reversal->change);
    if (auto written = write_stock(db, writes, on_hand); !written)
        return std::unexpected(written.error());
    return reversal;
}

} // namespace zelkor
