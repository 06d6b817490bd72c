#pragma once

#include "core/db/database.h"
#include "core/fiscal_periods.h"
#include "ledger/ledger_accounts.h"
#include "ledger/ledger_journal.h"

#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// The movement column of Balance_period_table for a period: "1" ... "13" give period1 ...
/// period13, "AD" adjust, "CL" closing; the base-currency twin is the same name with "e_".
/// Nothing for any other value.
std::optional<QString> period_column(const QString& period);

/// Opens an account for a foreign currency the first time it is used: creates its "F" and "E"
/// period-balance rows for every fiscal year from the first open one to the last with
/// balances, its "F" balance row, and the Account_currency_table row. Does nothing when the
/// account already carries the currency. Fails with "Error : no account balance" when the
/// ledger has no base-currency period balances at all, and with an empty message for an empty
/// account number.
[[nodiscard]] std::expected<void, Error> ensure_account_currency(Database& db, const QString& account, const QString& currency,
                                                   int company = 1);

/// What balance upkeep needs besides the lines.
struct BalanceScope {
    int company = 1;
    FiscalPeriod period;
    QString base_currency;
    const LedgerAccounts* accounts = nullptr; ///< holds every account of the lines
};

/// Adds written journal lines to Balance_table and Balance_period_table inside the caller's
/// transaction. Every line moves its own row; a foreign-currency line also moves its
/// account's base-currency row by its base amount; an income-statement line also moves the
/// current-earnings row by its debit-positive base amount. The balance rows are locked first,
/// in key order, so that concurrent postings cannot deadlock; then every row is checked to
/// exist (the first missing one, in line order, gives the message) before any is changed.
[[nodiscard]] std::expected<void, Error> update_balances(Database& db, const BalanceScope& scope, const std::vector<JournalLine>& lines);

} // namespace zelkor
