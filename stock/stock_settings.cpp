#include "stock/stock_settings.h"

#include "core/db/sql_batch.h"

#include <algorithm>
#include <vector>

namespace zelkor {
namespace {

WarehouseSetting setting_of(const Row& row)
{
    WarehouseSetting setting;
    setting.cost_method_text = row.text(u"cost_method");
    setting.cost_method = cost_method_of(setting.cost_method_text);
    setting.standard_cost = row.decimal(u"standard_cost");
    setting.last_cost = row.decimal_or_null(u"last_cost");
    setting.allow_negative_stock = row.flag(u"allow_negative_stock");
    return setting;
}

StockItem item_of(const Row& row)
{
    const auto decimals = row.decimal_or_null(u"unitcost_decimals");
    return {row.text(u"item_type"), row.text(u"stock_uom"), row.text(u"description"),
            decimals ? int(std::clamp(decimals->to_integer(), 0LL, 6LL)) : 2};
}

} // namespace

CostMethod cost_method_of(const QString& text)
{
    if (text == u"FIFO")
        return CostMethod::Fifo;
    if (text == u"LIFO")
        return CostMethod::Lifo;
    if (text == u"Moving average")
        return CostMethod::MovingAverage;
    if (text == u"Standard cost")
        return CostMethod::StandardCost;
    return CostMethod::None;
}

std::vector<Statement> stock_items_reads(const std::set<QString>& itemcodes)
{
    return statements_by_keys(QStringLiteral("SELECT itemcode, item_type, stock_uom, description, unitcost_decimals"
                                             " FROM Item_master_table WHERE itemcode IN ("),
                              std::vector<QString>(itemcodes.begin(), itemcodes.end()), QStringLiteral(")"));
}

StockItems stock_items_of(std::span<const Rows> answers)
{
    StockItems items;
    for (const Rows& rows : answers)
        for (const Row& row : rows)
            items.emplace(row.text(u"itemcode"), item_of(row));
    return items;
}

[[nodiscard]] std::expected<StockItems, Error> read_stock_items(Database& db, const std::set<QString>& itemcodes)
{
    auto read = db.select_together(stock_items_reads(itemcodes));
    if (!read)
        return std::unexpected(read.error());
    return stock_items_of(*read);
}

[[nodiscard]] std::expected<WarehouseSettings, Error> lock_warehouse_settings(Database& db,
                                                                              const std::set<ItemWarehouse>& keys)
{
    std::map<QString, std::set<QString>> warehouses_of;
    for (const ItemWarehouse& key : keys)
        warehouses_of[key.itemcode].insert(key.warehouse);
    WarehouseSettings settings;
    // Chunks of consecutive item codes keep the rows of one chunk after those of the one before,
    // so that the whole document's rows are taken in key order. The item and warehouse lists
    // may name a few rows the document does not touch; they are held too, and left out here.
    for (auto first = warehouses_of.begin(); first != warehouses_of.end();) {
        Params items;
        std::set<QString> warehouses;
        auto last = first;
        for (; last != warehouses_of.end() && qsizetype(items.size()) < KeysPerStatement; ++last) {
            items.push_back(last->first);
            warehouses.insert(last->second.begin(), last->second.end());
        }
        Params params = items;
        params.insert(params.end(), warehouses.begin(), warehouses.end());
        auto rows = db.select_for_update(
            QStringLiteral("SELECT itemcode, warehouse, cost_method, standard_cost, last_cost, allow_negative_stock"
                           " FROM Item_warehouse_table WHERE company = 1 AND itemcode IN (")
                + placeholder_list(qsizetype(items.size())) + QStringLiteral(") AND warehouse IN (")
                + placeholder_list(qsizetype(warehouses.size())) + QStringLiteral(") ORDER BY itemcode, warehouse"),
            params);
        if (!rows)
            return std::unexpected(rows.error());
        for (const Row& row : *rows) {
            ItemWarehouse key{row.text(u"itemcode"), row.text(u"warehouse")};
            if (keys.contains(key))
                settings.emplace(std::move(key), setting_of(row));
        }
        first = last;
    }
    if (db.recording_locks()) {
        QStringList locked;
        for (const ItemWarehouse& key : keys)
            locked << key.itemcode + QChar(31) + key.warehouse;
        db.locked_keys(QStringLiteral("item_warehouse_table"), locked);
    }
    return settings;
}

[[nodiscard]] std::expected<LockedStock, Error> lock_item_stock(Database& db, const ItemWarehouse& key)
{
    auto settings = lock_warehouse_settings(db, {key});
    if (!settings)
        return std::unexpected(settings.error());
    auto items = read_stock_items(db, {key.itemcode});
    if (!items)
        return std::unexpected(items.error());
    LockedStock locked;
    if (auto setting = settings->find(key); setting != settings->end())
        locked.setting = setting->second;
    if (auto item = items->find(key.itemcode); item != items->end())
        locked.item = item->second;
    return locked;
}

[[nodiscard]] std::expected<void, Error> update_last_costs(Database& db, const std::map<ItemWarehouse, LastCost>& costs)
{
    const std::vector<std::pair<ItemWarehouse, LastCost>> all(costs.begin(), costs.end());
    for (qsizetype first = 0; first < qsizetype(all.size()); first += KeysPerStatement / 4) {
        const qsizetype count = std::min(KeysPerStatement / 4, qsizetype(all.size()) - first);
        QString rows;
        Params params;
        for (qsizetype i = first; i < first + count; ++i) {
            const auto& [key, cost] = all[size_t(i)];
            rows += (i == first ? QStringLiteral("") : QStringLiteral(", "))
                + QStringLiteral("(?, ?, CAST(? AS NUMERIC), CAST(? AS NUMERIC))");
            params.insert(params.end(), {key.itemcode, key.warehouse, cost.last_cost, cost.last_cost_plus});
        }
        auto done = db.write(QStringLiteral("UPDATE Item_warehouse_table SET last_cost = v.column3, last_cost_plus = v.column4"
                                              " FROM (VALUES ")
                                   + rows
                                   + QStringLiteral(") AS v WHERE Item_warehouse_table.company = 1"
                                                    " AND Item_warehouse_table.itemcode = v.column1"
                                                    " AND Item_warehouse_table.warehouse = v.column2"),
                               params);
        if (!done)
            return std::unexpected(done.error());
    }
    return {};
}

} // namespace zelkor
