#pragma once

// The writing of an edited bill from the bill window: one transaction that takes the saved bill's
// effects back and writes it again, sharing the new save's steps.

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "core/document_versions.h"
#include "documents/bill/bill_document.h"

#include <expected>

namespace zelkor {

/// The keys an edited bill is left with.
struct EditedBillKeys {
    QString journal{};
    QString inventory{};
};

/// Saves a checked edited bill in one transaction: reads it again under lock (refused when void,
/// paid, partly paid, written by another user since it was shown or outside the working period),
/// checks its vendor's bill number against every other live bill, unbills its receipt and order
/// lines, reverses its entry ("Edit invoice " + number) and cost correction, writes its rows
/// again, bills again, posts again, rewrites its payable (new entry key and bill number, also on
/// the payment of a prepayment paid with it), moves the owing balance by the payable's change and
/// rewrites its header. Its date, currency, period and prepayment stay as saved; no payment is
/// made. Any Error means nothing was written.
[[nodiscard]] std::expected<EditedBillKeys, Error> save_edited_bill(Database& db, const CheckedBill& checked,
                                                                    const DocumentVersion& shown,
                                                                    const AuditStamp& stamp);

} // namespace zelkor
