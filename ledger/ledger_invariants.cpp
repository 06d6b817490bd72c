#include "ledger/ledger_invariants.h"

#include "ledger/ledger_balances.h"

#include <QHash>
#include <QMap>

#include <array>

namespace zelkor {
namespace {


struct Figures {
    Decimal amount;
    Decimal base_amount;

    void add(const Decimal& a, const Decimal& b)
    {
        amount += a;
        base_amount += b;
    }
    bool operator==(const Figures& other) const
    {
        return amount.round2() == other.amount.round2() && base_amount.round2() == other.base_amount.round2();
    }
};

constexpr int Periods = 13;
using PeriodFigures = std::array<Figures, Periods + 1>; // index 1 .. 13

struct ChartAccount {
    bool debit = false;
    bool income_statement = false;
};

struct Chart {
    QHash<QString, ChartAccount> accounts;
    QString current_earnings;
    QHash<qint64, QString> base_currency; ///< by company
};

QString key_of(const QStringList& parts) { return parts.join(u' '); }

QString money(const Decimal& value) { return value.round2().to_fixed(2); }

[[nodiscard]] std::expected<Chart, Error> read_chart(Database& db)
{
    Chart chart;
    auto accounts = db.select(QStringLiteral("SELECT accno, type, debit, acctype FROM Account_master_table ORDER BY accno"));
    if (!accounts)
        return std::unexpected(accounts.error());
    for (const Row& row : *accounts) {
        chart.accounts.insert(row.text(u"accno"),
                              {row.flag(u"debit"), row.text(u"acctype") == u"Income Statement"});
        if (row.text(u"type") == u"X" && chart.current_earnings.isEmpty())
            chart.current_earnings = row.text(u"accno");
    }
    auto config = db.select(QStringLiteral("SELECT company, base_currency FROM COA_config_table"));
    if (!config)
        return std::unexpected(config.error());
    for (const Row& row : *config)
        chart.base_currency.insert(row.integer(u"company"), row.text(u"base_currency"));
    return chart;
}

// What the balance tables should hold, worked out from the journal lines alone.
struct ExpectedBalances {
    QMap<QString, Figures> balances;      ///< by "company ledgertype accno currency"
    QMap<QString, PeriodFigures> periods; ///< by "company fyear ledgertype accno currency"
};

[[nodiscard]] std::expected<ExpectedBalances, Error> expected_balances(Database& db, const Chart& chart)
{
    auto groups = db.select(QStringLiteral(
        "SELECT company, fyear, period, ledgertype, accno, currency, SUM(amount) AS amount,"
        " SUM(base_amount) AS base_amount FROM GL_transaction_table"
        " GROUP BY company, fyear, period, ledgertype, accno, currency"));
    if (!groups)
        return std::unexpected(groups.error());
    ExpectedBalances expected;
    for (const Row& row : *groups) {
        const QString company = row.text(u"company");
        const QString base = chart.base_currency.value(row.integer(u"company"));
        const QString fyear = row.text(u"fyear");
        const int period = static_cast<int>(row.integer(u"period"));
        const QString accno = row.text(u"accno");
        const Decimal amount = row.decimal(u"amount");
        const Decimal base_amount = row.decimal(u"base_amount");
        auto add = [&](const QString& ledgertype, const QString& account, const QString& currency, const Decimal& a,
                       const Decimal& b) {
            expected.balances[key_of({company, ledgertype, account, currency})].add(a, b);
            if (period >= 1 && period <= Periods)
                expected.periods[key_of({company, fyear, ledgertype, account, currency})][period].add(a, b);
        };
        if (row.text(u"ledgertype") == ForeignLedger) {
            add(ForeignLedger, accno, row.text(u"currency"), amount, base_amount);
            add(BaseLedger, accno, base, base_amount, base_amount);
        } else {
            add(BaseLedger, accno, base, amount, base_amount);
        }
        const auto account = chart.accounts.constFind(accno);
        if (account != chart.accounts.constEnd() && account->income_statement && !chart.current_earnings.isEmpty()) {
            const Decimal earnings = account->debit ? base_amount : -base_amount;
            add(BaseLedger, chart.current_earnings, base, earnings, earnings);
        }
    }
    return expected;
}

QString row_key(const Row& row, bool with_year)
{
    QStringList parts{row.text(u"company")};
    if (with_year)
        parts << row.text(u"fyear");
    parts << row.text(u"ledgertype") << row.text(u"accno") << row.text(u"currency");
    return key_of(parts);
}

[[nodiscard]] std::expected<QStringList, Error> entries_balance(Database& db)
{
    auto rows = db.select(QStringLiteral(
        "SELECT t.fkey, MAX(t.docno) AS docno,"
        " SUM(CASE WHEN a.debit THEN t.base_amount ELSE -t.base_amount END) AS total,"
        " COUNT(a.accno) AS known, COUNT(*) AS lines, COUNT(h.fkey) AS headed"
        " FROM GL_transaction_table t"
        " LEFT JOIN Account_master_table a ON a.accno = t.accno"
        " LEFT JOIN GL_header_table h ON h.fkey = t.fkey"
        " GROUP BY t.fkey"
        " HAVING ABS(SUM(CASE WHEN a.debit THEN t.base_amount ELSE -t.base_amount END)) >= 0.005"
        " OR COUNT(a.accno) <> COUNT(*) OR COUNT(h.fkey) <> COUNT(*)"
        " ORDER BY t.fkey"));
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString entry = QStringLiteral("entry ") + row.text(u"docno") + QStringLiteral(" (") + row.text(u"fkey") + u')';
        if (row.integer(u"known") != row.integer(u"lines"))
            violations << entry + QStringLiteral(" has lines on accounts missing from the chart of accounts");
        if (row.integer(u"headed") != row.integer(u"lines"))
            violations << entry + QStringLiteral(" has lines but no header");
        const Decimal total = row.decimal(u"total").round2();
        if (!total.is_zero())
            violations << entry + QStringLiteral(" does not balance: debits less credits are ") + money(total);
    }
    return violations;
}

// What the balance tables should hold, summed from the journal lines over the chart.
[[nodiscard]] std::expected<ExpectedBalances, Error> journal_balances(Database& db)
{
    auto chart = read_chart(db);
    if (!chart)
        return std::unexpected(chart.error());
    return expected_balances(db, *chart);
}

[[nodiscard]] std::expected<QStringList, Error> balances_match_journal(Database& db)
{
    auto expected = journal_balances(db);
    if (!expected)
        return std::unexpected(expected.error());
    auto rows = db.select(QStringLiteral("SELECT company, ledgertype, accno, currency, amount, base_amount"
                                         " FROM Balance_table WHERE ledgertype IN (?, ?)"
                                         " ORDER BY company, ledgertype, accno, currency"),
                          {BaseLedger, ForeignLedger});
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString key = row_key(row, false);
        const Figures held{row.decimal(u"amount"), row.decimal(u"base_amount")};
        const Figures lines = expected->balances.take(key);
        if (!(held == lines))
            violations << QStringLiteral("balance ") + key + QStringLiteral(" holds ") + money(held.amount)
                    + QStringLiteral(" (base ") + money(held.base_amount) + QStringLiteral("), its journal lines give ")
                    + money(lines.amount) + QStringLiteral(" (base ") + money(lines.base_amount) + u')';
    }
    for (auto it = expected->balances.cbegin(); it != expected->balances.cend(); ++it)
        violations << QStringLiteral("balance ") + it.key() + QStringLiteral(" is missing, its journal lines give ")
                + money(it->amount);
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> period_balances_match_journal(Database& db)
{
    auto expected = journal_balances(db);
    if (!expected)
        return std::unexpected(expected.error());
    // The period columns are read by their place in the row: a company holds a row per account,
    // currency and year, and a lookup by name per column and row would cost most of the check.
    QStringList columns{QStringLiteral("company"), QStringLiteral("fyear"), QStringLiteral("ledgertype"),
                        QStringLiteral("accno"), QStringLiteral("currency")};
    const qsizetype first_period = columns.size();
    for (int period = 1; period <= Periods; ++period) {
        const QString column = *period_column(QString::number(period));
        columns << column << QStringLiteral("e_") + column;
    }
    auto rows = db.select(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", "))
                              + QStringLiteral(" FROM Balance_period_table WHERE ledgertype IN (?, ?)"
                                               " ORDER BY company, fyear, ledgertype, accno, currency"),
                          {BaseLedger, ForeignLedger});
    if (!rows)
        return std::unexpected(rows.error());
    QStringList violations;
    for (const Row& row : *rows) {
        const QString key = row_key(row, true);
        const PeriodFigures lines = expected->periods.take(key);
        for (int period = 1; period <= Periods; ++period) {
            const int place = int(first_period) + 2 * (period - 1);
            const QString& column = columns[place];
            const Figures held{Row::to_decimal(row.value(place)), Row::to_decimal(row.value(place + 1))};
            if (!(held == lines[period]))
                violations << QStringLiteral("period balance ") + key + u' ' + column + QStringLiteral(" holds ")
                        + money(held.amount) + QStringLiteral(" (base ") + money(held.base_amount)
                        + QStringLiteral("), its journal lines give ") + money(lines[period].amount)
                        + QStringLiteral(" (base ") + money(lines[period].base_amount) + u')';
        }
    }
    for (auto it = expected->periods.cbegin(); it != expected->periods.cend(); ++it)
        violations << QStringLiteral("period balance ") + it.key() + QStringLiteral(" is missing");
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> reversals_cancel(Database& db)
{
    auto headers = db.select(QStringLiteral("SELECT company, fkey, docno, remark FROM GL_header_table"
                                            " WHERE Reverse = ? ORDER BY company, fkey"),
                             {true});
    if (!headers)
        return std::unexpected(headers.error());
    const QString reversed_by = QStringLiteral("Reversed by ");
    const QString reverse_of = QStringLiteral("Reverse GL ");
    QHash<QString, const Row*> reversal_of; // "company docno-of-reversed-entry" -> the reversal
    for (const Row& row : *headers)
        if (row.text(u"remark").startsWith(reverse_of))
            reversal_of.insert(key_of({row.text(u"company"), row.text(u"remark").mid(reverse_of.size())}), &row);
    QStringList violations;
    for (const Row& row : *headers) {
        if (!row.text(u"remark").startsWith(reversed_by))
            continue;
        const QString entry = QStringLiteral("entry ") + row.text(u"docno");
        const Row* reversal = reversal_of.take(key_of({row.text(u"company"), row.text(u"docno")}));
        if (!reversal || reversal->text(u"docno") != row.text(u"remark").mid(reversed_by.size())) {
            violations << entry + QStringLiteral(" is marked reversed by ") + row.text(u"remark").mid(reversed_by.size())
                    + QStringLiteral(", which is not its reversal");
            continue;
        }
        auto left = db.select(QStringLiteral("SELECT accno, currency, ledgertype FROM GL_transaction_table"
                                             " WHERE fkey IN (?, ?) GROUP BY accno, currency, ledgertype"
                                             " HAVING ABS(SUM(amount)) >= 0.005 OR ABS(SUM(base_amount)) >= 0.005"
                                             " ORDER BY accno, currency, ledgertype"),
                              {row.text(u"fkey"), reversal->text(u"fkey")});
        if (!left)
            return std::unexpected(left.error());
        for (const Row& line : *left)
            violations << entry + QStringLiteral(" and its reversal ") + reversal->text(u"docno")
                    + QStringLiteral(" do not cancel on account ") + line.text(u"accno") + u' ' + line.text(u"currency");
    }
    for (const Row* orphan : std::as_const(reversal_of))
        violations << QStringLiteral("entry ") + orphan->text(u"docno") + QStringLiteral(" reverses ")
                + orphan->text(u"remark").mid(reverse_of.size()) + QStringLiteral(", which is not marked reversed by it");
    return violations;
}

} // namespace

std::vector<InvariantCheck> ledger_invariant_checks()
{
    return {
        {QStringLiteral("journal entries balance"), entries_balance},
        {QStringLiteral("balances match the journal"), balances_match_journal},
        {QStringLiteral("period balances match the journal"), period_balances_match_journal},
        {QStringLiteral("reversals cancel"), reversals_cancel},
    };
}

} // namespace zelkor
