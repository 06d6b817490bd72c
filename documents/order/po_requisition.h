#pragma once

#include "core/db/database.h"
#include "documents/order/po_document.h"

#include <expected>
#include <vector>

namespace zelkor {

/// Closes the requisition lines the order lines were issued from (prno / pr_itemno), and each
/// requisition that has no open line left. Runs inside the caller's transaction; a line another
/// order took meanwhile refuses the save (<requisition> line <n> was already ordered.).
[[nodiscard]] std::expected<void, Error> close_requisition_lines(Database& db, const std::vector<OrderLine>& lines);

/// Reopens every requisition line the stored order `order_fkey` was issued from, and its
/// requisition. Runs inside the caller's transaction (undo before an edit, void).
[[nodiscard]] std::expected<void, Error> reopen_requisition_lines(Database& db, const QString& order_fkey);

/// The open requisitions, newest number first: columns docno, fkey.
[[nodiscard]] std::expected<Rows, Error> open_requisitions(Database& db);
/// The requisition header with this number (company 1), or nothing.
[[nodiscard]] std::expected<std::optional<Row>, Error> requisition_header(Database& db, const QString& docno);
/// The requisition header with this key, or nothing.
[[nodiscard]] std::expected<std::optional<Row>, Error> requisition_header_by_key(Database& db, const QString& fkey);
/// A requisition's lines in line order, with the account names of their accounts.
[[nodiscard]] std::expected<Rows, Error> requisition_lines(Database& db, const QString& fkey);

} // namespace zelkor
