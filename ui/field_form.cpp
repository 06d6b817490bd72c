#include "ui/field_form.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>

namespace zelkor {

namespace {

constexpr int HorizontalSpacing = 8;
constexpr int VerticalSpacing = 4;

int least_width(const QWidget* widget)
{
    return widget ? std::max(widget->minimumSizeHint().width(), widget->minimumWidth()) : 0;
}

} // namespace

FieldForm::FieldForm(QWidget* parent) : QWidget(parent)
{
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(HorizontalSpacing);
    m_grid->setVerticalSpacing(VerticalSpacing);
    // The form chooses its own arrangement for the width it gets; the grid must not hold the
    // form at the width of the widest arrangement.
    m_grid->setSizeConstraint(QLayout::SetNoConstraint);
}

void FieldForm::add_row(const std::vector<Item>& row)
{
    for (const Item& item : row) {
        if (item.label)
            item.label->setParent(this);
        item.editor->setParent(this);
    }
    m_rows.push_back(row);
    arrange(widest_row());
}

int FieldForm::widest_row() const
{
    int widest = 1;
    for (const auto& row : m_rows)
        widest = std::max(widest, int(row.size()));
    return widest;
}

int FieldForm::width_for(int pairs) const
{
    std::vector<int> labels(size_t(pairs), 0);
    std::vector<int> editors(size_t(pairs), 0);
    for (const auto& row : m_rows)
        for (size_t at = 0; at < row.size(); ++at) {
            const size_t column = at % size_t(pairs);
            labels[column] = std::max(labels[column], least_width(row[at].label));
            editors[column] = std::max(editors[column], least_width(row[at].editor));
        }
    int width = 0;
    for (int column = 0; column < pairs; ++column)
        width += labels[size_t(column)] + editors[size_t(column)];
    return width + HorizontalSpacing * (2 * pairs - 1);
}

int FieldForm::pairs_fitting(int width) const
{
    for (int pairs = widest_row(); pairs > 1; --pairs)
        if (width_for(pairs) <= width)
            return pairs;
    return 1;
}

void FieldForm::arrange(int pairs)
{
    m_arranging = true;
    m_pairs = pairs;
    while (QLayoutItem* item = m_grid->takeAt(0))
        delete item;
    int line = 0;
    for (const auto& row : m_rows) {
        for (size_t first = 0; first < row.size(); first += size_t(pairs), ++line) {
            const size_t end = std::min(row.size(), first + size_t(pairs));
            for (size_t at = first; at < end; ++at) {
                const Item& item = row[at];
                const int column = int(at - first) * 2;
                if (item.label)
                    m_grid->addWidget(item.label, line, column);
                // The last text of a shorter line takes the rest of it; numbers, dates and
                // checks keep their own width.
                const int span = at + 1 == end && item.wide ? (pairs - int(at - first)) * 2 - 1 : 1;
                m_grid->addWidget(item.editor, line, column + 1, 1, span);
            }
        }
    }
    for (int column = 0; column < m_grid->columnCount(); ++column)
        m_grid->setColumnStretch(column, column % 2 == 1 && column < pairs * 2 ? 1 : 0);
    m_arranging = false;
    updateGeometry();
}

QSize FieldForm::sizeHint() const
{
    return {width_for(m_pairs), m_grid->sizeHint().height()};
}

QSize FieldForm::minimumSizeHint() const
{
    return {width_for(1), m_grid->minimumSize().height()};
}

void FieldForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (const int pairs = pairs_fitting(width()); pairs != m_pairs)
        arrange(pairs);
}

bool FieldForm::event(QEvent* event)
{
    // A field grew (a longer value): the lines may have to hold fewer pairs.
    if (event->type() == QEvent::LayoutRequest && !m_arranging && !m_rows.empty()) {
        if (const int pairs = pairs_fitting(width()); pairs != m_pairs)
            arrange(pairs);
        // The form's own least width may have grown with the field: its parents ask again.
        updateGeometry();
    }
    return QWidget::event(event);
}

} // namespace zelkor
