#pragma once

#include "core/db/database.h"
#include "core/money/decimal.h"

#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// One row of Item_onhand_table: what a warehouse location holds of an item, what is on order
/// from customers and what is on order from vendors.
struct OnHandRow {
    QString itemcode{};
    QString warehouse{};
    QString location{};
    Decimal quantity{};
    Decimal order_quantity{};
    Decimal po_quantity{};
};

/// Every on-hand row of the item (company 1), by warehouse and location.
[[nodiscard]] std::expected<std::vector<OnHandRow>, Error> on_hand_rows(Database& db, const QString& itemcode);

/// The on-hand row of the item at one warehouse location; nothing when there is none.
[[nodiscard]] std::expected<std::optional<OnHandRow>, Error> on_hand_row(Database& db, const QString& itemcode,
                                                                         const QString& warehouse,
                                                                         const QString& location);

/// The decimals an item's quantities are shown with (0 to 6; 0 for an unknown item).
[[nodiscard]] std::expected<int, Error> quantity_decimals(Database& db, const QString& itemcode);

} // namespace zelkor
