#include "windows/print/active_report.h"

namespace zelkor {

QString active_report_argument(const QString& title, const QString& docno)
{
    return title + u',' + docno + u',';
}

ActiveReportArgument parse_active_report_argument(const QString& argument)
{
    const QStringList parts = argument.split(u',');
    return {parts.value(0), parts.value(1)};
}

[[nodiscard]] std::expected<Rows, Error> run_active_report(Database& db, const QString& query, const QString& argument)
{
    const QString trimmed = query.trimmed();
    if (!trimmed.startsWith(QStringLiteral("SELECT "), Qt::CaseInsensitive) || trimmed.contains(u';'))
        return std::unexpected(Error::invalid(QStringLiteral("a report runs a single SELECT query")));
    const QString docno = parse_active_report_argument(argument).docno;
    Params params(static_cast<size_t>(trimmed.count(u'?')), SqlValue(docno));
    return db.select(trimmed, params);
}

} // namespace zelkor
