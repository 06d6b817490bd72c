#pragma once

#include "core/db/database.h"
#include "core/fiscal_periods.h"
#include "ledger/ledger_accounts.h"

#include <QDate>
#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// Ledger types of journal lines and balance rows.
inline const QString BaseLedger = QStringLiteral("A");    ///< base-currency figures of every account
inline const QString ForeignLedger = QStringLiteral("F"); ///< one account in one foreign currency

/// One line as it is written to GL_transaction_table.
struct JournalLine {
    QString account;
    AccountCodes codes;
    QString currency;
    QString ledgertype;
    QString vendor_no;
    Decimal amount;
    Decimal base_amount;
    std::optional<Decimal> percent;       ///< the allocation share the line received
    std::optional<Decimal> exchange_rate; ///< foreign-currency lines only
};

/// What the header and every line of one journal entry share.
struct JournalStamp {
    int company = 1;
    QString docno;
    QString fkey;
    QDate gldate;
    FiscalPeriod period;
    QString source;
    QString source_form;
    QString source_docno;
    QString user;
    QDate date_created;
    QString time_created;
};

/// The header columns that differ between an entry and its reversal.
struct JournalHeaderText {
    QString description;
    QString remark;
    QString currency;
    std::optional<Decimal> exchange_rate;
    bool reverse = false;
};

[[nodiscard]] std::expected<void, Error> insert_journal_header(Database& db, const JournalStamp& stamp, const JournalHeaderText& text);

/// Writes the lines numbered 1, 2, 3 ... in a few multi-row statements.
[[nodiscard]] std::expected<void, Error> insert_journal_lines(Database& db, const JournalStamp& stamp,
                                                const std::vector<JournalLine>& lines);

} // namespace zelkor
