#pragma once

// The payable side of a bill's save, shared by vendor bills and landed-cost bills: the existing
// prepayment the bill applies, locked before its posting, then the payable with the payment of
// a prepayment paid now or the application of the existing one, and the owing balance.

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "documents/bill/bill_writer.h"
#include "payables/payables.h"

#include <expected>
#include <optional>

namespace zelkor {

/// The existing prepayment the bill names, locked and checked; nothing when the bill applies
/// none (no number, or no prepayment amount).
[[nodiscard]] std::expected<std::optional<ExistingPrepayment>, Error> lock_bill_prepayment(Database& db, const Bill& bill,
                                                                                          const AuditStamp& stamp);

/// Writes the bill's payable (credited to `ap_accno`) with its prepayment, and raises the
/// vendor's owing balance by what stays open; the save holds the vendor's row already. Gives the
/// payable's number and key (the bill's ap_docno and apfkey).
[[nodiscard]] std::expected<DocumentNumber, Error> write_bill_payable(Database& db, const Bill& bill, const QString& journal_key,
                                                               const QString& ap_accno,
                                                               const std::optional<ExistingPrepayment>& prepayment,
                                                               const AuditStamp& stamp);

/// The document number of a stored bill's payable (header: its PO_invoice_header_table row): the
/// one the header keeps, else the payable's own, for a bill saved before headers kept it; empty
/// for a bill without a payable.
[[nodiscard]] std::expected<QString, Error> stored_payable_number(Database& db, const Row& header);

} // namespace zelkor
