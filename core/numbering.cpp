#include "core/numbering.h"

#include <iterator>

namespace zelkor {
namespace {

const QString& document_counter_sql()
{
    static const QString sql = QStringLiteral("UPDATE Docno_master_table SET nextdocno = nextdocno + 1"
                                              " WHERE company = ? AND doctype = ? AND fiscalyear = ? RETURNING nextdocno");
    return sql;
}

const QString& key_counter_sql()
{
    static const QString sql = QStringLiteral(
        "UPDATE Next_number_fkey_table SET fkeyno = fkeyno + 1 WHERE company = ? AND doctype = ? RETURNING fkeyno");
    return sql;
}

/// The company's layout and the document type's prefix in one read; format_doctype is null
/// when the type has no prefix row.
const QString& layout_sql()
{
    static const QString sql = QStringLiteral(
        "SELECT c.structure, c.fyear_digit, c.seperator1, c.seperator2, f.doctype AS format_doctype, f.prefix,"
        " f.running_no_digit FROM Next_number_config_table c LEFT JOIN Next_number_format_table f ON f.doctype = ?"
        " ORDER BY c.company");
    return sql;
}

/// The number laid out from the first row of the layout read.
[[nodiscard]] std::expected<QString, Error> laid_out(const Rows& layout, const QString& doctype, long long counter,
                                                     const QString& fiscal_year)
{
    // Without its layout no number can be made: the save fails like any database error.
    if (layout.empty())
        return std::unexpected(Error::database(QStringLiteral("Next_number_config_table has no row")));
    const Row& c = layout.front();
    if (c.is_null(u"format_doctype"))
        return std::unexpected(Error::database(QStringLiteral("no Next_number_format_table row for document type ") + doctype));

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

[[nodiscard]] std::expected<QString, Error> format_number(Database& db, const QString& doctype, long long counter,
                                            const QString& fiscal_year)
{
    auto layout = db.select(layout_sql(), {doctype});
    if (!layout)
        return std::unexpected(layout.error());
    return laid_out(*layout, doctype, counter, fiscal_year);
}

QString make_fkey(int company, const QString& doctype, long long key_counter)
{
    return QString::number(company) + doctype + u'-' + QString::number(key_counter);
}

[[nodiscard]] std::expected<DocumentNumber, Error> issue_document_number(Database& db, const QString& doctype,
                                                           const QString& fiscal_year, int company)
{
    auto issued = issue_document_number_with(db, doctype, fiscal_year, {}, company);
    if (!issued)
        return std::unexpected(issued.error());
    return issued->number;
}

[[nodiscard]] std::expected<IssuedWithReads, Error> issue_document_number_with(Database& db, const QString& doctype,
                                                                             const QString& fiscal_year,
                                                                             std::vector<Statement> reads, int company)
{
    Q_ASSERT_X(db.in_transaction(), "issue_document_number", "numbers are taken inside the save's transaction");
    // Each counter rises by one in a single statement whose row lock is held until the save ends;
    // the value before the rise is the one taken.
    reads.insert(reads.begin(), {{.sql = document_counter_sql(), .params = {company, doctype, fiscal_year}, .writes = true},
                                 {.sql = key_counter_sql(), .params = {company, doctype}, .writes = true},
                                 {.sql = layout_sql(), .params = {doctype}}});
    auto taken = db.select_together(reads);
    if (!taken)
        return std::unexpected(taken.error());
    const Rows& document = (*taken)[0];
    const Rows& key = (*taken)[1];
    if (document.empty()) {
        auto missing = missing_document_counter(db, doctype, fiscal_year, company);
        return std::unexpected(missing ? *missing : missing.error());
    }
    if (key.empty()) {
        return std::unexpected(Error{Error::Kind::NotFound, {},
                                     QStringLiteral("no Next_number_fkey_table row for document type ") + doctype});
    }
    auto docno = laid_out((*taken)[2], doctype, document.front().integer(u"nextdocno") - 1, fiscal_year);
    if (!docno)
        return std::unexpected(docno.error());
    if (docno->size() > MaximumDocnoLength) {
        return std::unexpected(
            Error::invalid(QStringLiteral("Error : document no. is longer than 30 characters. ") + *docno));
    }
    return IssuedWithReads{DocumentNumber{*docno, make_fkey(company, doctype, key.front().integer(u"fkeyno") - 1)},
                           std::vector<Rows>(std::make_move_iterator(taken->begin() + 3),
                                             std::make_move_iterator(taken->end()))};
}

} // namespace zelkor
