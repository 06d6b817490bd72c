#include "services/ledger_journal.h"

#include "services/sql_names.h"

#include <QStringList>

namespace zelkor {
namespace {

// Lines per INSERT statement: one round trip for any entry a document can make, while the
// bound values stay far below either engine's limit.
constexpr size_t LinesPerStatement = 100;

const QStringList& line_columns()
{
    static const QStringList columns = {
        QStringLiteral("company"), QStringLiteral("fkey"), QStringLiteral("lineno"), QStringLiteral("doctype"),
        QStringLiteral("docno"), QStringLiteral("gldate"), QStringLiteral("period"), QStringLiteral("fyear"),
        QStringLiteral("accno"), QStringLiteral("acccode"), QStringLiteral("subacc"), QStringLiteral("subacc2"),
        QStringLiteral("subacc3"), QStringLiteral("subacc4"), QStringLiteral("subacc5"), QStringLiteral("amount"),
        QStringLiteral("base_amount"), QStringLiteral("Percent"), QStringLiteral("currency"),
        QStringLiteral("exchange_rate"), QStringLiteral("ledgertype"), QStringLiteral("vendor_no"),
        QStringLiteral("Source"), QStringLiteral("source_form"), QStringLiteral("source_docno"),
        QStringLiteral("date_created"), QStringLiteral("time_created"), QStringLiteral("user_created"),
    };
    return columns;
}

void bind_line(Params& params, const JournalStamp& stamp, int lineno, const JournalLine& line)
{
    params.insert(params.end(), {stamp.company, stamp.fkey, lineno, QStringLiteral("gl"), stamp.docno, stamp.gldate,
                                 stamp.period.period, stamp.period.fiscal_year, line.account});
    for (const QString& code : line.codes)
        params.emplace_back(code.isEmpty() ? SqlValue(std::nullopt) : SqlValue(code));
    params.insert(params.end(), {line.amount, line.base_amount, line.percent, line.currency, line.exchange_rate,
                                 line.ledgertype, line.vendor_no.isEmpty() ? SqlValue(std::nullopt) : line.vendor_no,
                                 stamp.source, stamp.source_form, stamp.source_docno, stamp.date_created,
                                 stamp.time_created, stamp.user});
}

} // namespace

std::expected<void, Error> insert_journal_header(Database& db, const JournalStamp& stamp, const JournalHeaderText& text)
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
        .set(u"date_created", stamp.date_created)
        .set(u"time_created", stamp.time_created)
        .set(u"user_created", stamp.user)
        .execute(db);
}

std::expected<void, Error> insert_journal_lines(Database& db, const JournalStamp& stamp,
                                                const std::vector<JournalLine>& lines)
{
    const QString one_row = u'(' + placeholder_list(line_columns().size()) + u')';
    const QString insert = QStringLiteral("INSERT INTO GL_transaction_table (") + line_columns().join(QStringLiteral(", "))
        + QStringLiteral(") VALUES ");
    for (size_t first = 0; first < lines.size(); first += LinesPerStatement) {
        const size_t end = std::min(lines.size(), first + LinesPerStatement);
        QStringList rows;
        Params params;
        params.reserve((end - first) * static_cast<size_t>(line_columns().size()));
        for (size_t i = first; i < end; ++i) {
            rows << one_row;
            bind_line(params, stamp, static_cast<int>(i) + 1, lines[i]);
        }
        if (auto done = db.execute(insert + rows.join(QStringLiteral(", ")), params); !done)
            return std::unexpected(done.error());
    }
    return {};
}

} // namespace zelkor
