#include "ledger/ledger_journal.h"

#include "core/db/sql_names.h"

#include <QStringList>

namespace zelkor {
namespace {

// Lines per INSERT statement: one round trip for any entry a document can make, while the
// bound values stay far below either engine's limit.
constexpr size_t LinesPerStatement = 100;

// Columns every line of an entry shares, bound once per statement.
const QStringList& shared_columns()
{
    static const QStringList columns = {
        QStringLiteral("company"), QStringLiteral("fkey"), QStringLiteral("doctype"), QStringLiteral("docno"),
        QStringLiteral("gldate"), QStringLiteral("period"), QStringLiteral("fyear"), QStringLiteral("Source"),
        QStringLiteral("source_form"), QStringLiteral("source_docno"), QStringLiteral("date_created"),
        QStringLiteral("time_created"), QStringLiteral("user_created"),
    };
    return columns;
}

// Columns of each line, as (column, placeholder) pairs. PostgreSQL types the values of a
// VALUES list from their first row, so numbers are cast there.
const std::vector<std::pair<QString, QString>>& own_columns()
{
    static const std::vector<std::pair<QString, QString>> columns = {
        {QStringLiteral("lineno"), QStringLiteral("CAST(? AS INTEGER)")},
        {QStringLiteral("accno"), QStringLiteral("?")},
        {QStringLiteral("acccode"), QStringLiteral("?")},
        {QStringLiteral("subacc"), QStringLiteral("?")},
        {QStringLiteral("subacc2"), QStringLiteral("?")},
        {QStringLiteral("subacc3"), QStringLiteral("?")},
        {QStringLiteral("subacc4"), QStringLiteral("?")},
        {QStringLiteral("subacc5"), QStringLiteral("?")},
        {QStringLiteral("amount"), QStringLiteral("CAST(? AS NUMERIC)")},
        {QStringLiteral("base_amount"), QStringLiteral("CAST(? AS NUMERIC)")},
        {QStringLiteral("Percent"), QStringLiteral("CAST(? AS NUMERIC)")},
        {QStringLiteral("currency"), QStringLiteral("?")},
        {QStringLiteral("exchange_rate"), QStringLiteral("CAST(? AS NUMERIC)")},
        {QStringLiteral("ledgertype"), QStringLiteral("?")},
        {QStringLiteral("vendor_no"), QStringLiteral("?")},
    };
    return columns;
}

// "INSERT INTO GL_transaction_table (...) SELECT <shared values>, v.column1, ... FROM (VALUES "
QString insert_prefix(Engine engine)
{
    QStringList columns = shared_columns();
    QStringList selected;
    for (const QString& column : shared_columns()) {
        // SQLite would read a date cast to DATE as the number 2026; PostgreSQL needs the type.
        if (column == u"gldate" || column == u"date_created")
            selected << (engine == Engine::Postgres ? QStringLiteral("CAST(? AS DATE)") : QStringLiteral("?"));
        else if (column == u"company" || column == u"period")
            selected << QStringLiteral("CAST(? AS INTEGER)");
        else
            selected << QStringLiteral("?");
    }
    for (size_t i = 0; i < own_columns().size(); ++i) {
        columns << own_columns()[i].first;
        selected << QStringLiteral("v.column%1").arg(i + 1);
    }
    return QStringLiteral("INSERT INTO GL_transaction_table (") + columns.join(QStringLiteral(", "))
        + QStringLiteral(") SELECT ") + selected.join(QStringLiteral(", ")) + QStringLiteral(" FROM (VALUES ");
}

QString values_row()
{
    QStringList placeholders;
    for (const auto& [column, placeholder] : own_columns())
        placeholders << placeholder;
    return u'(' + placeholders.join(QStringLiteral(", ")) + u')';
}

Params shared_values(const JournalStamp& stamp)
{
    return {stamp.company, stamp.fkey, QStringLiteral("gl"), stamp.docno, stamp.gldate, stamp.period.period,
            stamp.period.fiscal_year, stamp.source, stamp.source_form, stamp.source_docno, stamp.date_created,
            stamp.time_created, stamp.user};
}

SqlValue text_or_null(const QString& text) { return text.isEmpty() ? SqlValue(std::nullopt) : SqlValue(text); }

void bind_line(Params& params, int lineno, const JournalLine& line)
{
    params.insert(params.end(), {lineno, line.account});
    for (const QString& code : line.codes)
        params.push_back(text_or_null(code));
    params.insert(params.end(), {line.amount, line.base_amount, line.percent, line.currency, line.exchange_rate,
                                 line.ledgertype, text_or_null(line.vendor_no)});
}

} // namespace

[[nodiscard]] std::expected<void, Error> insert_journal_header(Database& db, const JournalStamp& stamp, const JournalHeaderText& text)
{
    return InsertRow(QStringLiteral("GL_header_table"))
        .set(u"company", stamp.company)
        .set(u"fkey", stamp.fkey)
        .set(u"doctype", "gl")
        .set(u"docno", stamp.docno)
        .set(u"Description", text.description)
        .set(u"remark", text.remark)
        .set(u"Source", stamp.source)
        .set(u"source_form", stamp.source_form)
        .set(u"source_docno", stamp.source_docno)
        .set(u"gldate", stamp.gldate)
        .set(u"currency", text.currency)
        .set(u"exchange_rate", text.exchange_rate)
        .set(u"period", stamp.period.period)
        .set(u"fyear", stamp.period.fiscal_year)
        .set(u"Reverse", text.reverse)
        .set_created({stamp.date_created, stamp.time_created, stamp.user})
        .execute(db);
}

[[nodiscard]] std::expected<void, Error> insert_journal_lines(Database& db, const JournalStamp& stamp,
                                                const std::vector<JournalLine>& lines)
{
    const QString prefix = insert_prefix(db.engine());
    const QString row = values_row();
    for (size_t first = 0; first < lines.size(); first += LinesPerStatement) {
        const size_t end = std::min(lines.size(), first + LinesPerStatement);
        QStringList rows;
        Params params = shared_values(stamp);
        params.reserve(params.size() + (end - first) * own_columns().size());
        for (size_t i = first; i < end; ++i) {
            rows << row;
            bind_line(params, static_cast<int>(i) + 1, lines[i]);
        }
        // Placeholders are numbered in order of appearance: the shared values, then each row's.
        if (auto done = db.write(prefix + rows.join(QStringLiteral(", ")) + QStringLiteral(") AS v"), params); !done)
            return done;
    }
    return {};
}

} // namespace zelkor
