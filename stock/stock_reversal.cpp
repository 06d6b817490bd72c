#include "stock/stock_reversal.h"

#include "core/clock.h"
#include "stock/cost_layers.h"
#include "stock/inventory_document.h"

namespace zelkor {
namespace {

/// The part of a line's value that the layers could not give back, taken from what is left of
/// its item and warehouse's shortfall, line by line.
Decimal share_of_shortfall(Decimal& shortfall, const Decimal& value)
{
    if (shortfall.is_zero() || value.is_zero())
        return Decimal();
    const Decimal share = shortfall.abs() >= value.abs() ? value : shortfall;
    shortfall -= share;
    return share;
}

InventoryLine reversal_line(const InventoryLine& line, int lineno, const Decimal& value_taken_back)
{
    InventoryLine reversal = line;
    reversal.lineno = lineno;
    reversal.quantity = -line.quantity;
    reversal.stock_uom_quantity = -line.stock_uom_quantity;
    reversal.extended_cost = -line.extended_cost;
    reversal.stock_value = -value_taken_back;
    reversal.remark = QStringLiteral("reverse line ") + QString::number(line.lineno);
    return reversal;
}

/// The items and warehouses whose stock the document changed: its lines of stock items.
std::set<ItemWarehouse> stock_keys(const StoredInventoryDocument& document, const StockItems& items)
{
    std::set<ItemWarehouse> keys;
    for (const InventoryLine& line : document.lines)
        if (auto item = items.find(line.itemcode); item != items.end() && item->second.item_type == u"1")
            keys.insert({line.itemcode, line.warehouse});
    return keys;
}

[[nodiscard]] std::expected<void, Error> mark_void(Database& db, const QString& fkey, const StockStamp& stamp)
{
    auto done = db.execute(QStringLiteral("UPDATE IN_header_table SET void = TRUE, date_lastmodified = ?,"
                                          " time_lastmodified = ?, user_updated = ? WHERE fkey = ?"),
                           {Clock::today(), Clock::time_text(), stamp.user, fkey});
    if (!done)
        return std::unexpected(done.error());
    return {};
}

std::set<QString> item_codes(const StoredInventoryDocument& document)
{
    std::set<QString> codes;
    for (const InventoryLine& line : document.lines)
        codes.insert(line.itemcode);
    return codes;
}

} // namespace

[[nodiscard]] std::expected<ReversedStock, Error> reverse_document_stock(Database& db, const QString& fkey,
                                                                        const StockStamp& stamp)
{
    if (fkey.isEmpty())
        return ReversedStock{};
    auto stored = read_inventory_document(db, fkey);
    if (!stored)
        return std::unexpected(stored.error());
    if (!*stored)
        return std::unexpected(Error::not_found(fkey + QStringLiteral(" document does not exist")));
    const StoredInventoryDocument& document = **stored;
    if (document.void_document)
        return std::unexpected(Error::invalid(QStringLiteral("Inventory document ") + document.number.docno
                                              + QStringLiteral(" is already void.")));
    auto items = read_stock_items(db, item_codes(document));
    if (!items)
        return std::unexpected(items.error());
    const std::set<ItemWarehouse> keys = stock_keys(document, *items);
    auto settings = lock_warehouse_settings(db, keys);
    if (!settings)
        return std::unexpected(settings.error());

    ReversedStock result;
    LayerWrites writes({document.header.source_docno, document.header.source, document.header.date});
    std::map<ItemWarehouse, Decimal> shortfalls;
    for (const ItemWarehouse& key : keys) {
        const auto setting = settings->find(key);
        if (setting == settings->end() || !keeps_layers(setting->second.cost_method))
            continue;
        auto reversal = gather_layer_reversal(db, {document.header.source_docno, document.header.source, document.header.date},
                                              key, items->at(key.itemcode).unitcost_decimals, writes);
        if (!reversal)
            return std::unexpected(reversal.error());
        shortfalls[key] = reversal->value_not_taken_back;
        result.value_not_taken_back += reversal->value_not_taken_back;
    }

    OnHandChanges on_hand;
    std::vector<InventoryLine> reversal_lines;
    int lineno = document.lines.empty() ? 1 : document.lines.back().lineno + 1;
    for (const InventoryLine& line : document.lines) {
        const ItemWarehouse key{line.itemcode, line.warehouse};
        Decimal taken = line.stock_value;
        if (keys.contains(key)) {
            if (auto shortfall = shortfalls.find(key); shortfall != shortfalls.end())
                taken -= share_of_shortfall(shortfall->second, line.stock_value);
            const StockChange change{-line.stock_uom_quantity, -taken};
            on_hand.add({line.itemcode, line.warehouse, line.location}, line.stock_uom, change);
            result.change += change;
        }
        reversal_lines.push_back(reversal_line(line, lineno++, taken));
    }
    if (auto appended = append_inventory_lines(db, document, reversal_lines, stamp); !appended)
        return std::unexpected(appended.error());
    if (auto written = write_stock(db, writes, on_hand); !written)
        return std::unexpected(written.error());
    if (auto marked = mark_void(db, fkey, stamp); !marked)
        return std::unexpected(marked.error());
    return result;
}

} // namespace zelkor
