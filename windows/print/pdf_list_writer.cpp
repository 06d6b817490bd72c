#include "windows/print/pdf_list_writer.h"

#include "core/clock.h"
#include "windows/base/grid.h"
#include "windows/print/report_text.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace zelkor {

namespace {

constexpr qreal PointsPerPixel = 0.75; // grid widths are screen pixels at 96 an inch
constexpr qreal DefaultColumnPoints = 72;
constexpr qreal TitleScale = 1.5;
constexpr qreal LinePoints = 0.5;
const QColor HeadingBackground(0xe4, 0xe4, 0xe4);

/// A column placed on a page: its index in the list and its left edge and width in points,
/// measured from the left margin.
struct PlacedColumn {
    int index = 0;
    qreal left = 0;
    qreal width = 0;
};
/// The columns that share one page across.
using Slice = std::vector<PlacedColumn>;

qreal natural_width(const PrintColumn& column)
{
    return column.width > 0 ? column.width * PointsPerPixel : DefaultColumnPoints;
}

std::vector<Slice> shrink_to_width(const std::vector<PrintColumn>& columns, qreal page_width)
{
    qreal total = 0;
    for (const PrintColumn& column : columns)
        total += natural_width(column);
    const qreal scale = page_width / total;
    Slice slice;
    qreal left = 0;
    for (int i = 0; i < int(columns.size()); ++i) {
        const qreal width = natural_width(columns[size_t(i)]) * scale;
        slice.push_back({i, left, width});
        left += width;
    }
    return {slice};
}

std::vector<Slice> continue_on_next_page(const std::vector<PrintColumn>& columns, qreal page_width)
{
    std::vector<Slice> slices(1);
    qreal left = 0;
    for (int i = 0; i < int(columns.size()); ++i) {
        const qreal width = std::min(natural_width(columns[size_t(i)]), page_width);
        if (left + width > page_width && !slices.back().empty()) {
            slices.emplace_back();
            left = 0;
        }
        slices.back().push_back({i, left, width});
        left += width;
    }
    return slices;
}

std::vector<Slice> place_columns(const std::vector<PrintColumn>& columns, qreal page_width, SplitPage split)
{
    return split == SplitPage::ContinueOnNextPage ? continue_on_next_page(columns, page_width)
                                                  : shrink_to_width(columns, page_width);
}

QFont no_shaping(QFont font)
{
    // Without shaping "fi" stays two glyphs, so the text can be searched and extracted.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont print_font_of(const ReportFormat& format)
{
    QFont font(format.font_name);
    font.setPointSizeF(format.font_size.to_double());
    font.setBold(format.bold);
    return no_shaping(font);
}

QString cell_text(const PrintList& list, int row, int column)
{
    const QStringList& cells = list.rows[size_t(row)].cells;
    if (column >= cells.size())
        return {};
    return apply_number_format(cells[column], list.columns[size_t(column)].format);
}

/// Lays a list out on pages and paints it. Geometry is kept in points and turned into the
/// writer's device units only when painting.
class ListPrinter {
public:
    ListPrinter(const PrintList& list, const ReportFormat& format, const QString& path);

    [[nodiscard]] std::expected<void, Error> print();

private:
    [[nodiscard]] std::expected<void, Error> lay_out();
    void draw_page(int block, const Slice& slice, int page_number);
    qreal draw_title_block();
    void draw_headings(const Slice& slice, qreal top);
    void draw_rows(int first, int last, const Slice& slice, qreal top);
    void draw_column_cells(int first, int last, const PlacedColumn& column, qreal top);
    void draw_dividers(const Slice& slice, qreal top, qreal bottom);
    void draw_page_number(int page_number);
    void text(const QRectF& points, const QString& text, Qt::Alignment alignment);
    QRectF device(const QRectF& points) const;
    qreal line_points(const QFont& font) const;
    int heading_lines() const;
    QFont column_font(const PrintColumn& column) const;
    QColor column_color(const PrintColumn& column) const;
    qreal slice_width(const Slice& slice) const;
    bool has_dates() const { return !m_list.transaction_date.isEmpty() || !m_list.until_date.isEmpty(); }
    int fields_per_line() const { return std::max(1, m_list.fields_per_line); }
    int field_lines() const { return int((m_list.fields.size() + size_t(fields_per_line()) - 1) / size_t(fields_per_line())); }

    const PrintList& m_list;
    const ReportFormat& m_format;
    QPdfWriter m_writer;
    QPainter m_painter;
    qreal m_units = 1; ///< device units a point
    QFont m_print_font, m_heading_font, m_title_font;
    QSizeF m_area;     ///< the page inside the margins, in points
    qreal m_row = 0;   ///< row height in points
    qreal m_title_block = 0;
    qreal m_heading = 0;
    int m_rows_per_page = 0;
    int m_blocks = 1;
    std::vector<Slice> m_slices;
};

ListPrinter::ListPrinter(const PrintList& list, const ReportFormat& format, const QString& path)
    : m_list(list), m_format(format), m_writer(path)
{
    m_print_font = print_font_of(format);
    m_heading_font = m_print_font;
    m_heading_font.setBold(true);
    m_title_font = m_heading_font;
    m_title_font.setPointSizeF(m_print_font.pointSizeF() * TitleScale);
    m_row = format.row_height.to_double();
    m_units = m_writer.resolution() / 72.0;
}

[[nodiscard]] std::expected<void, Error> ListPrinter::lay_out()
{
    if (m_list.columns.empty() && m_list.fields.empty())
        return std::unexpected(Error::invalid(QStringLiteral("No column is marked for printing.")));
    const QMarginsF margins(m_format.left_margin.to_double(), m_format.top_margin.to_double(),
                            m_format.right_margin.to_double(), m_format.bottom_margin.to_double());
    const QPageLayout layout(QPageSize(m_format.paper_points(), QPageSize::Point, QString(), QPageSize::ExactMatch),
                             m_format.orientation, margins, QPageLayout::Point);
    m_area = layout.paintRect(QPageLayout::Point).size();
    m_title_block = line_points(m_title_font) + m_row * ((has_dates() ? 2.5 : 1.5) + field_lines());
    m_slices = place_columns(m_list.columns, m_area.width(), split_page_of(m_format.split_page));
    m_heading = m_list.columns.empty() ? 0 : m_row * heading_lines();
    // Below the rows the last row of the page holds the page number.
    const qreal room_for_rows = m_area.height() - m_title_block - m_heading - m_row;
    m_rows_per_page = m_row > 0 ? int(std::floor(room_for_rows / m_row)) : 0;
    if (m_area.width() < m_row || m_rows_per_page < 1)
        return std::unexpected(Error::invalid(
            QStringLiteral("The page has no room for the list: reduce the margins or the row height.")));
    m_blocks = std::max(1, int((m_list.rows.size() + size_t(m_rows_per_page) - 1) / size_t(m_rows_per_page)));
    m_writer.setTitle(m_list.title);
    m_writer.setCreator(QStringLiteral("Zelkor"));
    m_writer.setPageLayout(layout);
    return {};
}

[[nodiscard]] std::expected<void, Error> ListPrinter::print()
{
    if (auto laid_out = lay_out(); !laid_out)
        return laid_out;
    if (!m_painter.begin(&m_writer))
        return std::unexpected(Error::invalid(QStringLiteral("Cannot write the report file.")));
    int page_number = 0;
    for (int block = 0; block < m_blocks; ++block)
        for (const Slice& slice : m_slices) {
            if (page_number > 0)
                m_writer.newPage();
            draw_page(block, slice, ++page_number);
        }
    if (!m_painter.end())
        return std::unexpected(Error::invalid(QStringLiteral("Cannot write the report file.")));
    return {};
}

void ListPrinter::draw_page(int block, const Slice& slice, int page_number)
{
    const qreal headings_top = draw_title_block();
    if (slice.empty()) {
        draw_page_number(page_number);
        return;
    }
    draw_headings(slice, headings_top);
    const int first = block * m_rows_per_page;
    const int last = std::min(int(m_list.rows.size()), first + m_rows_per_page);
    const qreal rows_top = headings_top + m_heading;
    draw_rows(first, last, slice, rows_top);
    if (m_format.column_divider)
        draw_dividers(slice, headings_top, rows_top + (last - first) * m_row);
    draw_page_number(page_number);
}

qreal ListPrinter::draw_title_block()
{
    m_painter.setPen(color_of_value(m_format.font_color));
    m_painter.setFont(m_title_font);
    const qreal title_height = line_points(m_title_font);
    text({0, 0, m_area.width(), title_height}, m_list.title, Qt::AlignHCenter);
    m_painter.setFont(m_print_font);
    const qreal half = m_area.width() / 2;
    text({0, title_height, half, m_row}, QStringLiteral("print : ") + m_list.print_date, Qt::AlignLeft);
    if (has_dates()) {
        text({0, title_height + m_row, half, m_row}, QStringLiteral("Transaction Date : ") + m_list.transaction_date,
             Qt::AlignLeft);
        text({half, title_height + m_row, half, m_row}, QStringLiteral("Until Date : ") + m_list.until_date,
             Qt::AlignLeft);
    }
    const qreal fields_top = title_height + m_row * (has_dates() ? 2 : 1);
    const int per_line = fields_per_line();
    const qreal field_width = m_area.width() / per_line;
    for (int i = 0; i < int(m_list.fields.size()); ++i) {
        const auto& [label, value] = m_list.fields[size_t(i)];
        const QRectF place((i % per_line) * field_width, fields_top + (i / per_line) * m_row, field_width, m_row);
        text(place, label + QStringLiteral(" : ") + value, Qt::AlignLeft);
    }
    return m_title_block;
}

void ListPrinter::draw_headings(const Slice& slice, qreal top)
{
    const qreal width = slice_width(slice);
    m_painter.fillRect(device({0, top, width, m_heading}), HeadingBackground);
    m_painter.setPen(QPen(Qt::black, LinePoints * m_units));
    m_painter.drawLine(device({0, top, width, 0}).topLeft(), device({0, top, width, 0}).topRight());
    m_painter.drawLine(device({0, top + m_heading, width, 0}).topLeft(), device({0, top + m_heading, width, 0}).topRight());
    m_painter.setFont(m_heading_font);
    m_painter.setPen(color_of_value(m_format.font_color));
    for (const PlacedColumn& column : slice)
        text({column.left, top, column.width, m_heading}, m_list.columns[size_t(column.index)].caption, Qt::AlignHCenter);
}

void ListPrinter::draw_rows(int first, int last, const Slice& slice, qreal top)
{
    if (!m_format.disabled_evenrow_color) {
        const QColor even = color_of_value(m_format.evenrow_color);
        // Rows count from one on the page, so the second, fourth, ... get the background.
        for (int row = first + 1; row < last; row += 2)
            m_painter.fillRect(device({0, top + (row - first) * m_row, slice_width(slice), m_row}), even);
    }
    for (const PlacedColumn& column : slice)
        draw_column_cells(first, last, column, top);
    m_painter.setPen(QPen(Qt::black, LinePoints * m_units));
    const QRectF bottom = device({0, top + (last - first) * m_row, slice_width(slice), 0});
    m_painter.drawLine(bottom.topLeft(), bottom.topRight());
}

void ListPrinter::draw_column_cells(int first, int last, const PlacedColumn& placed, qreal top)
{
    const PrintColumn& column = m_list.columns[size_t(placed.index)];
    const QFont font = column_font(column);
    m_painter.setFont(font);
    m_painter.setPen(column_color(column));
    for (int row = first; row < last; ++row) {
        const bool struck = m_list.rows[size_t(row)].struck_out;
        if (struck) {
            QFont struck_font = font;
            struck_font.setStrikeOut(true);
            m_painter.setFont(struck_font);
        }
        text({placed.left, top + (row - first) * m_row, placed.width, m_row}, cell_text(m_list, row, placed.index),
             column.alignment);
        if (struck)
            m_painter.setFont(font);
    }
}

void ListPrinter::draw_dividers(const Slice& slice, qreal top, qreal bottom)
{
    m_painter.setPen(QPen(Qt::black, LinePoints * m_units));
    for (const PlacedColumn& column : slice) {
        const QRectF line = device({column.left, top, 0, bottom - top});
        m_painter.drawLine(line.topLeft(), line.bottomLeft());
    }
    const QRectF last = device({slice_width(slice), top, 0, bottom - top});
    m_painter.drawLine(last.topLeft(), last.bottomLeft());
}

void ListPrinter::draw_page_number(int page_number)
{
    m_painter.setFont(m_print_font);
    m_painter.setPen(color_of_value(m_format.font_color));
    const int pages = m_blocks * int(m_slices.size());
    text({0, m_area.height() - m_row, m_area.width(), m_row},
         QStringLiteral("Page %1 of %2").arg(page_number).arg(pages), Qt::AlignHCenter);
}

void ListPrinter::text(const QRectF& points, const QString& content, Qt::Alignment alignment)
{
    draw_text_cell(m_painter, device(points), content, alignment);
}

QRectF ListPrinter::device(const QRectF& points) const
{
    return {points.x() * m_units, points.y() * m_units, points.width() * m_units, points.height() * m_units};
}

qreal ListPrinter::line_points(const QFont& font) const
{
    return QFontMetricsF(font, &m_writer).lineSpacing() / m_units;
}

int ListPrinter::heading_lines() const
{
    const QFontMetricsF metrics(m_heading_font, &m_writer);
    for (const Slice& slice : m_slices)
        for (const PlacedColumn& column : slice) {
            const qreal room = column.width - 2 * CellPaddingPoints;
            if (metrics.horizontalAdvance(m_list.columns[size_t(column.index)].caption) / m_units > room)
                return 2;
        }
    return 1;
}

QFont ListPrinter::column_font(const PrintColumn& column) const
{
    if (m_format.use_grid_font && column.font)
        return no_shaping(*column.font);
    return m_print_font;
}

QColor ListPrinter::column_color(const PrintColumn& column) const
{
    if (m_format.use_grid_font && column.color.isValid())
        return column.color;
    return color_of_value(m_format.font_color);
}

qreal ListPrinter::slice_width(const Slice& slice) const
{
    return slice.empty() ? 0 : slice.back().left + slice.back().width;
}

} // namespace

[[nodiscard]] std::expected<void, Error> write_list_pdf(const PrintList& list, const ReportFormat& format, const QString& path)
{
    std::expected<void, Error> written;
    {
        ListPrinter printer(list, format, path);
        written = printer.print();
    }
    if (!written)
        QFile::remove(path);
    return written;
}

[[nodiscard]] std::expected<QString, Error> user_report_folder(const QString& data_path)
{
    if (data_path.trimmed().isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("The data path is not set.")));
    const QString folder = QDir(data_path).filePath(QStringLiteral("User report"));
    if (!QDir().mkpath(folder))
        return std::unexpected(Error::invalid(QStringLiteral("Cannot create the folder ") + QDir::toNativeSeparators(folder)));
    return folder;
}

QString report_file_name(const QString& stem, const QTime& time, QPageLayout::Orientation orientation)
{
    return stem + time.toString(QStringLiteral("hhmmss"))
           + (orientation == QPageLayout::Landscape ? QStringLiteral("_L.pdf") : QStringLiteral(".pdf"));
}

[[nodiscard]] std::expected<ReportFile, Error>
write_into_user_reports(const QString& data_path, const QString& stem, QPageLayout::Orientation orientation,
                        const std::function<std::expected<void, Error>(const QString& path)>& write)
{
    auto folder = user_report_folder(data_path);
    if (!folder)
        return std::unexpected(folder.error());
    const QString path = QDir(*folder).filePath(report_file_name(stem, Clock::time_of_day(), orientation));
    if (auto written = write(path); !written)
        return std::unexpected(written.error());
    return ReportFile{QDir::toNativeSeparators(path), orientation == QPageLayout::Landscape
                                                          ? QStringLiteral("pdf viewer landscape")
                                                          : QStringLiteral("pdf viewer")};
}

[[nodiscard]] std::expected<ReportFile, Error> write_user_report(const PrintList& list, const ReportFormat& format,
                                                   const QString& data_path, const QString& stem)
{
    return write_into_user_reports(data_path, stem, format.orientation,
                                   [&](const QString& path) { return write_list_pdf(list, format, path); });
}

} // namespace zelkor
