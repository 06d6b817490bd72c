#pragma once

#include "core/db/database.h"
#include "core/fiscal_periods.h"
#include "core/numbering.h"
#include "ledger/ledger_entry.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// What a posting document tells the ledger about itself; written on the journal header and
/// its lines.
struct JournalDocument {
    QString description;
    QString remark;        ///< e.g. "Receipt no. " + receipt number
    QString source;        ///< posting origin: "PO-RECEIPT", "PO-BILL"
    QString source_form;   ///< the posting window's caption
    QString source_docno;  ///< the posting document's number
    QDate date;            ///< the document date
    QString currency;      ///< the document currency; empty means the base currency
    std::optional<Decimal> exchange_rate;
    QString vendor_no;     ///< written on lines gathered without a vendor of their own
    QString user;
    int company = 1;
    /// The period the document was entered in; nothing takes the fiscal year and period of `date`.
    std::optional<FiscalPeriod> period{};
};

/// What post_entry reads before it writes: the base currency, and the allocations and the chart
/// rows of `accounts`, read ahead with a caller's own reads in one round trip (the caller signs
/// the entry's amounts from the same chart rows). post_entry takes what it covers of the entry
/// and reads the rest.
struct PostingReadAhead {
    int company = 1;
    QStringList accounts;
    std::vector<Rows> answers{}; ///< of posting_reads(), in their order: the chart rows last
};

/// The statements of the read-ahead, to send in this order with the caller's.
std::vector<Statement> posting_reads(const PostingReadAhead& ahead);

/// Writes a journal entry inside the caller's transaction: takes a "gl" number for the fiscal
/// year of the document date, writes the header and the lines (allocation accounts spread
/// over their targets, a base-currency balancing line on the realized gain or loss account
/// when a foreign-currency entry is off by less than 1), opens accounts for foreign
/// currencies, updates Balance_table and Balance_period_table, and checks that the entry
/// balances and uses no inactive account. Any Error means the caller must roll back: rows may
/// have been written. An empty entry writes nothing and gives an empty number.
/// `ahead`, when given, holds the answers of posting_reads() made in the same transaction.
[[nodiscard]] std::expected<DocumentNumber, Error> post_entry(Database& db, const JournalDocument& document, const LedgerEntry& entry,
                                                              const PostingReadAhead* ahead = nullptr);

/// What the caller chooses for the entry that reverses another.
struct Reversal {
    QString description;          ///< of the reversing entry, e.g. "void invoice " + number
    QString reversed_description; ///< replaces the reversed entry's description; empty keeps it
    QString source;
    QString source_form;
    QString source_docno;
    QDate date;                   ///< the reversal's date
    QString user;
    /// The reversal's period; nothing takes the fiscal year and period of `date`.
    std::optional<FiscalPeriod> period{};
};

/// Reverses a posted entry inside the caller's transaction: a new entry with new numbers whose
/// lines are the exact negatives of the old ones, balances updated, both headers marked
/// `Reverse`, the remarks "Reverse GL " + old number and "Reversed by " + new number. Gives
/// nothing when no entry has the key; refuses an entry that is already reversed or is itself
/// a reversal.
[[nodiscard]] std::expected<std::optional<DocumentNumber>, Error> reverse_entry(Database& db, const QString& fkey,
                                                                  const Reversal& reversal);

} // namespace zelkor
