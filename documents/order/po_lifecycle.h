#pragma once

#include "core/db/database.h"
#include "core/document_versions.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <expected>

namespace zelkor {

// Each routine writes the shown order in one transaction after reading its header again under
// lock; an order another user wrote since it was shown is refused (changed_by_another_user).

/// Closes an order: the open quantity of every line is cancelled, the stock lines' open
/// quantities come off po_quantity, and the order counts as fully received. A void order
/// (" was void.") or a fully received one ("Goods was fully received.") is refused.
[[nodiscard]] std::expected<void, Error> close_po(Database& db, const DocumentVersion& shown);

/// Voids an order: the stock lines' open quantities come off po_quantity, the requisition lines
/// it was issued from are reopened, and header and lines are marked void. A void order, or one
/// with goods received or billed, is refused with the window's sentence.
[[nodiscard]] std::expected<void, Error> void_po(Database& db, const DocumentVersion& shown);

/// Activates a future order: its open quantities go onto po_quantity as a save of a current
/// order puts them, and it stops being a future order. An order that is not (or no longer) a
/// future order is left alone; gives whether it was activated.
[[nodiscard]] std::expected<bool, Error> activate_po(Database& db, const DocumentVersion& shown);

/// Activates, in one transaction, every future order that is not void and whose activation
/// date has come (`today` or earlier: an overdue order is activated too); gives their numbers
/// (empty when none was found).
[[nodiscard]] std::expected<QStringList, Error> activate_all_future_pos(Database& db, const QDate& today);

} // namespace zelkor
