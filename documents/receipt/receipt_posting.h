#pragma once

#include "core/db/database.h"
#include "core/fiscal_periods.h"
#include "core/numbering.h"
#include "tax/purchase_tax.h"

#include <QDate>
#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// The source tag of the journal entries of receipts.
inline QString receipt_posting_source() { return QStringLiteral("PO-RECEIPT"); }

/// Where the credit of a receipt's debit goes: the AP suspense account while the goods wait for
/// their bill, or a vendor's payable account for a charge billed separately.
struct CreditTarget {
    QString account{};
    QString vendor_no{}; ///< empty: the receipt's vendor
};

/// One debit of a receipt's entry, debit-positive (a negative amount is a credit), with the
/// account its credit goes to. Every credit is the sum of the debits aimed at it, so the entry
/// balances to the cent in both currencies.
struct PostingContribution {
    QString account{};
    Decimal amount{};      ///< in the receipt's currency
    Decimal base_amount{}; ///< in the base currency
    CreditTarget credit{};
};

/// What a receipt's journal entry says about the receipt.
struct ReceiptJournal {
    QString receipt_no{};
    QDate date{};
    FiscalPeriod period{};
    QString currency{};
    std::optional<Decimal> exchange_rate{}; ///< nothing for the base currency
    QString vendor_no{};
    QString user{};
};

/// A received goods line as its posting needs it.
struct PostedGoodsLine {
    int itemno = 0;
    QString itemcode{};
    QString accno{};
    /// Extended cost, less the tax included in it, plus the tax allocated to cost.
    Decimal line_cost{};
    /// For an item valued at standard cost in its warehouse: the stock quantity at standard cost
    /// in base currency (what stock takes in); nothing for every other line.
    std::optional<Decimal> standard_value{};
    TaxElements taxes{};
};

/// The default accounts a receipt posts to besides its lines' and their taxes'.
struct ReceiptAccounts {
    QString suspense{}; ///< AP suspense: goods received, not yet billed
    QString variance{}; ///< purchase variance of standard-cost items
    QString discount{}; ///< purchase discount: the bill entered with a receipt takes its term discount there
};

/// A landed charge of a receipt as its posting needs it: its cost and taxes are debited, and
/// credited to AP suspense (the receipt's own vendor and bill) or to the payable account of the
/// vendor that bills it.
struct PostedLandedLine {
    int itemno = 0;
    QString itemcode{};
    QString accno{};
    /// Extended cost, less the tax included in it, plus the tax allocated to cost.
    Decimal line_cost{};
    TaxElements taxes{};
    CreditTarget credit{};
};

/// The debits of the goods lines, all credited to AP suspense: the line cost to the line's
/// account (a standard-cost item: its standard value, and the rest of the line cost to the
/// variance account), the recoverable tax of each authority to its recoverable account and the
/// expensed tax to its expense account ("No Expensed Tax Account for " + authority, "No
/// Recoverable Tax Account for " + authority when one is missing). Amounts in a foreign
/// currency are converted one by one, rounded to cents; a standard value is converted back.
[[nodiscard]] std::expected<std::vector<PostingContribution>, Error> goods_contributions(
    Database& db, const ReceiptJournal& journal, const std::vector<PostedGoodsLine>& lines, const ReceiptAccounts& accounts);

/// The debits of the landed charges: each line's cost to its account and its
/// taxes as a goods line's, all credited to the line's own target.
[[nodiscard]] std::expected<std::vector<PostingContribution>, Error> landed_contributions(
    Database& db, const ReceiptJournal& journal, const std::vector<PostedLandedLine>& lines);

/// Posts a receipt's journal entry ("PO-RECEIPT", remark "Receipt no. " + number) in the
/// receipt's own period, inside the caller's transaction: the contributions as debits, and per
/// credit target the sum of the contributions aimed at it. The receipt's vendor needs a payable
/// account ("Account payable for vendor " + vendor + " has not been setup"). A receipt whose
/// contributions are all zero posts nothing and gives an empty number.
[[nodiscard]] std::expected<DocumentNumber, Error> post_receipt(Database& db, const ReceiptJournal& journal,
                                                                const std::vector<PostingContribution>& contributions);

/// Why a receipt's entry is reversed.
enum class ReversalReason { Void, Edit };

/// The reversal of a receipt's entry: dated on the receipt's own date, in its own period.
struct ReceiptReversal {
    QString receipt_no{};
    ReversalReason reason = ReversalReason::Void;
    QDate date{};
    FiscalPeriod period{};
    QString user{};
};

/// Reverses the receipt's entry inside the caller's transaction (description "void invoice " +
/// number; the reversed entry's becomes "Void receipt " or "Edit receipt " + number). An empty
/// key (a receipt that posted nothing) does nothing; a key whose entry is gone fails with the key.
[[nodiscard]] std::expected<void, Error> reverse_receipt_posting(Database& db, const QString& journal_key,
                                                                 const ReceiptReversal& reversal);

} // namespace zelkor
