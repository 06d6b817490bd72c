#pragma once

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "documents/receipt/receipt_rows.h"

#include <expected>
#include <map>

namespace zelkor {

// The payables of a receipt's landed charges that other vendors, or other bill numbers of its own
// vendor, bill.

/// One payable per vendor and bill number of the landed charges not on the receipt's own bill
/// ("PO-RECEIPT"), in order of first appearance; each charge gets its payable's key.
[[nodiscard]] std::expected<void, Error> write_landed_payables(Database& db, const ReceiptHeader& header,
                                                               WrittenLines& written, const QString& journal_key,
                                                               const std::map<QString, LandedVendor>& vendors,
                                                               const AuditStamp& stamp);

} // namespace zelkor
