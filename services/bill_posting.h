#pragma once

// The journal entry of a vendor bill, below every window: the bill made at receipt
// and the bill window post through it.

#include "services/bill_writer.h"
#include "services/database.h"
#include "services/numbering.h"
#include "services/settlement_posting.h"

#include <QString>

#include <expected>

namespace zelkor {

/// Posts the bill's journal entry ("PO-BILL", remark "Invoice no. " + the vendor's number) on its
/// date in its period, inside the caller's transaction:
/// - a line billed from a receipt at the receipt's quantity, unit cost and rate debits AP
///   suspense with exactly what the receipt credited for it (cost and each authority's
///   recoverable and expensed tax, converted at the receipt's rate one by one) and credits the
///   payable side with that same amount and base: nothing else, so the suspense clears to the cent;
/// - the payable side: without prepayment "Pay Later" credits the vendor payable, any other pay-by
///   the paying account; with a prepayment the vendor payable;
/// - the term discount credits the discount account and debits the account the lines credited;
/// - a prepayment debits the vendor payable and credits the paying account (paid now) or the
///   existing prepayment's account.
/// Lines billed at another cost, quantity or rate, and lines not from a receipt, post their
/// variances and their own accounts: FIXME: they come with the bill window and are refused here
/// ("... cannot be posted yet.").
[[nodiscard]] std::expected<DocumentNumber, Error> post_bill(Database& db, const Bill& bill, const BillAccounts& accounts,
                                                             const QString& user);

} // namespace zelkor
