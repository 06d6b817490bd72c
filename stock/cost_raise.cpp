#include "stock/cost_raise.h"

#include "core/db/sql_names.h"
#include "stock/stock_settings.h"

#include <deque>
#include <map>
#include <set>
#include <span>
#include <tuple>

namespace zelkor {
namespace {

using ReceiptKey = std::tuple<QString, QString, QString>; // receipt, item, warehouse

Statement receipt_lots_read(const Params& receipts)
{
    return {QStringLiteral("SELECT receipt_no, itemcode, warehouse, lot_id, quantity FROM FIFO_history_table"
                           " WHERE company = 1 AND receipt_no IN (")
                + placeholder_list(qsizetype(receipts.size()))
                + QStringLiteral(") AND docno = receipt_no AND Source = 'PO-RECEIPT' ORDER BY id"),
            receipts};
}

/// The layers each receipt made and still accounts for, per item and warehouse in the order
/// they were made: lots whose receipt rows (made, less taken back by an edit) leave quantity.
std::map<ReceiptKey, std::deque<QString>> receipt_lots_of(const Rows& rows)
{
    std::map<std::pair<ReceiptKey, QString>, Decimal> net;
    std::vector<std::pair<ReceiptKey, QString>> order;
    for (const Row& row : rows) {
        const auto lot = std::pair{ReceiptKey{row.text(u"receipt_no"), row.text(u"itemcode"), row.text(u"warehouse")},
                                   row.text(u"lot_id")};
        auto [slot, fresh] = net.try_emplace(lot);
        if (fresh)
            order.push_back(lot);
        slot->second += row.decimal(u"quantity");
    }
    std::map<ReceiptKey, std::deque<QString>> lots;
    for (const auto& lot : order)
        if (net.at(lot) > Decimal())
            lots[lot.first].push_back(lot.second);
    return lots;
}

Statement receipt_layers_read(const Params& receipts)
{
    return {QStringLiteral("SELECT ") + layer_columns() + QStringLiteral(" FROM FIFO_table WHERE company = 1 AND receipt_no IN (")
                + placeholder_list(qsizetype(receipts.size())) + u')',
            receipts};
}

/// The receipts' live layers by item, warehouse and lot.
std::map<std::pair<ItemWarehouse, QString>, Layer> receipt_layers_of(const Rows& rows)
{
    std::map<std::pair<ItemWarehouse, QString>, Layer> layers;
    for (const Row& row : rows) {
        Layer layer = layer_of(row);
        layers.emplace(std::pair{ItemWarehouse{layer.itemcode, layer.warehouse}, layer.lot_id}, layer);
    }
    return layers;
}

InventoryLine adjustment_line(int lineno, const CostRaise& raise, const StockItem& item, const Decimal& stock_value)
{
    InventoryLine line;
    line.lineno = lineno;
    line.itemcode = raise.itemcode;
    line.description = item.description;
    line.warehouse = raise.warehouse;
    line.location = raise.location;
    line.adjustment_type = raise.value > Decimal() ? 3 : 4;
    line.uom = item.stock_uom;
    line.stock_uom = item.stock_uom;
    line.extended_cost = raise.value;
    line.remark = QStringLiteral("Receipt ") + raise.receipt_no + QStringLiteral(" line ") + QString::number(raise.receipt_itemno);
    line.stock_value = stock_value;
    return line;
}

} // namespace

std::expected<CostRaisePlan, Error> plan_cost_raise(Database& db, const std::vector<CostRaise>& raises)
{
    CostRaisePlan plan;
    std::set<ItemWarehouse> keys;
    std::set<QString> codes;
    QStringList receipt_numbers;
    for (const CostRaise& raise : raises) {
        keys.insert({raise.itemcode, raise.warehouse});
        codes.insert(raise.itemcode);
        if (!receipt_numbers.contains(raise.receipt_no))
            receipt_numbers << raise.receipt_no;
    }
    auto settings = lock_warehouse_settings(db, keys);
    if (!settings)
        return std::unexpected(settings.error());
    // The items, then the receipts' lots and layers, in one round trip once the stock rows are held.
    std::vector<Statement> reads = stock_items_reads(codes);
    const size_t item_reads = reads.size();
    const Params receipts(receipt_numbers.begin(), receipt_numbers.end());
    if (!raises.empty()) {
        reads.push_back(receipt_lots_read(receipts));
        reads.push_back(receipt_layers_read(receipts));
    }
    auto read = db.select_together(reads);
    if (!read)
        return std::unexpected(read.error());
    const std::span<const Rows> answers(*read);
    const StockItems items = stock_items_of(answers.first(item_reads));
    std::map<ReceiptKey, std::deque<QString>> lots;
    std::map<std::pair<ItemWarehouse, QString>, Layer> layers;
    if (!raises.empty()) {
        lots = receipt_lots_of(answers[item_reads]);
        layers = receipt_layers_of(answers[item_reads + 1]);
    }

    int lineno = 1;
    for (const CostRaise& raise : raises) {
        const ItemWarehouse key{raise.itemcode, raise.warehouse};
        const auto setting = settings->find(key);
        const CostMethod method = setting == settings->end() ? CostMethod::None : setting->second.cost_method;
        // Every line that received stock made one layer: take its lot even when its share is zero.
        QString lot_id;
        if (keeps_layers(method) && raise.quantity_received > Decimal()) {
            auto& queue = lots[{raise.receipt_no, raise.itemcode, raise.warehouse}];
            if (!queue.empty()) {
                lot_id = queue.front();
                queue.pop_front();
            }
        }
        if (raise.value.is_zero()) {
            plan.targets.push_back(RaiseTarget::Stock);
            continue;
        }
        const auto found_item = items.find(raise.itemcode);
        const StockItem item = found_item == items.end() ? StockItem{} : found_item->second;
        RaiseTarget target = RaiseTarget::Stock;
        if (method == CostMethod::StandardCost) {
            target = RaiseTarget::Variance;
        } else if (keeps_layers(method)) {
            auto layer = layers.find({key, lot_id});
            if (lot_id.isEmpty() || layer == layers.end() || !(layer->second.quantity > Decimal())
                || (layer->second.amount + raise.value).is_negative()) {
                target = RaiseTarget::Variance;
            } else {
                Layer& raised = layer->second;
                raised.amount += raise.value;
                raised.unitcost = layer_unitcost(raised.amount, raised.quantity, item.unitcost_decimals, raised.unitcost);
                plan.layers.emplace_back(raised, StockChange{Decimal(), raise.value});
            }
        }
        if (target == RaiseTarget::Stock)
            plan.on_hand.add({raise.itemcode, raise.warehouse, raise.location}, item.stock_uom, {Decimal(), raise.value});
        plan.targets.push_back(target);
        plan.lines.push_back(adjustment_line(lineno++, raise, item, target == RaiseTarget::Stock ? raise.value : Decimal()));
    }
    return plan;
}

std::expected<std::optional<DocumentNumber>, Error> write_cost_raise(Database& db, const LayerDocument& document,
                                                                     const InventoryHeader& header,
                                                                     const CostRaisePlan& plan)
{
    if (plan.lines.empty())
        return std::nullopt;
    auto number = write_inventory_document(db, header, plan.lines);
    if (!number)
        return std::unexpected(number.error());
    LayerWrites writes(document);
    for (const auto& [layer, change] : plan.layers)
        writes.change(layer, change);
    if (auto written = write_stock(db, writes, plan.on_hand); !written)
        return std::unexpected(written.error());
    return *number;
}

} // namespace zelkor
