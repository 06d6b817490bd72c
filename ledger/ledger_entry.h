#pragma once

#include "core/db/error.h"
#include "core/money/decimal.h"

#include <QString>

#include <expected>
#include <vector>

namespace zelkor {

/// One gathered line of a journal entry. Amounts are signed to the account's normal side:
/// a positive amount increases the account on the side its `debit` flag names.
struct EntryLine {
    QString account;
    QString currency; ///< empty: the document's currency
    /// The vendor the line is owed to or paid for; part of the line's identity, so that two
    /// vendors' payables on one account stay two lines.
    QString vendor_no;
    Decimal amount;      ///< in the line's currency
    Decimal base_amount; ///< in the base currency
};

/// Gathers the lines of a journal entry while a document builds it: one line per account,
/// currency and vendor, each sum rounded to 2 decimals. Posting refuses an entry of more than
/// MaximumLines lines.
class LedgerEntry {
public:
    static constexpr int MaximumLines = 50;

    /// Adds to the line of the same account, currency and vendor, or appends a new one.
    void add(const QString& account, const Decimal& amount, const Decimal& base_amount, const QString& currency,
             const QString& vendor_no = {});

    const std::vector<EntryLine>& lines() const { return m_lines; }
    bool empty() const { return m_lines.empty(); }
    int size() const { return static_cast<int>(m_lines.size()); }

    /// Fails with the message a save shows when the entry has more lines than a journal holds.
    [[nodiscard]] std::expected<void, Error> check_size() const;

private:
    std::vector<EntryLine> m_lines;
};

} // namespace zelkor
