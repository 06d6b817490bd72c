#include "stock/on_hand_changes.h"

#include "core/db/sql_batch.h"
#include "stock/stock_places.h"

namespace zelkor {

void OnHandChanges::add(const StockPlace& place, const QString& stock_uom, const StockChange& change)
{
    auto [slot, fresh] = m_changes.try_emplace(place, Pending{stock_uom, change});
    if (!fresh)
        slot->second.change += change;
}

[[nodiscard]] std::expected<void, Error> OnHandChanges::apply(Database& db) const
{
    std::set<WarehouseLocation> places;
    for (const auto& entry : m_changes)
        places.insert({entry.first.warehouse, entry.first.location});
    if (auto known = verify_stock_places(db, places); !known)
        return known;
    InsertBatch rows(QStringLiteral("Item_onhand_table"),
                     {QStringLiteral("company"), QStringLiteral("itemcode"), QStringLiteral("warehouse"),
                      QStringLiteral("location"), QStringLiteral("quantity"), QStringLiteral("Value"),
                      QStringLiteral("order_quantity"), QStringLiteral("po_quantity"), QStringLiteral("stock_uom"),
                      QStringLiteral("uom")},
                     QStringLiteral(" ON CONFLICT (company, itemcode, warehouse, location) DO UPDATE SET"
                                    " quantity = Item_onhand_table.quantity + excluded.quantity,"
                                    " Value = Item_onhand_table.Value + excluded.Value"));
    for (const auto& [place, pending] : m_changes) {
        if (pending.change == StockChange{})
            continue;
        rows.add({1, place.itemcode, place.warehouse, place.location, pending.change.quantity, pending.change.value, 0, 0,
                  pending.stock_uom, pending.stock_uom});
    }
    return rows.execute(db);
}

} // namespace zelkor
