#pragma once

// The writing of a new bill from the bill window: one transaction through the bill writer, the
// bill's posting and the payables.

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "core/numbering.h"
#include "documents/bill/bill_document.h"

#include <QStringList>

#include <expected>

namespace zelkor {

/// The over-billing questions to ask before the save: one for each goods line billed above what
/// was open on its receipt line when the line was taken.
QStringList overbilling_questions(const EnteredBill& bill);

/// Saves a checked new bill in one transaction: takes its "vi" number, checks the vendor's bill
/// number again under that lock, re-reads every receipt line billed under lock (a line billed or
/// a receipt voided by another user meanwhile is refused), writes the rows, bills the receipt
/// and order lines, posts the entry, writes the payable with its payment or prepayment, raises
/// the owing balance and writes the header with its keys. Any Error means nothing was written.
[[nodiscard]] std::expected<DocumentNumber, Error> save_new_bill(Database& db, const CheckedBill& checked,
                                                                 const AuditStamp& stamp);

} // namespace zelkor
