#include "ledger/ledger_balances.h"

#include "core/db/sql_names.h"

#include <QSet>
#include <QStringList>

#include <map>
#include <tuple>

namespace zelkor {
namespace {

struct BalanceKey {
    QString ledgertype;
    QString accno;
    QString currency;

    friend bool operator<(const BalanceKey& a, const BalanceKey& b)
    {
        return std::tie(a.ledgertype, a.accno, a.currency) < std::tie(b.ledgertype, b.accno, b.currency);
    }
};

struct Change {
    Decimal amount;
    Decimal base_amount;
};

// Ordered by key: the order in which the rows are locked and updated.
using Changes = std::map<BalanceKey, Change>;
using ExistingRows = QSet<QString>;

QString key_text(const BalanceKey& key) { return key.ledgertype + u'\x1f' + key.accno + u'\x1f' + key.currency; }

Error wrapped(const Error& inner, const QString& message)
{
    if (inner.kind == Error::Kind::Database || inner.kind == Error::Kind::Locked)
        return inner;
    return Error::invalid(inner.message.isEmpty() ? message : inner.message + u'\n' + message);
}

BalanceKey base_row(const BalanceScope& scope, const QString& accno) { return {BaseLedger, accno, scope.base_currency}; }

void add(Changes& changes, const BalanceKey& key, const Decimal& amount, const Decimal& base_amount)
{
    Change& change = changes[key];
    change.amount += amount;
    change.base_amount += base_amount;
}

Changes changes_of(const BalanceScope& scope, const std::vector<JournalLine>& lines)
{
    Changes changes;
    for (const JournalLine& line : lines) {
        const LedgerAccount* account = scope.accounts->find(line.account);
        Q_ASSERT(account);
        if (line.ledgertype == ForeignLedger) {
            add(changes, {ForeignLedger, line.account, line.currency}, line.amount, line.base_amount);
            add(changes, base_row(scope, line.account), line.base_amount, line.base_amount);
        } else {
            add(changes, base_row(scope, line.account), line.amount, line.base_amount);
        }
        if (account->income_statement && !scope.accounts->current_earnings.isEmpty()) {
            const Decimal earnings = line.base_amount * Decimal(account->sign());
            add(changes, base_row(scope, scope.accounts->current_earnings), earnings, earnings);
        }
    }
    return changes;
}

QStringList accounts_of(const Changes& changes)
{
    QStringList accounts;
    for (const auto& [key, change] : changes)
        accounts << key.accno;
    accounts.removeDuplicates();
    return accounts;
}

Statement existing_rows_read(const QString& table, const BalanceScope& scope, const Changes& changes, bool lock)
{
    const QStringList accounts = accounts_of(changes);
    const bool by_year = table == u"Balance_period_table";
    Params params{scope.company};
    if (by_year)
        params.emplace_back(scope.period.fiscal_year);
    params.insert(params.end(), {BaseLedger, ForeignLedger});
    for (const QString& accno : accounts)
        params.emplace_back(accno);
    const QString sql = QStringLiteral("SELECT ledgertype, accno, currency FROM ") + table
        + QStringLiteral(" WHERE company = ?") + (by_year ? QStringLiteral(" AND fyear = ?") : QString())
        + QStringLiteral(" AND ledgertype IN (?, ?) AND accno IN (") + placeholder_list(accounts.size())
        + QStringLiteral(") ORDER BY ledgertype, accno, currency");
    return {sql, params, false, lock};
}

ExistingRows existing_of(const Rows& rows)
{
    ExistingRows existing;
    for (const Row& row : rows)
        existing.insert(key_text({row.text(u"ledgertype"), row.text(u"accno"), row.text(u"currency")}));
    return existing;
}

// The checks of one line, in the order the user should hear about a missing row.
[[nodiscard]] std::expected<void, Error> check_line_rows(const BalanceScope& scope, const JournalLine& line,
                                           const ExistingRows& balances, const ExistingRows& periods)
{
    const LedgerAccount* account = scope.accounts->find(line.account);
    const QString& earnings = scope.accounts->current_earnings;
    const bool foreign = line.ledgertype == ForeignLedger;
    const QString base = key_text(base_row(scope, line.account));
    const QString own = foreign ? key_text({ForeignLedger, line.account, line.currency}) : base;
    if (foreign && !balances.contains(own))
        return std::unexpected(Error::not_found(QStringLiteral("Error! account ") + line.account
                                                + QStringLiteral(" has not been set for ") + line.currency
                                                + QStringLiteral(" currency")));
    if (!balances.contains(base))
        return std::unexpected(Error::not_found(QStringLiteral("Error! ") + line.account
                                                + (foreign ? QStringLiteral(" does not exist in Balance")
                                                           : QStringLiteral(" does not exist"))));
    if (account->income_statement) {
        if (earnings.isEmpty())
            return std::unexpected(Error::not_found(
                QStringLiteral("Current Earnings account (account type X) has not been set in Account Master")));
        if (!balances.contains(key_text(base_row(scope, earnings))))
            return std::unexpected(Error::not_found(QStringLiteral("Error : No Current Retained Earning account ")
                                                    + earnings + QStringLiteral(" in Account Balance")));
    }
    if (!periods.contains(own) || !periods.contains(base))
        return std::unexpected(Error::not_found(QStringLiteral("No account ") + line.account
                                                + QStringLiteral(" in fiscal year ") + scope.period.fiscal_year));
    if (account->income_statement && !periods.contains(key_text(base_row(scope, earnings))))
        return std::unexpected(Error::not_found(QStringLiteral("Error : No Retained Earning account ") + earnings
                                                + QStringLiteral(" in Account Balance Period.")));
    return {};
}

// One UPDATE for all rows of the entry: a round trip per table instead of one per row. It gives
// back a row for each row it changed, so that its count can be checked.
Statement balance_update(const QString& table, const QString& amount_column, const QString& base_column,
                         const BalanceScope& scope, const Changes& changes)
{
    QStringList rows;
    Params params;
    for (const auto& [key, change] : changes) {
        rows << QStringLiteral("(?, ?, ?, CAST(? AS NUMERIC), CAST(? AS NUMERIC))");
        params.insert(params.end(), {key.ledgertype, key.accno, key.currency, change.amount, change.base_amount});
    }
    const bool by_year = table == u"Balance_period_table";
    params.emplace_back(scope.company);
    if (by_year)
        params.emplace_back(scope.period.fiscal_year);
    const QString sql = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + amount_column
        + QStringLiteral(" = COALESCE(") + amount_column + QStringLiteral(", 0) + v.column4, ") + base_column
        + QStringLiteral(" = COALESCE(") + base_column + QStringLiteral(", 0) + v.column5 FROM (VALUES ")
        + rows.join(QStringLiteral(", ")) + QStringLiteral(") AS v WHERE ") + table + QStringLiteral(".company = ?")
        + (by_year ? QStringLiteral(" AND ") + table + QStringLiteral(".fyear = ?") : QString()) + QStringLiteral(" AND ")
        + table + QStringLiteral(".ledgertype = v.column1 AND ") + table + QStringLiteral(".accno = v.column2 AND ")
        + table + QStringLiteral(".currency = v.column3 RETURNING accno");
    return {sql, params, true};
}

[[nodiscard]] std::expected<void, Error> check_updated(const Rows& updated, const QString& table, const Changes& changes)
{
    if (updated.size() != changes.size())
        return std::unexpected(Error::database(QStringLiteral("%1 of %2 rows of %3 were updated")
                                                   .arg(updated.size())
                                                   .arg(changes.size())
                                                   .arg(table)));
    return {};
}

[[nodiscard]] std::expected<void, Error> create_foreign_balance_rows(Database& db, const QString& account, const QString& currency,
                                                       int company)
{
    auto first = db.scalar(QStringLiteral("SELECT MIN(fyear) FROM Fiscalyear_table WHERE history = ?"), {false});
    if (!first)
        return std::unexpected(first.error());
    auto last = db.scalar(QStringLiteral("SELECT MAX(fyear) AS maxfyear FROM Balance_period_table WHERE ledgertype = ?"),
                          {BaseLedger});
    if (!last)
        return std::unexpected(last.error());
    if (first->isNull() || last->isNull())
        return std::unexpected(Error::not_found(QStringLiteral("Error : no account balance")));
    auto master = db.first(QStringLiteral("SELECT acccode, subacc, subacc2, subacc3, subacc4, subacc5"
                                          " FROM Account_master_table WHERE accno = ?"),
                           {account});
    if (!master)
        return std::unexpected(master.error());
    if (!*master)
        return std::unexpected(Error::not_found(QStringLiteral("No account ") + account));
    auto insert_row = [&](const QString& table, const QString& ledgertype, const std::optional<QString>& fyear) {
        InsertRow row(table);
        row.set(u"company", company).set(u"ledgertype", ledgertype).set(u"accno", account).set(u"currency", currency);
        if (fyear)
            row.set(u"fyear", *fyear);
        for (const QString& column : account_code_columns())
            row.set(column, (*master)->text_or_null(column));
        return row.execute(db);
    };
    auto periods = db.scalar(QStringLiteral("SELECT COUNT(*) FROM Balance_period_table"
                                            " WHERE company = ? AND ledgertype = ? AND accno = ? AND currency = ?"),
                             {company, ForeignLedger, account, currency});
    if (!periods)
        return std::unexpected(periods.error());
    if (periods->toLongLong() == 0) {
        for (int year = first->toString().toInt(); year <= last->toString().toInt(); ++year) {
            for (const QString& ledgertype : {ForeignLedger, QStringLiteral("E")}) {
                if (auto done = insert_row(QStringLiteral("Balance_period_table"), ledgertype, QString::number(year)); !done)
                    return done;
            }
        }
    }
    auto balance = db.scalar(QStringLiteral("SELECT COUNT(*) FROM Balance_table"
                                            " WHERE company = ? AND ledgertype = ? AND accno = ? AND currency = ?"),
                             {company, ForeignLedger, account, currency});
    if (!balance)
        return std::unexpected(balance.error());
    if (balance->toLongLong() == 0)
        return insert_row(QStringLiteral("Balance_table"), ForeignLedger, std::nullopt);
    return {};
}

} // namespace

std::optional<QString> period_column(const QString& period)
{
    const QString value = period.trimmed().toUpper();
    if (value == u"AD")
        return QStringLiteral("adjust");
    if (value == u"CL")
        return QStringLiteral("closing");
    bool number = false;
    const int n = value.toInt(&number);
    if (number && n >= 1 && n <= 13)
        return QStringLiteral("period") + QString::number(n);
    return std::nullopt;
}

[[nodiscard]] std::expected<void, Error> ensure_account_currency(Database& db, const QString& account, const QString& currency,
                                                   int company)
{
    if (account.trimmed().isEmpty())
        return std::unexpected(Error::invalid(QString()));
    auto carried = db.first(QStringLiteral("SELECT accno FROM Account_currency_table WHERE accno = ? AND currency = ?"),
                            {account, currency});
    if (!carried)
        return std::unexpected(carried.error());
    if (*carried)
        return {};
    if (auto created = create_foreign_balance_rows(db, account, currency, company); !created)
        return created;
    return InsertRow(QStringLiteral("Account_currency_table"))
        .set(u"accno", account)
        .set(u"currency", currency)
        .set(u"Description", QStringLiteral(" "))
        .set(u"revalue", false)
        .execute(db);
}

[[nodiscard]] std::expected<void, Error> update_balances(Database& db, const BalanceScope& scope, const std::vector<JournalLine>& lines)
{
    Q_ASSERT(db.in_transaction());
    if (lines.empty())
        return {};
    const auto column = period_column(QString::number(scope.period.period));
    if (!column)
        return std::unexpected(Error::invalid(QStringLiteral("Period %1 has no balance column").arg(scope.period.period)));
    QSet<QString> opened;
    for (const JournalLine& line : lines) {
        if (line.ledgertype != ForeignLedger || opened.contains(line.account + u'\x1f' + line.currency))
            continue;
        if (auto ensured = ensure_account_currency(db, line.account, line.currency, scope.company); !ensured)
            return std::unexpected(wrapped(ensured.error(), QStringLiteral("Account ") + line.account
                                                                + QStringLiteral(" has not been set for currency ")
                                                                + line.currency));
        opened.insert(line.account + u'\x1f' + line.currency);
    }
    const Changes changes = changes_of(scope, lines);
    // Period rows need no lock of their own: whoever moves one has locked its account's
    // balance row, read first. The updates travel with the reads: the server runs them once the
    // rows are held, and a row found missing below fails the save, which rolls back whole.
    const QString balance_table = QStringLiteral("Balance_table");
    const QString period_table = QStringLiteral("Balance_period_table");
    auto done = db.select_together(
        {existing_rows_read(balance_table, scope, changes, true), existing_rows_read(period_table, scope, changes, false),
         balance_update(balance_table, QStringLiteral("amount"), QStringLiteral("base_amount"), scope, changes),
         balance_update(period_table, *column, QStringLiteral("e_") + *column, scope, changes)});
    if (!done)
        return std::unexpected(done.error());
    const ExistingRows balances = existing_of((*done)[0]);
    const ExistingRows periods = existing_of((*done)[1]);
    for (const JournalLine& line : lines)
        if (auto checked = check_line_rows(scope, line, balances, periods); !checked)
            return checked;
    if (auto checked = check_updated((*done)[2], balance_table, changes); !checked)
        return checked;
    return check_updated((*done)[3], period_table, changes);
}

} // namespace zelkor
