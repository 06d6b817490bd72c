#include "stock/layer_issue.h"

#include "stock/cost_layers.h"

namespace zelkor {
namespace {

constexpr int LayersPerRead = 500;

/// The positive layers of an item in a warehouse in the order an issue consumes them, read a
/// page at a time as the issue gets to them.
class PositiveLayers {
public:
    PositiveLayers(Database& db, const ItemWarehouse& key, CostMethod method)
        : m_db(db), m_key(key), m_newest_first(method == CostMethod::Lifo)
    {
    }

    /// The layer to take from next; nullptr when no positive layer is left.
    [[nodiscard]] std::expected<Layer*, Error> current()
    {
        if (m_index == m_page.size() && !m_exhausted)
            if (auto read = read_page(); !read)
                return std::unexpected(read.error());
        return m_index < m_page.size() ? &m_page[m_index] : nullptr;
    }
    void advance() { ++m_index; }

private:
    [[nodiscard]] std::expected<void, Error> read_page()
    {
        QString sql = QStringLiteral("SELECT ") + layer_columns()
            + QStringLiteral(" FROM FIFO_table WHERE company = 1 AND itemcode = ? AND warehouse = ? AND negative_lot = FALSE");
        Params params{m_key.itemcode, m_key.warehouse};
        if (!m_page.empty()) {
            sql += m_newest_first ? QStringLiteral(" AND lot_id < ?") : QStringLiteral(" AND lot_id > ?");
            params.push_back(m_page.back().lot_id);
        }
        sql += m_newest_first ? QStringLiteral(" ORDER BY lot_id DESC") : QStringLiteral(" ORDER BY lot_id");
        sql += QStringLiteral(" LIMIT %1").arg(LayersPerRead);
        auto rows = m_db.select(sql, params);
        if (!rows)
            return std::unexpected(rows.error());
        m_page.clear();
        m_index = 0;
        for (const Row& row : *rows)
            m_page.push_back(layer_of(row));
        m_exhausted = m_page.size() < size_t(LayersPerRead);
        return {};
    }

    Database& m_db;
    ItemWarehouse m_key;
    bool m_newest_first = false;
    std::vector<Layer> m_page;
    size_t m_index = 0;
    bool m_exhausted = false;
};

/// Takes `quantity` (at most all it holds, of the layer's own sign) out of a layer and gives the
/// layer's change: a layer left with stock keeps its unit cost and holds its remaining
/// quantity's value, a used-up layer gives its whole amount.
StockChange take_from_layer(Layer& layer, const Decimal& quantity)
{
    if (quantity == layer.quantity) {
        const StockChange given{-layer.quantity, -layer.amount};
        layer.quantity = Decimal();
        layer.amount = Decimal();
        return given;
    }
    const Decimal remaining = layer.quantity - quantity;
    const Decimal amount = (remaining * layer.unitcost).round2();
    const StockChange given{-quantity, amount - layer.amount};
    layer.quantity = remaining;
    layer.amount = amount;
    return given;
}

/// Consumes positive layers for the issue; gives what they gave and leaves the uncovered rest
/// in `rest`.
[[nodiscard]] std::expected<StockChange, Error> consume(PositiveLayers& layers, Decimal& rest, LayerWrites& writes)
{
    StockChange given;
    while (rest > Decimal()) {
        auto current = layers.current();
        if (!current)
            return std::unexpected(current.error());
        if (!*current)
            break;
        Layer& layer = **current;
        const Decimal taken = std::min(layer.quantity, rest);
        Layer before = layer;
        const StockChange change = take_from_layer(layer, taken);
        if (layer.quantity.is_zero()) {
            writes.mark_used_up(before, change);
            layers.advance();
        } else {
            writes.change(layer, change);
        }
        given += change;
        rest -= taken;
    }
    return given;
}

[[nodiscard]] std::expected<std::vector<Layer>, Error> negative_layers(Database& db, const ItemWarehouse& key)
{
    auto rows = db.select(QStringLiteral("SELECT ") + layer_columns()
                              + QStringLiteral(" FROM FIFO_table WHERE company = 1 AND itemcode = ? AND warehouse = ?"
                                               " AND negative_lot = TRUE ORDER BY lot_id"),
                          {key.itemcode, key.warehouse});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<Layer> layers;
    for (const Row& row : *rows)
        layers.push_back(layer_of(row));
    return layers;
}

/// Nets one negative layer against the positive layers, in their order, until it is gone or
/// no positive stock is left; removes used-up layers at once. Gives the change of the layers'
/// value (their quantities cancel).
[[nodiscard]] std::expected<StockChange, Error> net_negative_layer(Layer& negative, PositiveLayers& layers,
                                                                   LayerWrites& writes)
{
    StockChange netted;
    while (negative.quantity.is_negative()) {
        auto current = layers.current();
        if (!current)
            return std::unexpected(current.error());
        if (!*current)
            break;
        Layer& positive = **current;
        const Decimal absorbed = std::min(positive.quantity, -negative.quantity);
        Layer before = positive;
        const StockChange given = take_from_layer(positive, absorbed);
        if (positive.quantity.is_zero()) {
            writes.remove(before, given);
            layers.advance();
        } else {
            writes.change(positive, given);
        }
        Layer old_negative = negative;
        const StockChange released = take_from_layer(negative, -absorbed);
        if (negative.quantity.is_zero())
            writes.remove(old_negative, released);
        else
            writes.change(negative, released);
        netted += given;
        netted += released;
    }
    return netted;
}

} // namespace

[[nodiscard]] std::expected<LayerIssueResult, Error> issue_from_layers(Database& db, const LayerIssue& issue,
                                                                       const LayerDocument& document)
{
    if (issue.quantity.is_negative())
        return std::unexpected(Error::invalid(QStringLiteral("negative quantity is invalid.")));
    const ItemWarehouse key = issue.place.item_warehouse();
    auto locked = lock_item_stock(db, key);
    if (!locked)
        return std::unexpected(locked.error());
    if (!locked->setting)
        return std::unexpected(Error::invalid(QStringLiteral("warehouse ") + key.warehouse + QStringLiteral(" is invalid.")));
    const WarehouseSetting& setting = *locked->setting;
    if (!keeps_layers(setting.cost_method))
        return std::unexpected(Error::invalid(QStringLiteral("Item %1 keeps no cost layers in warehouse %2.")
                                                  .arg(key.itemcode, key.warehouse)));
    const StockItem& item = locked->item;

    LayerWrites writes(document);
    OnHandChanges on_hand;
    PositiveLayers positives(db, key, setting.cost_method);
    LayerIssueResult result;
    Decimal rest = issue.quantity;
    auto given = consume(positives, rest, writes);
    if (!given)
        return std::unexpected(given.error());
    result.issued = *given;
    on_hand.add(issue.place, item.stock_uom, *given);
    if (rest > Decimal()) {
        const auto& last_cost = setting.last_cost;
        const Decimal unit_cost = last_cost && *last_cost > Decimal() ? *last_cost : issue.unit_cost;
        const NewLayer negative{issue.place, setting.cost_method_text, -rest, -(rest * unit_cost).round2(),
                                item.stock_uom, item.unitcost_decimals};
        LotIds lots(db);
        std::vector<QString> lot_ids;
        if (auto gathered = gather_new_layers(lots, document, {negative}, writes, on_hand, lot_ids); !gathered)
            return std::unexpected(gathered.error());
        result.issued += {negative.quantity, negative.amount};
    } else {
        auto negatives = negative_layers(db, key);
        if (!negatives)
            return std::unexpected(negatives.error());
        for (Layer& negative : *negatives) {
            auto netted = net_negative_layer(negative, positives, writes);
            if (!netted)
                return std::unexpected(netted.error());
            result.netted += *netted;
        }
        on_hand.add(issue.place, item.stock_uom, result.netted);
    }
    if (auto written = write_stock(db, writes, on_hand); !written)
        return std::unexpected(written.error());
    return result;
}

} // namespace zelkor
