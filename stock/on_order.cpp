#include "stock/on_order.h"

#include "stock/stock_places.h"
#include "stock/stock_settings.h"
#include "stock/stock_units.h"

#include <map>
#include <tuple>

namespace zelkor {
namespace {

/// Rows per upsert statement: keeps the bound values of one statement well below both
/// engines' limits while a long order still needs only a few round trips.
constexpr int RowsPerStatement = 100;

struct OnHandKey {
    QString itemcode;
    QString warehouse;
    QString location;
    bool operator<(const OnHandKey& other) const
    {
        return std::tie(itemcode, warehouse, location) < std::tie(other.itemcode, other.warehouse, other.location);
    }
};

bool counted(const OnOrderLine& line, OnOrderTypes types)
{
    if (line.itemcode.isEmpty() || line.quantity_open.is_zero())
        return false;
    return types == OnOrderTypes::StockOnly ? line.itemtype == u"1" : counts_on_order(line.itemtype);
}

using Changes = std::map<OnHandKey, StockQuantity>;

[[nodiscard]] std::expected<Changes, Error> changes_of(Database& db, const std::vector<OnOrderMove>& moves, OnOrderTypes types)
{
    StockUnits units(db);
    std::vector<std::pair<QString, QString>> item_uoms;
    for (const OnOrderMove& move : moves)
        for (const OnOrderLine& line : move.lines)
            if (counted(line, types))
                item_uoms.emplace_back(line.itemcode, line.uom);
    if (auto read = units.read_conversions(item_uoms); !read)
        return std::unexpected(read.error());
    Changes changes;
    for (const OnOrderMove& move : moves)
        for (const OnOrderLine& line : move.lines) {
            if (!counted(line, types))
                continue;
            auto converted = units.convert(line.itemcode, line.uom, line.quantity_open);
            if (!converted)
                return std::unexpected(converted.error());
            if (!*converted)
                continue;
            const Decimal quantity = move.change == OnOrderChange::Add ? (*converted)->quantity : -(*converted)->quantity;
            auto [slot, fresh] = changes.try_emplace({line.itemcode, line.warehouse, line.location},
                                                     StockQuantity{quantity, (*converted)->stock_uom});
            if (!fresh)
                slot->second.quantity += quantity;
        }
    return changes;
}

/// Locks the item-warehouse rows guarding the on-hand rows about to change.
[[nodiscard]] std::expected<void, Error> lock_guarding_rows(Database& db, const Changes& changes)
{
    std::set<ItemWarehouse> keys;
    for (const auto& entry : changes)
        keys.insert({entry.first.itemcode, entry.first.warehouse});
    if (auto locked = lock_warehouse_settings(db, keys); !locked)
        return std::unexpected(locked.error());
    return {};
}

[[nodiscard]] std::expected<void, Error> upsert_batch(Database& db, Changes::const_iterator first, Changes::const_iterator last)
{
    QString sql = QStringLiteral("INSERT INTO Item_onhand_table (company, itemcode, warehouse, location, quantity,"
                                 " order_quantity, po_quantity, uom) VALUES ");
    Params params;
    bool comma = false;
    for (auto it = first; it != last; ++it) {
        sql += comma ? QStringLiteral(", (1, ?, ?, ?, 0, 0, ?, ?)") : QStringLiteral("(1, ?, ?, ?, 0, 0, ?, ?)");
        comma = true;
        params.insert(params.end(), {it->first.itemcode, it->first.warehouse, it->first.location,
                                     it->second.quantity, it->second.stock_uom});
    }
    sql += QStringLiteral(" ON CONFLICT (company, itemcode, warehouse, location)"
                          " DO UPDATE SET po_quantity = Item_onhand_table.po_quantity + excluded.po_quantity");
    return db.write(sql, params);
}

[[nodiscard]] std::expected<void, Error> create_or_change(Database& db, const Changes& changes)
{
    std::set<WarehouseLocation> places;
    for (const auto& entry : changes)
        places.insert({entry.first.warehouse, entry.first.location});
    if (auto known = verify_stock_places(db, places); !known)
        return known;
    auto first = changes.cbegin();
    while (first != changes.cend()) {
        auto last = first;
        for (int count = 0; last != changes.cend() && count < RowsPerStatement; ++count)
            ++last;
        if (auto done = upsert_batch(db, first, last); !done)
            return done;
        first = last;
    }
    return {};
}

[[nodiscard]] std::expected<void, Error> change_existing(Database& db, const Changes& changes)
{
    for (const auto& [key, change] : changes) {
        auto done = db.write(QStringLiteral("UPDATE Item_onhand_table SET po_quantity = po_quantity + ?"
                                            " WHERE company = 1 AND itemcode = ? AND warehouse = ? AND location = ?"),
                             {change.quantity, key.itemcode, key.warehouse, key.location});
        if (!done)
            return std::unexpected(done.error());
    }
    return {};
}

} // namespace

[[nodiscard]] std::expected<std::vector<OnOrderLine>, Error> stored_on_order_lines(Database& db, const QString& fkey)
{
    auto rows = db.select(QStringLiteral("SELECT itemcode, itemtype, uom, warehouse, location, quantity_open"
                                         " FROM PO_transaction_table WHERE fkey = ? AND void = FALSE ORDER BY itemno"),
                          {fkey});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<OnOrderLine> lines;
    lines.reserve(rows->size());
    for (const Row& row : *rows)
        lines.push_back({row.text(u"itemcode"), row.text(u"itemtype"), row.text(u"uom"), row.text(u"warehouse"),
                         row.text(u"location"), row.decimal(u"quantity_open")});
    return lines;
}

[[nodiscard]] std::expected<void, Error> move_on_order_quantity(Database& db, const std::vector<OnOrderMove>& moves,
                                                                OnOrderTypes types, MissingOnHandRow missing)
{
    auto changes = changes_of(db, moves, types);
    if (!changes)
        return std::unexpected(changes.error());
    if (changes->empty())
        return {};
    if (auto locked = lock_guarding_rows(db, *changes); !locked)
        return locked;
    return missing == MissingOnHandRow::Create ? create_or_change(db, *changes) : change_existing(db, *changes);
}

[[nodiscard]] std::expected<void, Error> change_on_order_quantity(Database& db, const std::vector<OnOrderLine>& lines,
                                                    OnOrderChange change, OnOrderTypes types,
                                                    MissingOnHandRow missing)
{
    return move_on_order_quantity(db, {{lines, change}}, types, missing);
}

} // namespace zelkor
