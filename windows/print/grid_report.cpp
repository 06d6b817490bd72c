#include "windows/print/grid_report.h"

#include "core/clock.h"
#include "core/fiscal_periods.h"
#include "windows/base/grid.h"
#include "windows/print/report_format.h"
#include "windows/print/report_text.h"

#include <QDir>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace zelkor {

namespace {

const QString DefaultDateFormat = QStringLiteral("dd/mm/yyyy");

PrintColumn print_column_of(const GridColumn& source, const ColumnLayout* stored)
{
    PrintColumn column{source.caption, source.width, source.alignment & Qt::AlignHorizontal_Mask};
    if (source.kind == FieldKind::Number && (source.alignment & Qt::AlignHorizontal_Mask) == Qt::AlignLeft)
        column.alignment = Qt::AlignRight;
    if (!stored)
        return column;
    if (!stored->heading.isEmpty())
        column.caption = stored->heading;
    if (stored->width > 0)
        column.width = twips_to_pixels(stored->width);
    if (stored->alignment)
        column.alignment = *stored->alignment & Qt::AlignHorizontal_Mask;
    column.format = stored->number_format;
    column.font = font_of(stored->font);
    if (stored->font.colour)
        column.color = color_of_value(*stored->font.colour);
    return column;
}

} // namespace

PrintedColumns printed_columns(const Grid& grid, const GridLayout* layout, const PrintColumnChoice& printed)
{
    std::vector<int> order;
    for (int column = 0; column < grid.column_count(); ++column)
        if (printed ? printed(column) : !grid.column(column).hidden)
            order.push_back(column);
    const auto position = [layout](int column) {
        const ColumnLayout* stored = layout ? layout->column(column) : nullptr;
        return stored ? stored->position : column;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return position(a) < position(b); });
    PrintedColumns result;
    for (int column : order) {
        result.indexes.push_back(column);
        result.columns.push_back(print_column_of(grid.column(column), layout ? layout->column(column) : nullptr));
    }
    return result;
}

PrintRow printed_row(const QStringList& cells, const PrintedColumns& columns)
{
    PrintRow row;
    for (int index : columns.indexes)
        row.cells << cells.value(index);
    return row;
}

PrintList print_list_of_grid(const Grid& grid, const GridLayout* layout, const QString& title)
{
    PrintList list;
    list.title = title;
    const PrintedColumns columns = printed_columns(grid, layout);
    list.columns = columns.columns;
    list.rows.reserve(size_t(grid.row_count()));
    for (int row = 0; row < grid.row_count(); ++row) {
        list.rows.push_back(printed_row(grid.rows()[size_t(row)], columns));
        list.rows.back().struck_out = grid.row_struck_out(row);
    }
    return list;
}

void fit_widths_to_text(PrintList& list, const ReportFormat& format)
{
    // Widths are screen pixels at 96 an inch, as the font metrics of the screen measure them.
    constexpr qreal Padding = 12;
    constexpr int MinimumPixels = 30;
    constexpr int MaximumPixels = 400;
    QFont font(format.font_name);
    font.setPointSizeF(format.font_size.to_double());
    font.setBold(format.bold);
    QFont heading_font = font;
    heading_font.setBold(true);
    const QFontMetricsF cells(font);
    const QFontMetricsF headings(heading_font);
    for (size_t index = 0; index < list.columns.size(); ++index) {
        PrintColumn& column = list.columns[index];
        if (column.width > 0)
            continue;
        qreal widest = 0;
        for (const QString& word : column.caption.split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, headings.horizontalAdvance(word));
        // Measuring every cell of a long list costs more than printing it: the longest texts
        // are the widest, give or take a wide letter, so a few of them are measured.
        constexpr size_t Measured = 8;
        std::vector<QString> longest;
        for (const PrintRow& row : list.rows) {
            const QString text = row.cells.value(int(index));
            if (longest.size() == Measured && text.size() <= longest.back().size())
                continue;
            longest.insert(std::upper_bound(longest.begin(), longest.end(), text,
                                            [](const QString& a, const QString& b) { return a.size() > b.size(); }),
                           text);
            if (longest.size() > Measured)
                longest.pop_back();
        }
        for (const QString& text : longest)
            widest = std::max(widest, cells.horizontalAdvance(apply_number_format(text, column.format)));
        column.width = std::clamp(int(std::ceil(widest + Padding)), MinimumPixels, MaximumPixels);
    }
}

[[nodiscard]] std::expected<ReportFile, Error> write_window_report(Database& db, const HostSettings& settings,
                                                                   const QString& form_name, PrintList list,
                                                                   const QString& stem, ListWidths widths)
{
    auto format = report_format_or_default(db, settings.ZELKOR_USER, form_name);
    if (!format)
        return std::unexpected(format.error());
    if (widths == ListWidths::FitToText) {
        fit_widths_to_text(list, *format);
        if (format->split_page.trimmed().isEmpty())
            format->split_page = split_page_choices().at(1);
    }
    const QString& date_format = settings.ZELKOR_DATE_FORMAT.isEmpty() ? DefaultDateFormat : settings.ZELKOR_DATE_FORMAT;
    list.print_date = format_user_date(Clock::today(), date_format);
    return write_user_report(list, *format, settings.ZELKOR_PATH, stem);
}

QString help_document_path(const QString& installation_folder, const QString& file)
{
    return QDir::toNativeSeparators(QDir(installation_folder).filePath(QStringLiteral("Help/") + file));
}

} // namespace zelkor
