#include "services/numbering.h"

namespace zelkor {
namespace {

/// One counter row: how to read it (locked) and how to store the next value.
struct Counter {
    QString select_sql;
    QString update_sql; ///< takes the new value, then the key
    QString column;
};

const Counter& document_counter()
{
    static const Counter counter{
        QStringLiteral("SELECT nextdocno FROM Docno_master_table WHERE company = ? AND doctype = ? AND fiscalyear = ?"),
        QStringLiteral("UPDATE Docno_master_table SET nextdocno = ? WHERE company = ? AND doctype = ? AND fiscalyear = ?"),
        QStringLiteral("nextdocno")};
    return counter;
}

const Counter& key_counter()
{
    static const Counter counter{
        QStringLiteral("SELECT fkeyno FROM Next_number_fkey_table WHERE company = ? AND doctype = ?"),
        QStringLiteral("UPDATE Next_number_fkey_table SET fkeyno = ? WHERE company = ? AND doctype = ?"),
        QStringLiteral("fkeyno")};
    return counter;
}

/// Reads one counter row with the lock held until the caller's transaction ends, then stores
/// the counter + 1. Gives the value read, nothing when the row is missing, or the error
/// (Locked after the last retry).
[[nodiscard]] std::expected<std::optional<long long>, Error> take_counter(Database& db, const Counter& counter, const Params& key)
{
    auto rows = db.select_for_update(counter.select_sql, key);
    if (!rows)
        return std::unexpected(rows.error());
    if (rows->empty())
        return std::optional<long long>{};
    const long long value = rows->front().integer(counter.column);
    Params update{value + 1};
    update.insert(update.end(), key.begin(), key.end());
    if (auto changed = db.execute(counter.update_sql, update); !changed)
        return std::unexpected(changed.error());
    return std::optional<long long>{value};
}

[[nodiscard]] std::expected<Error, Error> missing_document_counter(Database& db, const QString& doctype, const QString& fiscal_year,
                                                     int company)
{
    QString message = QStringLiteral("Next number of document type %1 for fiscal year %2 is missing.")
                          .arg(doctype, fiscal_year);
    auto year_rows = db.scalar(QStringLiteral("SELECT COUNT(*) FROM Docno_master_table WHERE company = ? AND fiscalyear = ?"),
                               {company, fiscal_year});
    if (!year_rows)
        return std::unexpected(year_rows.error());
    if (year_rows->toLongLong() == 0)
        message += QStringLiteral("\nCreate new fiscal year with \"Add New Fiscal Year\" in General Ledger system.");
    return Error::not_found(message);
}

} // namespace

[[nodiscard]] std::expected<TakenNumbers, Error> take_numbers(Database& db, const QString& doctype, const QString& fiscal_year,
                                                int company)
{
    Q_ASSERT_X(db.in_transaction(), "take_numbers", "numbers are taken inside the save's transaction");
    auto document = take_counter(db, document_counter(), {company, doctype, fiscal_year});
    if (!document)
        return std::unexpected(document.error());
    if (!*document) {
        auto missing = missing_document_counter(db, doctype, fiscal_year, company);
        return std::unexpected(missing ? *missing : missing.error());
    }
    auto key = take_counter(db, key_counter(), {company, doctype});
    if (!key)
        return std::unexpected(key.error());
    if (!*key) {
        return std::unexpected(Error{Error::Kind::NotFound, {},
                                     QStringLiteral("no Next_number_fkey_table row for document type ") + doctype});
    }
    return TakenNumbers{**document, **key};
}

[[nodiscard]] std::expected<QString, Error> format_number(Database& db, const QString& doctype, long long counter,
                                            const QString& fiscal_year)
{
    auto config = db.first(QStringLiteral("SELECT structure, fyear_digit, seperator1, seperator2"
                                          " FROM Next_number_config_table ORDER BY company"));
    if (!config)
        return std::unexpected(config.error());
    auto format = db.first(QStringLiteral("SELECT prefix, running_no_digit FROM Next_number_format_table WHERE doctype = ?"),
                           {doctype});
    if (!format)
        return std::unexpected(format.error());
    // Without its layout no number can be made: the save fails like any database error.
    if (!*config)
        return std::unexpected(Error::database(QStringLiteral("Next_number_config_table has no row")));
    if (!*format)
        return std::unexpected(Error::database(QStringLiteral("no Next_number_format_table row for document type ") + doctype));

    const Row& c = **config;
    const QString year = c.integer(u"fyear_digit") == 2 ? fiscal_year.mid(2, 2) : fiscal_year;
    // A counter wider than the minimum keeps all its digits.
    const QString running = QString::number(counter).rightJustified(static_cast<qsizetype>((*format)->integer(u"running_no_digit")),
                                                                    QLatin1Char('0'));
    const QString prefix = (*format)->text(u"prefix");
    const QString separator1 = c.flag(u"seperator1") ? QStringLiteral("-") : QString();
    const QString separator2 = c.flag(u"seperator2") ? QStringLiteral("-") : QString();

    const QString structure = c.text_or_null(u"structure").value_or(QStringLiteral("1"));
    if (structure == u"1")
        return prefix + separator1 + year + separator2 + running;
    if (structure == u"2")
        return year + separator1 + prefix + separator2 + running;
    if (structure == u"3")
        return prefix + separator1 + running;
    return QString();
}

QString make_fkey(int company, const QString& doctype, long long key_counter)
{
    return QString::number(company) + doctype + u'-' + QString::number(key_counter);
}

[[nodiscard]] std::expected<DocumentNumber, Error> issue_document_number(Database& db, const QString& doctype,
                                                           const QString& fiscal_year, int company)
{
    auto numbers = take_numbers(db, doctype, fiscal_year, company);
    if (!numbers)
        return std::unexpected(numbers.error());
    auto docno = format_number(db, doctype, numbers->document_counter, fiscal_year);
    if (!docno)
        return std::unexpected(docno.error());
    if (docno->size() > MaximumDocnoLength) {
        return std::unexpected(
            Error::invalid(QStringLiteral("Error : document no. is longer than 30 characters. ") + *docno));
    }
    return DocumentNumber{*docno, make_fkey(company, doctype, numbers->key_counter)};
}

} // namespace zelkor
