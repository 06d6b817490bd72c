#pragma once

#include "core/db/database.h"
#include "core/document_versions.h"
#include "core/numbering.h"
#include "documents/common/document_navigation.h"
#include "documents/order/po_document.h"

#include <expected>

namespace zelkor {

/// Orders as the window browses them by key number.
DocumentKind orders();

/// Saves a new order in one transaction: number and key, header, lines with their tax slots,
/// the on-order quantities of a non-future order, and the requisition lines it was issued
/// from closed. On success the order's docno and fkey are set; on failure nothing was written
/// and no number was taken.
[[nodiscard]] std::expected<DocumentNumber, Error> insert_new_po(Database& db, Order& order, const AuditStamp& stamp);

/// Rewrites a saved order in one transaction: the stored header and lines are read again under
/// lock (a void, fully received or meanwhile changed order is refused), what receipts and bills
/// recorded on each line is carried, the requisition lines are reopened and closed again and the
/// on-order quantities moved from the stored lines to the new ones (requisitions before on-hand
/// rows, as every save locks them), then the header columns an edit may change and every line
/// are written again.
[[nodiscard]] std::expected<void, Error> update_po(Database& db, const Order& order, const DocumentVersion& shown,
                                                   const AuditStamp& stamp);

} // namespace zelkor
