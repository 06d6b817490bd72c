#include "windows/print/document_pdf_writer.h"

#include "windows/print/report_text.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace zelkor {

namespace {

constexpr qreal TitleScale = 1.8;
constexpr qreal CompanyScale = 1.4;
constexpr qreal FontStepPoints = 0.5;
constexpr qreal LinePoints = 0.5;
constexpr qreal BlockGapLines = 0.8;   ///< the space between blocks, in lines of the print font
constexpr qreal CellPaddingLines = 0.2; ///< the space above and below a table row's text
/// The room a cell keeps on each side of its text: wider than a list's, so that numbers side
/// by side (unit cost, amount, tax code) read apart.
constexpr qreal CellPaddingSidePoints = 3.5;
constexpr int FactColumnsMost = 4;
constexpr int ReadableDescriptionCharacters = 30;
constexpr int SmallestDescriptionCharacters = 12;
constexpr int SmallestTextCharacters = 4;
const QColor HeadingBackground(0xe4, 0xe4, 0xe4);
const QColor BlockFrame(0x90, 0x90, 0x90);
const QColor VoidColour(200, 0, 0, 80);

QFont no_shaping(QFont font)
{
    // Without shaping "fi" stays two glyphs, so the text can be searched and extracted.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont scaled(const QFont& font, qreal scale, bool bold)
{
    QFont result = font;
    result.setPointSizeF(font.pointSizeF() * scale);
    result.setBold(bold);
    return result;
}

/// The first characters of `word` that fit `width` (at least one, so that wrapping advances).
qsizetype fitting_characters(const QString& word, const QFontMetricsF& metrics, qreal width)
{
    qsizetype fits = 1;
    while (fits < word.size() && metrics.horizontalAdvance(word.left(fits + 1)) <= width)
        ++fits;
    return fits;
}

/// Breaks a text into lines no wider than `width`: at spaces where it can, inside a word only
/// when the word alone is wider. Nothing is ever dropped or elided.
QStringList wrapped(const QString& text, const QFontMetricsF& metrics, qreal width)
{
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QString line;
        for (QString word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + u' ' + word;
            if (metrics.horizontalAdvance(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            while (word.size() > 1 && metrics.horizontalAdvance(word) > width) {
                const qsizetype fits = fitting_characters(word, metrics, width);
                lines << word.left(fits);
                word = word.mid(fits);
            }
            line = word;
        }
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

qreal widest_word(const QString& text, const QFontMetricsF& metrics)
{
    qreal widest = 0;
    for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

/// The line table fitted to the page: its font, column widths and every cell's lines.
struct TableLayout {
    QFont font;
    QFont heading_font;
    std::vector<qreal> widths;
    std::vector<QStringList> headings;
    std::vector<std::vector<QStringList>> cells; ///< [row][column]
    std::vector<qreal> row_heights;
    qreal heading_height = 0;

    qreal left_of(int column) const { return std::accumulate(widths.begin(), widths.begin() + column, qreal(0)); }
    qreal width() const { return std::accumulate(widths.begin(), widths.end(), qreal(0)); }
};

/// What one page holds.
struct PagePlan {
    bool head = false;  ///< letterhead, title, facts and addresses (the first page)
    bool table = false; ///< the table headings and rows first_row .. end_row - 1
    int first_row = 0;
    int end_row = 0;
    bool tail = false;  ///< totals and notes
};

/// Lays a document out on pages and paints it, in the writer's device units.
class DocumentPrinter {
public:
    DocumentPrinter(const PrintedDocument& document, const ReportFormat& format, const QString& path);

    [[nodiscard]] std::expected<void, Error> print();

private:
    [[nodiscard]] std::expected<void, Error> set_up_page();
    void fit_table();
    std::vector<qreal> natural_widths(const QFont& font, const QFont& heading_font) const;
    bool fits_with_wrapped_descriptions(const std::vector<qreal>& widths, const QFontMetricsF& metrics) const;
    void narrow_text_columns(std::vector<qreal>& widths, const QFontMetricsF& metrics) const;
    void wrap_table();
    void plan_pages();

    qreal head_height() const;
    qreal letterhead_height() const;
    qreal facts_height() const;
    qreal addresses_height() const;
    qreal running_head_height() const;
    qreal tail_height() const;
    qreal totals_height() const;
    qreal notes_height() const;
    qreal footer_height() const;
    int fact_columns() const;

    void draw_page(const PagePlan& page, int number);
    qreal draw_head();
    qreal draw_letterhead(qreal top);
    qreal draw_facts(qreal top);
    qreal draw_addresses(qreal top);
    qreal draw_running_head();
    qreal draw_headings(qreal top);
    qreal draw_rows(const PagePlan& page, qreal top);
    void draw_dividers(qreal top, qreal bottom);
    qreal draw_totals(qreal top);
    qreal draw_notes(qreal top);
    void draw_footer(int number);
    void draw_void_mark();
    /// Draws lines of text from `top` in a box `width` wide at `left`, aligned as asked; gives
    /// the height they took.
    qreal draw_lines(const QStringList& lines, const QFont& font, qreal left, qreal top, qreal width, Qt::Alignment alignment);
    void draw_rule(qreal top, qreal left, qreal width);

    QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, &m_writer); }
    qreal line(const QFont& font) const { return metrics(font).lineSpacing(); }
    qreal gap() const { return line(m_font) * BlockGapLines; }
    qreal padding() const { return CellPaddingSidePoints * m_units; }
    QColor text_colour() const { return color_of_value(m_format.font_color); }

    const PrintedDocument& m_document;
    const ReportFormat& m_format;
    QPdfWriter m_writer;
    QPainter m_painter;
    qreal m_units = 1; ///< device units a point
    QSizeF m_area;     ///< the page inside the margins
    QFont m_font, m_bold, m_title, m_company;
    TableLayout m_table;
    std::vector<PagePlan> m_pages;
};

DocumentPrinter::DocumentPrinter(const PrintedDocument& document, const ReportFormat& format, const QString& path)
    : m_document(document), m_format(format), m_writer(path)
{
    m_font = QFont(format.font_name);
    m_font.setPointSizeF(format.font_size.to_double());
    m_font.setBold(format.bold);
    m_font = no_shaping(m_font);
    m_bold = scaled(m_font, 1, true);
    m_title = scaled(m_font, TitleScale, true);
    m_company = scaled(m_font, CompanyScale, true);
    m_units = m_writer.resolution() / 72.0;
}

[[nodiscard]] std::expected<void, Error> DocumentPrinter::set_up_page()
{
    const QMarginsF margins(m_format.left_margin.to_double(), m_format.top_margin.to_double(),
                            m_format.right_margin.to_double(), m_format.bottom_margin.to_double());
    const QPageLayout layout(QPageSize(m_format.paper_points(), QPageSize::Point, QString(), QPageSize::ExactMatch),
                             m_format.orientation, margins, QPageLayout::Point);
    m_writer.setPageLayout(layout);
    m_writer.setTitle(m_document.title + u' ' + m_document.number);
    m_writer.setCreator(QStringLiteral("Zelkor"));
    m_area = layout.paintRectPixels(m_writer.resolution()).size();
    if (m_area.width() < line(m_font) * 20 || m_area.height() < head_height() + footer_height() + line(m_font) * 4)
        return std::unexpected(Error::invalid(
            QStringLiteral("The page has no room for the document: reduce the margins or the font size.")));
    return {};
}

[[nodiscard]] std::expected<void, Error> DocumentPrinter::print()
{
    if (auto ready = set_up_page(); !ready)
        return ready;
    fit_table();
    wrap_table();
    plan_pages();
    if (!m_painter.begin(&m_writer))
        return std::unexpected(Error::invalid(QStringLiteral("Cannot write the document file.")));
    for (int page = 0; page < int(m_pages.size()); ++page) {
        if (page > 0)
            m_writer.newPage();
        draw_page(m_pages[size_t(page)], page + 1);
    }
    if (!m_painter.end())
        return std::unexpected(Error::invalid(QStringLiteral("Cannot write the document file.")));
    return {};
}

// Fitting the table ---------------------------------------------------------------------------------

std::vector<qreal> DocumentPrinter::natural_widths(const QFont& font, const QFont& heading_font) const
{
    const QFontMetricsF cell_metrics = metrics(font);
    const QFontMetricsF heading_metrics = metrics(heading_font);
    std::vector<qreal> widths;
    for (int column = 0; column < int(m_document.columns.size()); ++column) {
        qreal widest = widest_word(m_document.columns[size_t(column)].heading, heading_metrics);
        for (const QStringList& line : m_document.lines)
            widest = std::max(widest, cell_metrics.horizontalAdvance(line.value(column)));
        widths.push_back(std::ceil(widest + 2 * padding()));
    }
    return widths;
}

void DocumentPrinter::fit_table()
{
    // The table keeps the print font while it fits; otherwise it shrinks step by step to the
    // floor, and only then do texts wrap. Numbers keep their width throughout.
    const qreal base = m_font.pointSizeF();
    const qreal floor = std::min(base, SmallestTablePoints);
    for (qreal size = base;; size = std::max(floor, size - FontStepPoints)) {
        m_table.font = scaled(m_font, size / base, m_font.bold());
        m_table.heading_font = scaled(m_table.font, 1, true);
        m_table.widths = natural_widths(m_table.font, m_table.heading_font);
        if (fits_with_wrapped_descriptions(m_table.widths, metrics(m_table.font)) || size <= floor)
            break;
    }
    if (m_table.width() > m_area.width())
        narrow_text_columns(m_table.widths, metrics(m_table.font));
    // Room to spare goes to the description, so the table spans the page.
    const qreal spare = m_area.width() - m_table.width();
    for (int column = 0; column < int(m_document.columns.size()) && spare > 0; ++column)
        if (m_document.columns[size_t(column)].value == LineValue::Description) {
            m_table.widths[size_t(column)] += spare;
            break;
        }
}

bool DocumentPrinter::fits_with_wrapped_descriptions(const std::vector<qreal>& widths, const QFontMetricsF& metrics) const
{
    // A long description wraps rather than shrinking the whole table; only the other columns
    // and a readable width of description have to fit across.
    const qreal readable = ReadableDescriptionCharacters * metrics.averageCharWidth() + 2 * padding();
    qreal needed = 0;
    for (size_t column = 0; column < widths.size(); ++column)
        needed += m_document.columns[column].value == LineValue::Description ? std::min(widths[column], readable) : widths[column];
    return needed <= m_area.width();
}

void DocumentPrinter::narrow_text_columns(std::vector<qreal>& widths, const QFontMetricsF& metrics) const
{
    const auto& columns = m_document.columns;
    qreal numbers = 0;
    qreal texts = 0;
    for (size_t column = 0; column < columns.size(); ++column)
        (columns[column].numeric() ? numbers : texts) += widths[column];
    qreal excess = numbers + texts - m_area.width();
    const qreal character = metrics.averageCharWidth();
    // Descriptions give way first, down to a readable width.
    for (size_t column = 0; column < columns.size() && excess > 0; ++column)
        if (columns[column].value == LineValue::Description) {
            const qreal least = std::min(widths[column], SmallestDescriptionCharacters * character + 2 * padding());
            const qreal taken = std::min(excess, widths[column] - least);
            widths[column] -= taken;
            excess -= taken;
        }
    // Then the other texts, each in proportion to its width.
    qreal other_texts = 0;
    for (size_t column = 0; column < columns.size(); ++column)
        if (!columns[column].numeric() && columns[column].value != LineValue::Description)
            other_texts += widths[column];
    if (excess <= 0 || other_texts <= 0)
        return;
    const qreal keep = std::max(0.0, (other_texts - excess) / other_texts);
    for (size_t column = 0; column < columns.size(); ++column)
        if (!columns[column].numeric() && columns[column].value != LineValue::Description)
            widths[column] = std::max(widths[column] * keep, SmallestTextCharacters * character + 2 * padding());
}

void DocumentPrinter::wrap_table()
{
    const QFontMetricsF cell_metrics = metrics(m_table.font);
    const QFontMetricsF heading_metrics = metrics(m_table.heading_font);
    const qreal vertical = cell_metrics.lineSpacing() * CellPaddingLines;
    int heading_lines = 1;
    for (size_t column = 0; column < m_document.columns.size(); ++column) {
        const qreal room = m_table.widths[column] - 2 * padding();
        m_table.headings.push_back(wrapped(m_document.columns[column].heading, heading_metrics, room));
        heading_lines = std::max(heading_lines, int(m_table.headings.back().size()));
    }
    m_table.heading_height = heading_lines * heading_metrics.lineSpacing() + 2 * vertical;
    for (const QStringList& line : m_document.lines) {
        std::vector<QStringList> cells;
        int lines = 1;
        for (size_t column = 0; column < m_document.columns.size(); ++column) {
            const QString text = line.value(int(column));
            const qreal room = m_table.widths[column] - 2 * padding();
            cells.push_back(m_document.columns[column].numeric() ? QStringList{text} : wrapped(text, cell_metrics, room));
            lines = std::max(lines, int(cells.back().size()));
        }
        m_table.cells.push_back(std::move(cells));
        m_table.row_heights.push_back(lines * cell_metrics.lineSpacing() + 2 * vertical);
    }
}

void DocumentPrinter::plan_pages()
{
    const qreal bottom = m_area.height() - footer_height();
    const int rows = int(m_table.row_heights.size());
    PagePlan page{true};
    qreal top = head_height();
    const auto next_page = [&] {
        m_pages.push_back(page);
        page = PagePlan{};
        top = running_head_height();
    };
    int row = 0;
    while (row < rows) {
        if (!page.table) {
            if (top + m_table.heading_height + m_table.row_heights[size_t(row)] > bottom && (page.head || page.end_row > 0)) {
                next_page();
                continue;
            }
            page.table = true;
            page.first_row = page.end_row = row;
            top += m_table.heading_height;
        }
        const qreal height = m_table.row_heights[size_t(row)];
        // A row taller than a whole page still goes on one: it is the only one there.
        if (top + height > bottom && page.end_row > page.first_row) {
            next_page();
            continue;
        }
        top += height;
        page.end_row = ++row;
    }
    if (top + tail_height() > bottom)
        next_page();
    page.tail = true;
    m_pages.push_back(page);
}

// Heights of the blocks ----------------------------------------------------------------------------

qreal DocumentPrinter::head_height() const
{
    return letterhead_height() + gap() + facts_height() + addresses_height() + gap();
}

qreal DocumentPrinter::letterhead_height() const
{
    const qreal half = m_area.width() / 2;
    const QStringList& head = m_document.letterhead;
    qreal left = 0;
    for (int index = 0; index < head.size(); ++index) {
        const QFont& font = index == 0 ? m_company : m_font;
        left += wrapped(head[index], metrics(font), half).size() * line(font);
    }
    const qreal right = wrapped(m_document.title, metrics(m_title), half).size() * line(m_title)
                        + wrapped(QStringLiteral("No. ") + m_document.number, metrics(m_bold), half).size() * line(m_bold);
    return std::max(left, right);
}

int DocumentPrinter::fact_columns() const
{
    const int by_width = int(m_area.width() / (metrics(m_font).averageCharWidth() * 24));
    return std::clamp(by_width, 1, FactColumnsMost);
}

qreal DocumentPrinter::facts_height() const
{
    if (m_document.facts.empty())
        return 0;
    const int columns = fact_columns();
    const qreal width = m_area.width() / columns - 2 * padding();
    qreal height = 0;
    for (size_t first = 0; first < m_document.facts.size(); first += size_t(columns)) {
        int lines = 1;
        for (size_t at = first; at < std::min(first + size_t(columns), m_document.facts.size()); ++at)
            lines = std::max(lines, int(wrapped(m_document.facts[at].second, metrics(m_font), width).size()));
        height += line(m_bold) + lines * line(m_font);
    }
    return height + gap();
}

qreal DocumentPrinter::addresses_height() const
{
    if (m_document.vendor.isEmpty() && m_document.ship_to.isEmpty())
        return 0;
    const qreal width = (m_area.width() - gap()) / 2 - 2 * padding();
    qreal lines = 0;
    for (const QStringList* block : {&m_document.vendor, &m_document.ship_to}) {
        qreal block_lines = 0;
        for (const QString& text : *block)
            block_lines += wrapped(text, metrics(m_font), width).size();
        lines = std::max(lines, block_lines);
    }
    return line(m_bold) + lines * line(m_font) + 2 * padding();
}

qreal DocumentPrinter::running_head_height() const { return line(m_bold) + gap(); }

qreal DocumentPrinter::tail_height() const { return gap() + totals_height() + notes_height(); }

qreal DocumentPrinter::totals_height() const { return m_document.totals.size() * line(m_bold) * 1.3; }

qreal DocumentPrinter::notes_height() const
{
    qreal height = 0;
    for (const auto& [label, text] : m_document.notes)
        height += gap() + line(m_bold) + wrapped(text, metrics(m_font), m_area.width()).size() * line(m_font);
    return height;
}

qreal DocumentPrinter::footer_height() const { return line(m_font) * 1.5; }

// Painting --------------------------------------------------------------------------------------

void DocumentPrinter::draw_page(const PagePlan& page, int number)
{
    qreal top = page.head ? draw_head() : draw_running_head();
    if (page.table) {
        const qreal headings_top = top;
        top = draw_headings(top);
        top = draw_rows(page, top);
        if (m_format.column_divider)
            draw_dividers(headings_top, top);
    }
    if (page.tail) {
        top = draw_totals(top + gap());
        draw_notes(top);
    }
    draw_footer(number);
    if (m_document.void_document)
        draw_void_mark();
}

qreal DocumentPrinter::draw_head()
{
    qreal top = draw_letterhead(0);
    draw_rule(top + gap() / 2, 0, m_area.width());
    top = draw_facts(top + gap());
    return draw_addresses(top) + gap();
}

qreal DocumentPrinter::draw_letterhead(qreal top)
{
    const qreal half = m_area.width() / 2;
    qreal left = top;
    const QStringList& head = m_document.letterhead;
    for (int index = 0; index < head.size(); ++index) {
        const QFont& font = index == 0 ? m_company : m_font;
        left += draw_lines(wrapped(head[index], metrics(font), half), font, 0, left, half, Qt::AlignLeft);
    }
    qreal right = top + draw_lines(wrapped(m_document.title, metrics(m_title), half), m_title, half, top, half, Qt::AlignRight);
    right += draw_lines(wrapped(QStringLiteral("No. ") + m_document.number, metrics(m_bold), half), m_bold, half, right,
                        half, Qt::AlignRight);
    return std::max(left, right);
}

qreal DocumentPrinter::draw_facts(qreal top)
{
    if (m_document.facts.empty())
        return top;
    const int columns = fact_columns();
    const qreal cell = m_area.width() / columns;
    const qreal width = cell - 2 * padding();
    for (size_t first = 0; first < m_document.facts.size(); first += size_t(columns)) {
        qreal lowest = top;
        for (size_t at = first; at < std::min(first + size_t(columns), m_document.facts.size()); ++at) {
            const auto& [label, value] = m_document.facts[at];
            const qreal left = (at - first) * cell + padding();
            qreal below = top + draw_lines(wrapped(label, metrics(m_bold), width), m_bold, left, top, width, Qt::AlignLeft);
            below += draw_lines(wrapped(value, metrics(m_font), width), m_font, left, below, width, Qt::AlignLeft);
            lowest = std::max(lowest, below);
        }
        top = lowest;
    }
    return top + gap();
}

qreal DocumentPrinter::draw_addresses(qreal top)
{
    const qreal height = addresses_height();
    if (height <= 0)
        return top;
    const qreal box = (m_area.width() - gap()) / 2;
    const std::pair<QString, const QStringList*> blocks[]{{QStringLiteral("Vendor"), &m_document.vendor},
                                                          {QStringLiteral("Ship to"), &m_document.ship_to}};
    for (int index = 0; index < 2; ++index) {
        // A document without a ship-to (a bill) leaves the box out rather than print it empty.
        if (blocks[index].second->isEmpty())
            continue;
        const qreal left = index * (box + gap());
        m_painter.setPen(QPen(BlockFrame, LinePoints * m_units));
        m_painter.drawRect(QRectF(left, top, box, height));
        const qreal width = box - 2 * padding();
        qreal below = top + padding();
        below += draw_lines({blocks[index].first}, m_bold, left + padding(), below, width, Qt::AlignLeft);
        for (const QString& text : *blocks[index].second)
            below += draw_lines(wrapped(text, metrics(m_font), width), m_font, left + padding(), below, width, Qt::AlignLeft);
    }
    return top + height;
}

qreal DocumentPrinter::draw_running_head()
{
    const QString text = m_document.title + u' ' + m_document.number + QStringLiteral(" (continued)");
    draw_lines(wrapped(text, metrics(m_bold), m_area.width()), m_bold, 0, 0, m_area.width(), Qt::AlignLeft);
    return running_head_height();
}

qreal DocumentPrinter::draw_headings(qreal top)
{
    const qreal width = m_table.width();
    m_painter.fillRect(QRectF(0, top, width, m_table.heading_height), HeadingBackground);
    draw_rule(top, 0, width);
    draw_rule(top + m_table.heading_height, 0, width);
    const qreal vertical = metrics(m_table.font).lineSpacing() * CellPaddingLines;
    for (size_t column = 0; column < m_table.widths.size(); ++column) {
        const qreal left = m_table.left_of(int(column)) + padding();
        const Qt::Alignment alignment = m_document.columns[column].numeric() ? Qt::AlignRight : Qt::AlignLeft;
        draw_lines(m_table.headings[column], m_table.heading_font, left, top + vertical, m_table.widths[column] - 2 * padding(),
                   alignment);
    }
    return top + m_table.heading_height;
}

qreal DocumentPrinter::draw_rows(const PagePlan& page, qreal top)
{
    const qreal vertical = metrics(m_table.font).lineSpacing() * CellPaddingLines;
    const QColor even = color_of_value(m_format.evenrow_color);
    for (int row = page.first_row; row < page.end_row; ++row) {
        const qreal height = m_table.row_heights[size_t(row)];
        if (!m_format.disabled_evenrow_color && (row - page.first_row) % 2 == 1)
            m_painter.fillRect(QRectF(0, top, m_table.width(), height), even);
        for (size_t column = 0; column < m_table.widths.size(); ++column) {
            const qreal left = m_table.left_of(int(column)) + padding();
            const Qt::Alignment alignment = m_document.columns[column].numeric() ? Qt::AlignRight : Qt::AlignLeft;
            draw_lines(m_table.cells[size_t(row)][column], m_table.font, left, top + vertical,
                       m_table.widths[column] - 2 * padding(), alignment);
        }
        top += height;
    }
    draw_rule(top, 0, m_table.width());
    return top;
}

void DocumentPrinter::draw_dividers(qreal top, qreal bottom)
{
    m_painter.setPen(QPen(Qt::black, LinePoints * m_units));
    for (size_t column = 0; column <= m_table.widths.size(); ++column) {
        const qreal x = m_table.left_of(int(column));
        m_painter.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
}

qreal DocumentPrinter::draw_totals(qreal top)
{
    qreal label_width = 0;
    qreal amount_width = 0;
    for (const auto& [label, amount] : m_document.totals) {
        label_width = std::max(label_width, metrics(m_bold).horizontalAdvance(label));
        amount_width = std::max(amount_width, metrics(m_bold).horizontalAdvance(amount));
    }
    label_width += 4 * padding();
    amount_width += 2 * padding();
    const qreal left = std::max(0.0, m_area.width() - label_width - amount_width);
    const qreal row = line(m_bold) * 1.3;
    for (size_t index = 0; index < m_document.totals.size(); ++index) {
        const auto& [label, amount] = m_document.totals[index];
        const bool last = index + 1 == m_document.totals.size();
        const QFont& font = last ? m_bold : m_font;
        if (last)
            draw_rule(top, left, label_width + amount_width);
        const qreal baseline_top = top + (row - line(font)) / 2;
        draw_lines({label}, font, left, baseline_top, label_width - 2 * padding(), Qt::AlignRight);
        draw_lines({amount}, font, left + label_width, baseline_top, amount_width - padding(), Qt::AlignRight);
        top += row;
    }
    return top;
}

qreal DocumentPrinter::draw_notes(qreal top)
{
    for (const auto& [label, text] : m_document.notes) {
        top += gap();
        top += draw_lines({label}, m_bold, 0, top, m_area.width(), Qt::AlignLeft);
        top += draw_lines(wrapped(text, metrics(m_font), m_area.width()), m_font, 0, top, m_area.width(), Qt::AlignLeft);
    }
    return top;
}

void DocumentPrinter::draw_footer(int number)
{
    const qreal top = m_area.height() - line(m_font);
    const QString page = QStringLiteral("Page %1 of %2").arg(number).arg(m_pages.size());
    draw_lines({page}, m_font, 0, top, m_area.width(), Qt::AlignHCenter);
    if (!m_document.print_date.isEmpty())
        draw_lines({QStringLiteral("Printed ") + m_document.print_date}, m_font, 0, top, m_area.width() / 3, Qt::AlignLeft);
}

void DocumentPrinter::draw_void_mark()
{
    const QString mark = QStringLiteral("VOID");
    QFont font = scaled(m_font, 1, true);
    font.setPointSizeF(96);
    const qreal diagonal = std::hypot(m_area.width(), m_area.height());
    const qreal natural = metrics(font).horizontalAdvance(mark);
    font.setPointSizeF(96 * diagonal * 0.5 / natural);
    m_painter.save();
    m_painter.translate(m_area.width() / 2, m_area.height() / 2);
    m_painter.rotate(-std::atan2(m_area.height(), m_area.width()) * 180 / std::numbers::pi);
    m_painter.setFont(font);
    m_painter.setPen(VoidColour);
    const QFontMetricsF mark_metrics = metrics(font);
    m_painter.drawText(QPointF(-mark_metrics.horizontalAdvance(mark) / 2, mark_metrics.ascent() / 2 - mark_metrics.descent() / 2),
                       mark);
    m_painter.restore();
}

qreal DocumentPrinter::draw_lines(const QStringList& lines, const QFont& font, qreal left, qreal top, qreal width,
                                  Qt::Alignment alignment)
{
    const QFontMetricsF font_metrics = metrics(font);
    m_painter.setFont(font);
    m_painter.setPen(text_colour());
    qreal baseline = top + font_metrics.ascent();
    for (const QString& text : lines) {
        const qreal advance = font_metrics.horizontalAdvance(text);
        qreal x = left;
        if (alignment & Qt::AlignRight)
            x = left + width - advance;
        else if (alignment & Qt::AlignHCenter)
            x = left + (width - advance) / 2;
        m_painter.drawText(QPointF(x, baseline), text);
        baseline += font_metrics.lineSpacing();
    }
    return lines.size() * font_metrics.lineSpacing();
}

void DocumentPrinter::draw_rule(qreal top, qreal left, qreal width)
{
    m_painter.setPen(QPen(Qt::black, LinePoints * m_units));
    m_painter.drawLine(QPointF(left, top), QPointF(left + width, top));
}

} // namespace

[[nodiscard]] std::expected<void, Error> write_document_pdf(const PrintedDocument& document, const ReportFormat& format,
                                                            const QString& path)
{
    std::expected<void, Error> written;
    {
        DocumentPrinter printer(document, format, path);
        written = printer.print();
    }
    if (!written)
        QFile::remove(path);
    return written;
}

[[nodiscard]] std::expected<ReportFile, Error> write_user_document(const PrintedDocument& document, const ReportFormat& format,
                                                                   const QString& data_path, const QString& stem)
{
    return write_into_user_reports(data_path, stem, format.orientation,
                                   [&](const QString& path) { return write_document_pdf(document, format, path); });
}

} // namespace zelkor
