#include "core/numbering.h"

namespace zelkor {
namespace {

/// One counter row: the statement that raises it by one and gives its new value.
struct Counter {
    QString raise_sql; ///< takes the key
    QString column;
};

const Counter& document_counter()
{
    static const Counter counter{
        QStringLiteral("UPDATE Docno_master_table SET nextdocno = nextdocno + 1"
                       " WHERE company = ? AND doctype = ? AND fiscalyear = ? RETURNING nextdocno"),
        QStringLiteral("nextdocno")};
    return counter;
}

const Counter& key_counter()
{
    static const Counter counter{
        QStringLiteral("UPDATE Next_number_fkey_table SET fkeyno = fkeyno + 1 WHERE company = ? AND doctype = ?"
                       " RETURNING fkeyno"),
        QStringLiteral("fkeyno")};
    return counter;
}

/// Raises one counter row by one in a single statement, whose row lock is held until the
/// caller's transaction ends. Gives the value before the rise, nothing when the row is missing,
/// or the error (Locked when another save holds the row too long).
[[nodiscard]] std::expected<std::optional<long long>, Error> take_counter(Database& db, const Counter& counter, const Params& key)
{
    auto rows = db.update_returning(counter.raise_sql, key);
    if (!rows)
        return std::unexpected(rows.error());
    if (rows->empty())
        return std::optional<long long>{};
    return std::optional<long long>{rows->front().integer(counter.column) - 1};
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
    // The company's layout and the document type's prefix in one read; format_doctype is null
    // when the type has no prefix row.
    auto layout = db.first(QStringLiteral("SELECT c.structure, c.fyear_digit, c.seperator1, c.seperator2, f.doctype AS"
                                          " format_doctype, f.prefix, f.running_no_digit FROM Next_number_config_table c"
                                          " LEFT JOIN Next_number_format_table f ON f.doctype = ? ORDER BY c.company"),
                           {doctype});
    if (!layout)
        return std::unexpected(layout.error());
    // Without its layout no number can be made: the save fails like any database error.
    if (!*layout)
        return std::unexpected(Error::database(QStringLiteral("Next_number_config_table has no row")));
    if ((*layout)->is_null(u"format_doctype"))
        return std::unexpected(Error::database(QStringLiteral("no Next_number_format_table row for document type ") + doctype));

    const Row& c = **layout;
    const QString year = c.integer(u"fyear_digit") == 2 ? fiscal_year.mid(2, 2) : fiscal_year;
    // A counter wider than the minimum keeps all its digits.
    const QString running = QString::number(counter).rightJustified(static_cast<qsizetype>(c.integer(u"running_no_digit")),
                                                                    QLatin1Char('0'));
    const QString prefix = c.text(u"prefix");
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
