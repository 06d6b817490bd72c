#pragma once

#include "core/db/database.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <expected>

namespace zelkor {

/// The account codes a journal line and a balance row copy from the chart of accounts:
/// acccode, subacc, subacc2 ... subacc5.
using AccountCodes = std::array<QString, 6>;
/// Their column names, in the order of AccountCodes.
const std::array<QString, 6>& account_code_columns();

/// What posting needs to know of one account of the chart.
struct LedgerAccount {
    QString accno;
    bool debit = false;            ///< normal side is debit
    bool inactive = false;
    bool income_statement = false; ///< acctype "Income Statement": also moves current earnings
    AccountCodes codes;

    /// +1 for a debit-normal account, -1 otherwise: turns a signed amount debit-positive.
    int sign() const { return debit ? 1 : -1; }
};

/// The accounts one posting touches, read in one query, with the current-earnings account.
struct LedgerAccounts {
    QHash<QString, LedgerAccount> by_number;
    /// The account of type 'X'; empty when the chart has none.
    QString current_earnings;

    const LedgerAccount* find(const QString& accno) const;
};

/// Reads the named accounts and the current-earnings account.
[[nodiscard]] std::expected<LedgerAccounts, Error> load_ledger_accounts(Database& db, const QStringList& accounts);
/// The same read, to be sent with others (Database::select_together), and what its rows give.
Statement ledger_accounts_read(const QStringList& accounts);
LedgerAccounts ledger_accounts_of(const Rows& rows);

/// The base currency the general ledger is kept in (COA_config_table).
[[nodiscard]] std::expected<QString, Error> ledger_base_currency(Database& db, int company = 1);
/// The same read, to be sent with others, and what its rows give.
Statement base_currency_read(int company);
[[nodiscard]] std::expected<QString, Error> base_currency_of(const Rows& rows);

/// Where a tax authority's tax posts: the recoverable part and the part expensed.
struct TaxAccounts {
    QString recoverable;
    QString expensed;
};

/// The posting accounts of the given tax authorities, by authority, in one read; an authority
/// the table does not hold is left out.
[[nodiscard]] std::expected<QHash<QString, TaxAccounts>, Error> tax_authority_accounts(Database& db,
                                                                                     const QSet<QString>& authorities);

} // namespace zelkor
