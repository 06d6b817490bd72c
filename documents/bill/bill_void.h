#pragma once

// The void of a saved bill started from the bill window. Kept apart from bill_writer.h, whose
// bill types share their names with the window's own bill document.

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "core/document_versions.h"
#include "documents/bill/bill_sources.h"
#include "stock/stock_types.h"

#include <expected>
#include <set>

namespace zelkor {

/// Why a bill's postings are taken back.
enum class BillUndo { Void, Edit };

/// Reads the shown bill again under lock inside the caller's transaction and refuses one void
/// (number + " was void", for an edit " was void."), paid (" was paid."), partly paid (" was
/// partially paid."), written by another user since it was shown, or outside the working
/// period. Then locks, in the order every save takes them, what the stored bill took from and
/// what `more` names (the lines of an edit). Gives its header row.
[[nodiscard]] std::expected<Row, Error> lock_unpaid_bill(Database& db, const DocumentVersion& shown, BillUndo reason,
                                                         BillSources more = {});

/// Locks the stock rows of the stored bill `bill_key`'s lines with `more` (an edit's new lines), in
/// one pass in key order: a void or an edit takes them before the vendor and the reversal's
/// number, and its cost correction and reversal then find them held.
[[nodiscard]] std::expected<void, Error> lock_bill_stock(Database& db, const QString& bill_key, std::set<ItemWarehouse> more = {});

/// Locks what a void or an edit of the stored bill `header` changes in the payables: the
/// vendor's row, whose owing it moves, and the prepayments it touches (the payment of one paid
/// with it, an existing one it applied and what waits on that for its order). Taken after the
/// stock and before the counters.
[[nodiscard]] std::expected<void, Error> lock_bill_payables(Database& db, const Row& header);

/// The bill window's Void, in one transaction of its own: reads the shown bill again under lock
/// and refuses one void (number + " was void"), paid or partly paid (" was paid." / " was
/// partially paid."), written by another user since it was shown, or outside the working period;
/// otherwise voids it as void_bill does, the reversal dated on the bill's date in its period.
[[nodiscard]] std::expected<void, Error> void_shown_bill(Database& db, const DocumentVersion& shown,
                                                         const AuditStamp& stamp);

} // namespace zelkor
