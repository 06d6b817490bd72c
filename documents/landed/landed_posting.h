#pragma once

// A landed-cost bill's save, edit and void, below the window: the bill's rows, its journal entry
// ("PO-LANDED"), its payable with any payment or prepayment, and the allocation of its
// capitalised charges over the goods of the receipts it covers (through the stock service).
// Each runs in one transaction of its own; an Error means nothing was written.

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "core/document_versions.h"
#include "core/numbering.h"
#include "documents/bill/bill_writer.h"
#include "documents/bill/settlement_posting.h"

#include <QStringList>

#include <expected>

namespace zelkor {

/// The landed-cost window's caption: the source form of its bills, entries and documents.
inline const QString LandedSourceForm = QStringLiteral("Landed Cost Entry");

/// A landed bill as its save takes it: the bill (doctype "ld", header of the charge vendor,
/// lines of charges), the goods vendor and the receipts it covers.
struct LandedBill {
    Bill bill{};
    QStringList receipts{};
};

/// The accounts a landed bill posts to besides its charges' own.
struct LandedAccounts {
    BillAccounts bill{};
    QString variance{}; ///< purchase variance: shares whose stock has left, standard-cost items
};

/// A charge's cost: extended cost, less the tax included in it, plus the tax allocated to cost.
Decimal landed_charge_cost(const BillLine& line);

/// Saves a new landed bill: locks the covered receipts (refusing one void, gone or of another
/// vendor) and the stock the allocation touches, numbers the bill "ld", checks the vendor's bill
/// number again, writes the rows, posts the entry, writes the payable with its payment or
/// prepayment and the owing balance, raises the goods' cost (an "ij" document), rewrites the
/// list of covered receipts and stores the keys. With no receipt every charge is expensed.
[[nodiscard]] std::expected<DocumentNumber, Error> save_new_landed_bill(Database& db, LandedBill landed,
                                                                        const LandedAccounts& accounts,
                                                                        const AuditStamp& stamp);

/// Saves an edited landed bill shown at `shown`: refuses one void, paid, changed by another user
/// or outside the working period; reverses its entry ("Edit invoice ") and its cost raise (a
/// correction entry for what left with stock issued since), rewrites its lines, header, entry,
/// payable (the owing balance moves by the change of what stays open) and allocation, and stores
/// the new keys.
[[nodiscard]] std::expected<void, Error> update_landed_bill(Database& db, const DocumentVersion& shown,
                                                            LandedBill landed, const LandedAccounts& accounts,
                                                            const AuditStamp& stamp);

/// Voids the landed bill shown at `shown`, with the refusals of update_landed_bill: its cost
/// raise reversed (untouched layers back exactly as before; for stock issued since, only what is
/// left, and a correction entry moves the rest from the goods' account to variance), then the
/// entry reversed ("Void invoice "), the payable voided and the owing balance lowered, a
/// prepayment restored, header and rows void. The list of covered receipts stays.
[[nodiscard]] std::expected<void, Error> void_landed_bill(Database& db, const DocumentVersion& shown,
                                                          const QString& variance, const AuditStamp& stamp);

} // namespace zelkor
