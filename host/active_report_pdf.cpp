#include "host/active_report_pdf.h"

#include "forms/common/active_report.h"
#include "forms/common/report_format.h"
#include "services/row.h"

#include <algorithm>

namespace zelkor::host {

namespace {

constexpr int PixelsPerCharacter = 7;
constexpr int MinimumColumnPixels = 40;
constexpr int MaximumColumnPixels = 320;

bool is_number(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

/// The title as a file name stem: "Purchase Order PO-26-00001" -> "purchase_order_po-26-00001_".
QString file_stem(const QString& title)
{
    QString stem;
    for (const QChar c : title.simplified().toLower())
        stem += c.isLetterOrNumber() || c == u'-' ? c : u'_';
    return (stem.isEmpty() ? QStringLiteral("report") : stem) + u'_';
}

} // namespace

PrintList print_list_of_rows(const Rows& rows, const QString& title)
{
    PrintList list;
    list.title = title;
    if (rows.empty())
        return list;
    const Row& first = rows.front();
    for (int column = 0; column < first.size(); ++column) {
        const QString heading = first.column_name(column);
        int longest = int(heading.size());
        bool numbers = true;
        for (const Row& row : rows) {
            longest = std::max(longest, int(Row::to_text(row.value(column)).size()));
            numbers = numbers && (row.value(column).isNull() || is_number(row.value(column)));
        }
        const int width = std::clamp(longest * PixelsPerCharacter + 10, MinimumColumnPixels, MaximumColumnPixels);
        list.columns.push_back({heading, width, numbers ? Qt::AlignRight : Qt::AlignLeft});
    }
    for (const Row& row : rows) {
        PrintRow printed;
        for (int column = 0; column < row.size(); ++column)
            printed.cells << Row::to_text(row.value(column));
        list.rows.push_back(std::move(printed));
    }
    return list;
}

std::expected<ReportFile, Error> print_active_report(Database& db, const ActiveReportRequest& request)
{
    auto rows = run_active_report(db, request.query, request.argument);
    if (!rows)
        return std::unexpected(rows.error());
    auto format = report_format_or_default(db, request.user, request.form_name);
    if (!format)
        return std::unexpected(format.error());
    const ActiveReportArgument argument = parse_active_report_argument(request.argument);
    const QString title = QStringList{argument.title, argument.docno}.join(u' ').simplified();
    PrintList list = print_list_of_rows(*rows, title.isEmpty() ? QStringLiteral("Report") : title);
    list.print_date = request.print_date;
    return write_user_report(list, *format, request.data_path, file_stem(list.title));
}

} // namespace zelkor::host
