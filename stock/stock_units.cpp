#include "stock/stock_units.h"

#include "core/db/sql_batch.h"

#include <vector>

namespace zelkor {

std::expected<std::optional<QString>, Error> StockUnits::stock_uom_of(const QString& itemcode)
{
    if (auto known = m_stock_uoms.constFind(itemcode); known != m_stock_uoms.constEnd())
        return *known;
    auto item = m_db.first(QStringLiteral("SELECT stock_uom FROM Item_master_table WHERE itemcode = ?"), {itemcode});
    if (!item)
        return std::unexpected(item.error());
    std::optional<QString> stock_uom;
    if (*item)
        stock_uom = (*item)->text(u"stock_uom");
    m_stock_uoms.insert(itemcode, stock_uom);
    return stock_uom;
}

std::expected<void, Error> StockUnits::read_stock_uoms(const QSet<QString>& itemcodes)
{
    std::vector<QString> unread;
    for (const QString& itemcode : itemcodes)
        if (!m_stock_uoms.contains(itemcode))
            unread.push_back(itemcode);
    QHash<QString, std::optional<QString>> read;
    auto done = select_by_keys(m_db, QStringLiteral("SELECT itemcode, stock_uom FROM Item_master_table WHERE itemcode IN ("),
                               unread, QStringLiteral(")"),
                               [&](const Row& row) { read.insert(row.text(u"itemcode"), row.text(u"stock_uom")); });
    // Kept only when the whole read succeeded, so that a failed read is never taken later for an
    // item without a stock unit; an item missing from the master has none, as stock_uom_of finds.
    if (!done)
        return done;
    for (const QString& itemcode : unread)
        m_stock_uoms.insert(itemcode, read.value(itemcode));
    return {};
}

std::expected<void, Error> StockUnits::read_conversions(const std::vector<std::pair<QString, QString>>& item_uoms)
{
    QSet<QString> items;
    for (const auto& [itemcode, uom] : item_uoms)
        items.insert(itemcode);
    if (auto read = read_stock_uoms(items); !read)
        return read;
    std::vector<UnitSearch> searches;
    QSet<QString> asked;
    for (const auto& [itemcode, uom] : item_uoms) {
        const std::optional<QString> stock_uom = m_stock_uoms.value(itemcode);
        if (!stock_uom)
            continue;
        const QString from = uom.isEmpty() ? *stock_uom : uom;
        const QString pair_key = itemcode + QChar(0) + from;
        if (m_pairs.contains(pair_key) || asked.contains(pair_key))
            continue;
        asked.insert(pair_key);
        searches.push_back({itemcode, from, *stock_uom});
    }
    auto pairs = conversion_pairs(m_db, searches);
    if (!pairs)
        return std::unexpected(pairs.error());
    for (size_t index = 0; index < searches.size(); ++index)
        if ((*pairs)[index])
            m_pairs.insert(searches[index].itemcode + QChar(0) + searches[index].from, *(*pairs)[index]);
    return {};
}

std::expected<std::optional<StockConversion>, Error> StockUnits::conversion(const QString& itemcode, const QString& uom)
{
    auto stock_uom = stock_uom_of(itemcode);
    if (!stock_uom)
        return std::unexpected(stock_uom.error());
    if (!*stock_uom)
        return std::nullopt;
    const QString from = uom.isEmpty() ? **stock_uom : uom;
    const QString pair_key = itemcode + QChar(0) + from;
    auto pair = m_pairs.constFind(pair_key);
    if (pair == m_pairs.constEnd()) {
        auto read = conversion_pair(m_db, itemcode, from, **stock_uom);
        if (!read)
            return std::unexpected(read.error());
        pair = m_pairs.insert(pair_key, *read);
    }
    return StockConversion{*pair, **stock_uom};
}

std::expected<std::optional<StockQuantity>, Error> StockUnits::convert(const QString& itemcode, const QString& uom,
                                                                       const Decimal& quantity)
{
    auto found = conversion(itemcode, uom);
    if (!found)
        return std::unexpected(found.error());
    if (!*found)
        return std::nullopt;
    return StockQuantity{(*found)->stock_quantity(quantity), (*found)->stock_uom};
}

} // namespace zelkor
