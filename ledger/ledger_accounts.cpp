#include "ledger/ledger_accounts.h"
#include "core/db/sql_names.h"

namespace zelkor {

const std::array<QString, 6>& account_code_columns()
{
    static const std::array<QString, 6> columns = {
        QStringLiteral("acccode"), QStringLiteral("subacc"),  QStringLiteral("subacc2"),
        QStringLiteral("subacc3"), QStringLiteral("subacc4"), QStringLiteral("subacc5"),
    };
    return columns;
}

const LedgerAccount* LedgerAccounts::find(const QString& accno) const
{
    auto it = by_number.constFind(accno);
    return it == by_number.constEnd() ? nullptr : &*it;
}

Statement ledger_accounts_read(const QStringList& accounts)
{
    QStringList wanted = accounts;
    wanted.removeDuplicates();
    Params params{QStringLiteral("X")};
    for (const QString& accno : wanted)
        params.emplace_back(accno);
    const QString in_list = wanted.isEmpty() ? QString() : QStringLiteral(" OR accno IN (") + placeholder_list(wanted.size()) + u')';
    return {QStringLiteral("SELECT accno, type, acctype, debit, inactive, acccode, subacc, subacc2,"
                           " subacc3, subacc4, subacc5 FROM Account_master_table WHERE type = ?")
                + in_list + QStringLiteral(" ORDER BY accno"),
            params};
}

LedgerAccounts ledger_accounts_of(const Rows& rows)
{
    LedgerAccounts result;
    for (const Row& row : rows) {
        LedgerAccount account;
        account.accno = row.text(u"accno");
        account.debit = row.flag(u"debit");
        account.inactive = row.flag(u"inactive");
        account.income_statement = row.text(u"acctype") == u"Income Statement";
        for (size_t i = 0; i < account.codes.size(); ++i)
            account.codes[i] = row.text(account_code_columns()[i]);
        // Should the chart hold several 'X' accounts, the lowest number is the one in force.
        if (row.text(u"type") == u"X" && result.current_earnings.isEmpty())
            result.current_earnings = account.accno;
        result.by_number.insert(account.accno, account);
    }
    return result;
}

[[nodiscard]] std::expected<LedgerAccounts, Error> load_ledger_accounts(Database& db, const QStringList& accounts)
{
    const Statement read = ledger_accounts_read(accounts);
    auto rows = db.select(read.sql, read.params);
    if (!rows)
        return std::unexpected(rows.error());
    return ledger_accounts_of(*rows);
}

Statement base_currency_read(int company)
{
    return {QStringLiteral("SELECT base_currency FROM COA_config_table WHERE company = ?"), {company}};
}

[[nodiscard]] std::expected<QString, Error> base_currency_of(const Rows& rows)
{
    const QVariant currency = rows.empty() || rows.front().size() == 0 ? QVariant() : rows.front().value(0);
    if (currency.isNull() || currency.toString().trimmed().isEmpty())
        return std::unexpected(Error::not_found(QStringLiteral("Base currency has not been set in the ledger configuration")));
    return currency.toString();
}

[[nodiscard]] std::expected<QString, Error> ledger_base_currency(Database& db, int company)
{
    const Statement read = base_currency_read(company);
    auto rows = db.select(read.sql, read.params);
    if (!rows)
        return std::unexpected(rows.error());
    return base_currency_of(*rows);
}

std::expected<QHash<QString, TaxAccounts>, Error> tax_authority_accounts(Database& db, const QSet<QString>& authorities)
{
    QHash<QString, TaxAccounts> accounts;
    if (authorities.isEmpty())
        return accounts;
    Params params(authorities.begin(), authorities.end());
    auto rows = db.select(QStringLiteral("SELECT tax_authority, acc_recoverable, acc_expense FROM Tax_authority_table"
                                         " WHERE tax_authority IN (")
                              + placeholder_list(qsizetype(params.size())) + u')',
                          params);
    if (!rows)
        return std::unexpected(rows.error());
    for (const Row& row : *rows)
        accounts.insert(row.text(u"tax_authority"), {row.text(u"acc_recoverable").trimmed(), row.text(u"acc_expense").trimmed()});
    return accounts;
}

} // namespace zelkor
