#pragma once

// The journal entry of a vendor bill, below every window: the bill made at receipt
// and the bill window post through it.

#include "services/bill_writer.h"
#include "services/database.h"
#include "services/numbering.h"

#include <QString>

#include <expected>

namespace zelkor {

/// The accounts a bill posts to besides its lines' own.
struct BillAccounts {
    QString suspense{};        ///< AP suspense: what the receipts credited for the goods
    QString discount{};        ///< purchase discount
    QString vendor_payable{};  ///< the bill vendor's ap_accno
    /// Where a bill paid at once, or a prepayment paid now, is paid from: the cash account or the
    /// bank's account for "Cash" and "Check", the card's payable account for a card.
    QString paying{};
    /// The account holding the existing prepayment the bill applies (Payment_header_table
    /// prepayment_accno, read under lock by lock_existing_prepayment); empty otherwise.
    QString prepayment{};
};

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
