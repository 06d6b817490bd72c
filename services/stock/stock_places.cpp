#include "services/stock/stock_places.h"

namespace zelkor {

std::expected<void, Error> verify_stock_places(Database& db, const std::set<WarehouseLocation>& places)
{
    for (const auto& [warehouse, location] : places) {
        auto found = db.first(QStringLiteral("SELECT location FROM Warehouse_location_master_table"
                                             " WHERE warehouse = ? AND location = ?"),
                              {warehouse, location});
        if (!found)
            return std::unexpected(found.error());
        if (*found)
            continue;
        auto known = db.first(QStringLiteral("SELECT warehouse FROM Warehouse_master_table WHERE warehouse = ?"),
                              {warehouse});
        if (!known)
            return std::unexpected(known.error());
        return std::unexpected(Error::invalid(*known ? QStringLiteral("location is invalid.")
                                                     : QStringLiteral("warehouse is invalid.")));
    }
    return {};
}

} // namespace zelkor
