#include "host/active_report_pdf.h"

#include "core/db/row.h"
#include "core/fiscal_periods.h"
#include "windows/print/active_report.h"
#include "windows/print/document_pdf_writer.h"
#include "windows/print/report_format.h"

#include <algorithm>

namespace zelkor::host {

namespace {

constexpr int PixelsPerCharacter = 7;
constexpr int MinimumColumnPixels = 40;
constexpr int MaximumColumnPixels = 320;

/// Amounts print as "#,##0.00"; values with more decimals (rates, unit costs) print whole.
QString printed_value(const Row& row, int column, const QString& date_format)
{
    const QString text = Row::to_text(row.value(column));
    // Dates show in the user's format: PostgreSQL says the column is a date, SQLite only holds
    // the ISO text, so its date columns are known by name.
    const bool date_column = row.column_type(column) == QMetaType::QDate
        || row.column_name(column).endsWith(QLatin1String("date"), Qt::CaseInsensitive);
    if (!date_format.isEmpty() && date_column && Row::to_date(row.value(column)).isValid())
        return format_user_date(Row::to_date(row.value(column)), date_format);
    if (!row.is_number(column) || text.isEmpty())
        return text;
    const Decimal value = Row::to_decimal(row.value(column));
    // Whole-number columns (line numbers, flags) by their declared type: SQLite hands a whole
    // amount back as an integer value.
    const int type = row.column_type(column);
    if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt || type == QMetaType::ULongLong
        || type == QMetaType::Bool)
        return value.to_string();
    return value.round2() == value ? value.format(2) : value.to_string();
}

/// A column name as a heading that can wrap between its words: "price_include_tax".
QString heading_of(const QString& name)
{
    return QString(name).replace(u'_', u' ');
}

/// The width a heading needs when it wraps between words: its longest word.
int longest_word(const QString& heading)
{
    int longest = 0;
    for (const QString& word : heading.split(u' ', Qt::SkipEmptyParts))
        longest = std::max(longest, int(word.size()));
    return longest;
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

PrintList print_list_of_rows(const Rows& rows, const QString& title, const QString& date_format)
{
    PrintList list;
    list.title = title;
    if (rows.empty())
        return list;
    const Row& first = rows.front();
    for (int column = 0; column < first.size(); ++column) {
        const QString heading = heading_of(first.column_name(column));
        int longest = longest_word(heading);
        bool numbers = true;
        for (const Row& row : rows) {
            longest = std::max(longest, int(printed_value(row, column, date_format).size()));
            numbers = numbers && (row.value(column).isNull() || row.is_number(column));
        }
        const int width = std::clamp(longest * PixelsPerCharacter + 10, MinimumColumnPixels, MaximumColumnPixels);
        list.columns.push_back({heading, width, numbers ? Qt::AlignRight : Qt::AlignLeft});
    }
    for (const Row& row : rows) {
        PrintRow printed;
        for (int column = 0; column < row.size(); ++column)
            printed.cells << printed_value(row, column, date_format);
        list.rows.push_back(std::move(printed));
    }
    return list;
}

PrintList print_document_of_rows(const Rows& rows, const QString& title, const QString& date_format)
{
    PrintList list = print_list_of_rows(rows, title, date_format);
    if (rows.empty())
        return list;
    const Row& first = rows.front();
    int lines_from = -1;
    for (int column = 0; column < first.size() && lines_from < 0; ++column)
        if (first.column_name(column).compare(QLatin1String("itemno"), Qt::CaseInsensitive) == 0)
            lines_from = column;
    if (lines_from <= 0)
        return list;
    QStringList shown;
    for (int column = 0; column < lines_from; ++column) {
        const QString label = heading_of(first.column_name(column));
        if (shown.contains(label, Qt::CaseInsensitive))
            continue;
        shown << label;
        list.fields.emplace_back(label, printed_value(first, column, date_format));
    }
    // The line columns, less those empty on every line: a document's page has no room to spare.
    std::vector<PrintColumn> columns;
    QList<int> kept;
    for (int column = lines_from; column < int(list.columns.size()); ++column) {
        const bool empty = std::all_of(list.rows.begin(), list.rows.end(),
                                       [column](const PrintRow& row) { return row.cells.value(column).isEmpty(); });
        if (!empty) {
            columns.push_back(list.columns[size_t(column)]);
            kept << column;
        }
    }
    list.columns = std::move(columns);
    for (PrintRow& row : list.rows) {
        QStringList cells;
        for (int column : kept)
            cells << row.cells.value(column);
        row.cells = cells;
    }
    return list;
}

[[nodiscard]] std::expected<ReportFile, Error> print_active_report(Database& db, const ActiveReportRequest& request)
{
    auto rows = run_active_report(db, request.query, request.argument);
    if (!rows)
        return std::unexpected(rows.error());
    auto format = report_format_or_default(db, request.user, request.form_name);
    if (!format)
        return std::unexpected(format.error());
    const ActiveReportArgument argument = parse_active_report_argument(request.argument);
    const QString title = QStringList{argument.title, argument.docno}.join(u' ').simplified();
    if (const auto layout = find_document_layout(argument.title)) {
        auto document = read_printed_document(db, *layout, *rows, argument.docno, request.date_format);
        if (!document)
            return std::unexpected(document.error());
        document->print_date = request.print_date;
        return write_user_document(*document, *format, request.data_path, file_stem(title));
    }
    PrintList list = print_document_of_rows(*rows, title.isEmpty() ? QStringLiteral("Report") : title, request.date_format);
    list.print_date = request.print_date;
    return write_user_report(list, *format, request.data_path, file_stem(list.title));
}

} // namespace zelkor::host
