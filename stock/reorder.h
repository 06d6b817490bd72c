#pragma once

#include "core/db/database.h"
#include "core/money/decimal.h"

#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// A stock item short at a warehouse, as a line proposes to buy it: in the item's purchase unit
/// (its stock unit when no rule converts the two).
struct ReorderProposal {
    QString itemcode{};
    QString description{};
    QString uom{};
    Decimal quantity{};                 ///< the reorder quantity, else the shortfall; rounded up to the item's decimals
    std::optional<Decimal> unit_cost{}; ///< the last cost at the warehouse per `uom`; nothing when none was recorded
    QString accno{};
    QString account_name{};
    QString preferred_vendor{};
    QString vendor_name{};
    QString warehouse{};
    QString location{};                 ///< the item's default location there, else the warehouse's
};

/// The stock items (active, not discontinued, not kits) whose on-hand quantity at `warehouse`, over all
/// its locations, is below their minimum there, by item code. Items with a minimum and no
/// on-hand row yet (never stocked) count as 0 on hand. The minimum, the reorder quantity and the
/// last cost are per stock unit; a reorder quantity not above 0 proposes the shortfall.
[[nodiscard]] std::expected<std::vector<ReorderProposal>, Error> reorder_proposals(Database& db,
                                                                                   const QString& warehouse);

} // namespace zelkor
