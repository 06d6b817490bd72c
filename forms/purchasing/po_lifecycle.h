#pragma once

#include "services/database.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <expected>

namespace zelkor {

/// Closes an order in one transaction: the open quantity of every line is cancelled, the
/// stock lines' open quantities come off po_quantity, and the order counts as fully received.
[[nodiscard]] std::expected<void, Error> close_po(Database& db, const QString& fkey);

/// Voids an order in one transaction: the stock lines' open quantities come off po_quantity,
/// the requisition lines it was issued from are reopened, and header and lines are marked void.
[[nodiscard]] std::expected<void, Error> void_po(Database& db, const QString& fkey);

/// Activates a future order in one transaction: its open quantities go onto po_quantity as a
/// save of a current order puts them, and it stops being a future order. An order that is not
/// (or no longer) a future order is left alone; gives whether it was activated.
[[nodiscard]] std::expected<bool, Error> activate_po(Database& db, const QString& fkey);

/// Activates, in one transaction, every future order that is not void and whose activation
/// date has come (`today` or earlier: an overdue order is activated too); gives their numbers
/// (empty when none was found).
[[nodiscard]] std::expected<QStringList, Error> activate_all_future_pos(Database& db, const QDate& today);

} // namespace zelkor
