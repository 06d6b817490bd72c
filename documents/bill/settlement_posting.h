#pragma once

// The part of a bill's journal entry that settles it, shared by vendor bills and landed-cost
// bills: which account the bill's total is credited to (the vendor's payable, or the paying
// account of a bill paid at once), the term discount and the prepayment. Also the step every
// such entry ends with: contributions signed to their accounts' normal sides.

#include "core/db/database.h"
#include "core/money/decimal.h"
#include "documents/bill/bill_writer.h"
#include "ledger/ledger_entry.h"
#include "ledger/ledger_posting.h"

#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// One debit (negative: a credit) of an entry, in document and base currency.
struct EntryContribution {
    QString account{};
    Decimal amount{};
    Decimal base_amount{};
    QString vendor_no{}; ///< empty: the document's vendor
};

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

/// How a bill is settled: its pay-by, term discount and prepayment (an existing one when
/// `prepayment_no` names it, else paid now).
struct Settlement {
    QString payby{};
    Decimal discount{};
    Decimal prepayment{};
    QString prepayment_no{};
    std::optional<Decimal> exchange_rate{}; ///< nothing for the base currency
};

/// How the bill is settled, from its header and footer.
Settlement settlement_of(const Bill& bill);

/// The journal document of a bill's entry: remark "Invoice no. " + the vendor's number, on the
/// bill's date in its period, in its currency and rate.
JournalDocument bill_journal(const BillHeader& header, const QString& source, const QString& source_form,
                             const QString& user);

/// The account credited with the bill's lines: without a prepayment a bill paid at once
/// ("Cash", "Check", a card) owes the vendor nothing and credits the paying account; otherwise
/// the vendor's payable.
[[nodiscard]] std::expected<QString, Error> payable_side(const Settlement& settlement, const BillAccounts& accounts);

/// Adds the discount (credit the discount account, debit the payable side) and the prepayment
/// (debit the vendor payable, credit the paying account or the existing prepayment's account).
[[nodiscard]] std::expected<void, Error> add_settlement(std::vector<EntryContribution>& contributions,
                                                        const Settlement& settlement, const BillAccounts& accounts,
                                                        const QString& payable_account);

/// An entry signed from the chart, with what its posting reads ahead of it.
struct SignedEntry {
    LedgerEntry entry;
    PostingReadAhead ahead; ///< for post_entry
};

/// The entry of the contributions in `currency`, each signed to its account's normal side;
/// contributions of zero in both currencies are left out. An unknown account fails. The chart
/// rows travel with the rest of what the entry's posting reads.
[[nodiscard]] std::expected<SignedEntry, Error> signed_entry(Database& db,
                                                             const std::vector<EntryContribution>& contributions,
                                                             const QString& currency);

} // namespace zelkor
