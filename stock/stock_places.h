#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>
#include <set>
#include <utility>

namespace zelkor {

/// A warehouse and one of its locations.
using WarehouseLocation = std::pair<QString, QString>;

/// Every place an operation is about to create on-hand rows at must be in the warehouse and
/// location masters: "warehouse is invalid." or "location is invalid." otherwise, so that no
/// on-hand row ever names a place that does not exist.
[[nodiscard]] std::expected<void, Error> verify_stock_places(Database& db, const std::set<WarehouseLocation>& places);

} // namespace zelkor
