#include "windows/print/report_text.h"

#include "core/money/decimal.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace zelkor {

namespace {

const QChar Ellipsis(0x2026);

bool is_number(const QString& text)
{
    return !text.isEmpty() && Decimal::parse(text).has_value();
}

/// Takes the next line off the front of `rest`: whole words while they fit; a first word wider
/// than the cell is elided rather than broken, so that a heading never splits inside a word.
QString take_line(QString& rest, const QFontMetricsF& metrics, qreal width)
{
    qsizetype fits = 0;
    while (fits < rest.size()) {
        qsizetype next = rest.indexOf(QLatin1Char(' '), fits + 1);
        if (next < 0)
            next = rest.size();
        if (metrics.horizontalAdvance(rest.left(next)) > width)
            break;
        fits = next;
    }
    QString line;
    if (fits == 0) {
        qsizetype word_end = rest.indexOf(QLatin1Char(' '));
        if (word_end < 0)
            word_end = rest.size();
        line = metrics.elidedText(rest.left(word_end), Qt::ElideRight, width);
        fits = word_end;
    } else {
        line = rest.left(fits);
    }
    rest = rest.mid(fits).trimmed();
    return line;
}

qreal device_units_per_point(const QPainter& painter)
{
    return painter.device() ? painter.device()->logicalDpiX() / 72.0 : 1.0;
}

/// Draws one line that fits `room`, placed by its measured advance and centred vertically.
void draw_line(QPainter& painter, const QFontMetricsF& metrics, const QRectF& room, const QString& line,
               qreal advance, Qt::Alignment horizontal)
{
    qreal x = room.left();
    if (horizontal & Qt::AlignRight)
        x = room.right() - advance;
    else if (horizontal & Qt::AlignHCenter)
        x = room.left() + (room.width() - advance) / 2;
    const qreal baseline = room.top() + (room.height() - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(QPointF(x, baseline), line);
}

} // namespace

QStringList fit_text_lines(const QString& text, const QFontMetricsF& metrics, qreal width, int max_lines)
{
    QString rest = text.simplified();
    if (rest.isEmpty() || width <= 0)
        return {};
    if (metrics.horizontalAdvance(rest) <= width)
        return {rest};
    QStringList lines;
    while (!rest.isEmpty() && lines.size() < max_lines - 1)
        lines << take_line(rest, metrics, width);
    if (!rest.isEmpty())
        lines << metrics.elidedText(rest, Qt::ElideRight, width);
    return lines;
}

void draw_text_cell(QPainter& painter, const QRectF& cell, const QString& text, Qt::Alignment horizontal)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal padding = CellPaddingPoints * device_units_per_point(painter);
    const QRectF inner = cell.adjusted(padding, 0, -padding, 0);
    // Most cells hold one short line: measure once and draw it.
    const qreal advance = metrics.horizontalAdvance(text);
    if (advance <= inner.width() && !text.contains(QLatin1Char('\n'))) {
        draw_line(painter, metrics, inner, text, advance, horizontal);
        return;
    }
    QStringList lines;
    if (is_number(text)) {
        const int signs = std::max(1, int(inner.width() / metrics.horizontalAdvance(QLatin1Char('#'))));
        lines << QString(signs, QLatin1Char('#'));
    } else {
        const int max_lines = std::max(1, int(std::floor(inner.height() / metrics.lineSpacing())));
        lines = fit_text_lines(text, metrics, inner.width(), max_lines);
    }
    const qreal line_height = metrics.lineSpacing();
    qreal top = inner.top() + (inner.height() - line_height * lines.size()) / 2;
    for (const QString& line : lines) {
        draw_line(painter, metrics, QRectF(inner.left(), top, inner.width(), line_height), line,
                  metrics.horizontalAdvance(line), horizontal);
        top += line_height;
    }
}

QString apply_number_format(const QString& text, const QString& format)
{
    if (!format.startsWith(QLatin1Char('#')))
        return text;
    const auto number = Decimal::parse(text);
    if (!number)
        return text;
    const qsizetype point = format.indexOf(QLatin1Char('.'));
    const int places = point < 0 ? 0 : int(format.size() - point - 1);
    return format.contains(QLatin1Char(',')) ? number->format(places) : number->to_fixed(places);
}

} // namespace zelkor
