#include "stock/stock_places.h"

#include "core/db/sql_batch.h"

#include <algorithm>
#include <vector>

namespace zelkor {
namespace {

/// The places of `places` that are in the location master, read a few hundred a statement.
[[nodiscard]] std::expected<std::set<WarehouseLocation>, Error> known_places(Database& db,
                                                                            const std::set<WarehouseLocation>& places)
{
    const std::vector<WarehouseLocation> all(places.begin(), places.end());
    std::set<WarehouseLocation> known;
    for (qsizetype first = 0; first < qsizetype(all.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(all.size()) - first);
        Params params;
        for (qsizetype index = first; index < first + count; ++index)
            params.insert(params.end(), {all[size_t(index)].first, all[size_t(index)].second});
        auto rows = db.select(QStringLiteral("SELECT m.warehouse, m.location FROM (VALUES ") + placeholder_rows(count, 2)
                                  + QStringLiteral(") AS v INNER JOIN Warehouse_location_master_table m"
                                                   " ON m.warehouse = v.column1 AND m.location = v.column2"),
                              params);
        if (!rows)
            return std::unexpected(rows.error());
        for (const Row& row : *rows)
            known.insert({row.text(u"warehouse"), row.text(u"location")});
    }
    return known;
}

} // namespace

std::expected<void, Error> verify_stock_places(Database& db, const std::set<WarehouseLocation>& places)
{
    auto known = known_places(db, places);
    if (!known)
        return std::unexpected(known.error());
    for (const auto& place : places) {
        if (known->contains(place))
            continue;
        auto warehouse = db.first(QStringLiteral("SELECT warehouse FROM Warehouse_master_table WHERE warehouse = ?"),
                                  {place.first});
        if (!warehouse)
            return std::unexpected(warehouse.error());
        return std::unexpected(Error::invalid(*warehouse ? QStringLiteral("location is invalid.")
                                                         : QStringLiteral("warehouse is invalid.")));
    }
    return {};
}

} // namespace zelkor
