#pragma once

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "core/document_versions.h"
#include "core/numbering.h"
#include "documents/common/document_navigation.h"
#include "documents/receipt/receipt_document.h"
#include "documents/receipt/receipt_posting.h"

#include <expected>

namespace zelkor {

/// Receipts as the window browses them by key number.
DocumentKind receipts();

/// What a receipt's save needs besides the receipt.
struct ReceiptSaving {
    ReceiptAccounts accounts{};
    /// The order lines as the clerk saw them when the receipt's quantities were confirmed: a
    /// line whose open quantity another user has changed since refuses the save.
    OrderLineStates orders_seen{};
    AuditStamp stamp{};
};

/// Saves a new receipt in one transaction, step by step: the stock rows of its items (receiving
/// and order warehouses) locked first, the order lines re-read under lock, its number ("ro" of
/// its fiscal year), its lines, the order update, its journal entry (post_receipt), its stock
/// (receive_into_stock); with a bill number the bill (its rows, the order lines billed, its
/// entry, its payable and the payment or prepayment it applies, the owing balance); the payables
/// of the landed charges other vendors or other bill numbers bill; then its header with the keys
/// of all of them. On success the receipt's docno and fkey are set; on failure nothing was
/// written and no number was taken.
[[nodiscard]] std::expected<DocumentNumber, Error> insert_new_receipt(Database& db, Receipt& receipt,
                                                                      const ReceiptSaving& saving);

/// Rewrites a saved receipt in one transaction: the stored receipt is read again under lock (a
/// void, billed, landed-covered or meanwhile changed receipt is refused, and one whose landed
/// charge's payable was paid: "Landed cost bill " + bill + " of " + vendor + " was paid."), its
/// order quantities, journal entry ("Edit receipt "), inventory document and landed payables are
/// reversed on its own date and period (owing balances lowered), its lines are written again
/// and their effects applied as a new receipt's. Vendor, date, currency, period and fiscal year
/// stay those stored.
[[nodiscard]] std::expected<void, Error> update_receipt(Database& db, const Receipt& receipt, const DocumentVersion& shown,
                                                        const ReceiptSaving& saving);

/// Voids a saved receipt in one transaction: read again under lock with the refusals of an edit
/// (" was billed. You need to void bill first." for a billed one), its period must be open, then
/// its order quantities, journal entry ("Void receipt "), inventory document and payables are
/// reversed and the receipt and its lines marked void.
[[nodiscard]] std::expected<void, Error> void_receipt(Database& db, const DocumentVersion& shown, const AuditStamp& stamp);

} // namespace zelkor
