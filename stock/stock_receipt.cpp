#include "stock/stock_receipt.h"

#include "stock/cost_layers.h"
#include "stock/inventory_document.h"
#include "stock/stock_units.h"

namespace zelkor {
namespace {

bool reaches_stock(const StockReceiptLine& line)
{
    return !line.itemcode.isEmpty() && (line.itemtype == u"1" || line.itemtype == u"2");
}

bool is_stock_item(const StockReceiptLine& line) { return line.itemtype == u"1"; }

/// The lines that change stock: a line received with quantity 0 (only cancelled) has nothing
/// to add and would divide by zero.
std::vector<size_t> lines_received(const std::vector<StockReceiptLine>& lines)
{
    std::vector<size_t> received;
    for (size_t index = 0; index < lines.size(); ++index)
        if (reaches_stock(lines[index]) && !lines[index].quantity.is_zero())
            received.push_back(index);
    return received;
}

[[nodiscard]] std::expected<void, Error> check_receipt(const StockReceipt& receipt, const std::vector<StockReceiptLine>& lines,
                                                       const std::vector<size_t>& received)
{
    if (!receipt.landed_total || receipt.landed_total->is_negative())
        return std::unexpected(Error::invalid(QStringLiteral("landed cost is invalid.")));
    for (size_t index : received)
        if (lines[index].quantity.is_negative())
            return std::unexpected(Error::invalid(QStringLiteral("negative quantity is invalid.")));
    return {};
}

/// Everything a receipt reads before it writes: items, unit conversions and, locked, the
/// warehouse settings of its stock items.
struct ReceiptFacts {
    StockItems items;
    std::vector<StockConversion> conversions; ///< by position in the received lines
    WarehouseSettings settings;
};

[[nodiscard]] std::expected<ReceiptFacts, Error> read_receipt_facts(Database& db, const std::vector<StockReceiptLine>& lines,
                                                                    const std::vector<size_t>& received)
{
    std::set<QString> codes;
    std::set<ItemWarehouse> keys;
    for (size_t index : received) {
        codes.insert(lines[index].itemcode);
        if (is_stock_item(lines[index]))
            keys.insert({lines[index].itemcode, lines[index].warehouse});
    }
    ReceiptFacts facts;
    auto items = read_stock_items(db, codes);
    if (!items)
        return std::unexpected(items.error());
    facts.items = std::move(*items);
    StockUnits units(db);
    for (const auto& [code, item] : facts.items)
        units.remember_stock_uom(code, item.stock_uom);
    std::vector<std::pair<QString, QString>> item_uoms;
    for (size_t index : received)
        item_uoms.emplace_back(lines[index].itemcode, lines[index].uom);
    if (auto read = units.read_conversions(item_uoms); !read)
        return std::unexpected(read.error());
    for (size_t index : received) {
        const StockReceiptLine& line = lines[index];
        if (!facts.items.contains(line.itemcode))
            return std::unexpected(Error::invalid(line.itemcode + QStringLiteral(" is invalid.")));
        auto conversion = units.conversion(line.itemcode, line.uom);
        if (!conversion)
            return std::unexpected(conversion.error());
        facts.conversions.push_back(**conversion);
    }
    auto settings = lock_warehouse_settings(db, keys);
    if (!settings)
        return std::unexpected(settings.error());
    for (const ItemWarehouse& key : keys)
        if (!settings->contains(key))
            return std::unexpected(Error::invalid(QStringLiteral("warehouse ") + key.warehouse + QStringLiteral(" is invalid.")));
    facts.settings = std::move(*settings);
    return facts;
}

/// The receipt's figures turned into stock: inventory lines, layers, on-hand changes and last
/// costs, gathered before anything is written.
struct ReceiptStock {
    std::vector<InventoryLine> lines;
    std::vector<ReceivedLine> received;
    std::vector<NewLayer> layers;
    std::vector<size_t> layer_lines; ///< the received line of each layer
    OnHandChanges on_hand;
    std::map<ItemWarehouse, LastCost> last_costs;
};

Decimal in_base_currency(const StockReceipt& receipt, const Decimal& amount)
{
    return receipt.exchange_rate ? (amount * *receipt.exchange_rate).round2() : amount.round2();
}

/// Line cost: extended cost, less the tax included in it, plus the capitalised tax.
Decimal price_of(const StockReceiptLine& line)
{
    return line.tax_included ? line.extended_cost - line.tax_amount : line.extended_cost;
}

InventoryLine inventory_line(int lineno, const StockReceiptLine& line, const StockItem& item,
                             const StockConversion& conversion, const Decimal& stock_quantity)
{
    InventoryLine in;
    in.lineno = lineno;
    in.itemcode = line.itemcode;
    in.description = line.description.isEmpty() ? item.description : line.description;
    in.warehouse = line.warehouse;
    in.location = line.location;
    in.quantity = line.quantity;
    in.uom = line.uom.isEmpty() ? conversion.stock_uom : line.uom;
    in.stock_uom = conversion.stock_uom;
    in.stock_uom_quantity = stock_quantity;
    in.quantity_from = conversion.pair.from_quantity;
    in.quantity_to = conversion.pair.to_quantity;
    return in;
}

/// Adds the cost, value and stock effects of a stock item's line.
void add_stock_effects(ReceiptStock& stock, const StockReceipt& receipt, const StockReceiptLine& line,
                       const StockItem& item, const WarehouseSetting& setting, InventoryLine& in, ReceivedLine& received)
{
    const int decimals = item.unitcost_decimals;
    const Decimal line_cost = price_of(line) + line.allocated_tax;
    const Decimal cost_in_base = in_base_currency(receipt, line_cost);
    const Decimal& stock_quantity = in.stock_uom_quantity;
    in.unitcost = (line_cost / line.quantity).round(decimals);
    in.extended_cost = line_cost.round2();
    in.stock_uom_unitcost = (line_cost * in.quantity_from / (line.quantity * in.quantity_to)).round(decimals);
    received.value = setting.cost_method == CostMethod::StandardCost ? (stock_quantity * setting.standard_cost).round2()
                                                                      : cost_in_base;
    in.stock_value = received.value;
    const StockPlace place{line.itemcode, line.warehouse, line.location};
    if (keeps_layers(setting.cost_method)) {
        stock.layers.push_back({place, setting.cost_method_text, stock_quantity, received.value, in.stock_uom, decimals});
        stock.layer_lines.push_back(stock.received.size());
    } else {
        stock.on_hand.add(place, in.stock_uom, {stock_quantity, received.value});
    }
    if (!line_cost.is_zero()) {
        const Decimal price_in_base = price_of(line) * receipt.exchange_rate.value_or(Decimal(1));
        stock.last_costs[place.item_warehouse()] = {(price_in_base / stock_quantity).round(decimals),
                                                    (cost_in_base / stock_quantity).round(decimals)};
    }
}

[[nodiscard]] std::expected<ReceiptStock, Error> receipt_stock(const StockReceipt& receipt,
                                                               const std::vector<StockReceiptLine>& lines,
                                                               const std::vector<size_t>& received,
                                                               const ReceiptFacts& facts)
{
    ReceiptStock stock;
    for (size_t position = 0; position < received.size(); ++position) {
        const StockReceiptLine& line = lines[received[position]];
        const StockItem& item = facts.items.at(line.itemcode);
        const StockConversion& conversion = facts.conversions[position];
        const Decimal stock_quantity = conversion.stock_quantity(line.quantity);
        if (stock_quantity.is_zero())
            return std::unexpected(Error::invalid(QStringLiteral("quantity of %1 is too small for its stock unit %2.")
                                                      .arg(line.itemcode, conversion.stock_uom)));
        InventoryLine in = inventory_line(int(position) + 1, line, item, conversion, stock_quantity);
        ReceivedLine done{received[position], in.lineno, stock_quantity, Decimal(), QString()};
        if (is_stock_item(line))
            add_stock_effects(stock, receipt, line, item, facts.settings.at({line.itemcode, line.warehouse}), in, done);
        stock.lines.push_back(in);
        stock.received.push_back(done);
    }
    return stock;
}

InventoryHeader receipt_header(const StockReceipt& receipt)
{
    return {QStringLiteral("ir"),
            receipt.date,
            receipt.period,
            QStringLiteral("Receipt no. ") + receipt.receipt_no,
            receipt.currency,
            receipt.exchange_rate,
            receipt.rate_date,
            receipt_source(),
            QStringLiteral("Receipt Entry"),
            receipt.receipt_no,
            receipt.stamp};
}

} // namespace

[[nodiscard]] std::expected<std::optional<ReceivedStock>, Error> receive_into_stock(Database& db,
                                                                                   const StockReceipt& receipt,
                                                                                   const std::vector<StockReceiptLine>& lines)
{
    const std::vector<size_t> received = lines_received(lines);
    if (received.empty())
        return std::nullopt;
    if (auto checked = check_receipt(receipt, lines, received); !checked)
        return std::unexpected(checked.error());
    auto facts = read_receipt_facts(db, lines, received);
    if (!facts)
        return std::unexpected(facts.error());
    auto stock = receipt_stock(receipt, lines, received, *facts);
    if (!stock)
        return std::unexpected(stock.error());

    const LayerDocument document{receipt.receipt_no, receipt_source(), receipt.date};
    LotIds lots(db);
    LayerWrites writes(document);
    std::vector<QString> lot_ids;
    if (auto gathered = gather_new_layers(lots, document, stock->layers, writes, stock->on_hand, lot_ids); !gathered)
        return std::unexpected(gathered.error());
    for (size_t layer = 0; layer < lot_ids.size(); ++layer)
        stock->received[stock->layer_lines[layer]].lot_id = lot_ids[layer];

    auto number = write_inventory_document(db, receipt_header(receipt), stock->lines);
    if (!number)
        return std::unexpected(number.error());
    if (auto written = write_stock(db, writes, stock->on_hand); !written)
        return std::unexpected(written.error());
    if (auto updated = update_last_costs(db, stock->last_costs); !updated)
        return std::unexpected(updated.error());
    return ReceivedStock{*number, std::move(stock->received)};
}

} // namespace zelkor
