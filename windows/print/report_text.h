#pragma once

#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace zelkor {

/// Writes `text` into `cell` (painter coordinates) of the current page with the painter's font
/// and pen, aligned left, centred or right as `horizontal` says and centred vertically. The text
/// never leaves the cell: it wraps at spaces onto as many lines as the cell's height holds, and
/// a line ends in "…" where text is cut. A number that is too wide is shown as "#"
/// signs instead, so that a cut amount can never be mistaken for a smaller one.
void draw_text_cell(QPainter& painter, const QRectF& cell, const QString& text, Qt::Alignment horizontal);

/// The lines `text` takes in a cell `width` wide holding at most `max_lines` lines: words wrap,
/// a word wider than the cell is elided, and the last line is elided when text is left over.
QStringList fit_text_lines(const QString& text, const QFontMetricsF& metrics, qreal width, int max_lines);

/// The room left and right of a cell's text, in points.
inline constexpr qreal CellPaddingPoints = 2.0;

/// A cell text in a column's number format: a format that begins with "#" ("#,##0.00",
/// "#,##0.0000", "#0") rounds a numeric text to the format's decimals and groups thousands when
/// the format has ","; other formats and texts that are not numbers are returned unchanged.
QString apply_number_format(const QString& text, const QString& format);

} // namespace zelkor
