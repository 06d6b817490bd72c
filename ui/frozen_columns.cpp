#include "ui/frozen_columns.h"

#include "windows/base/grid.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

namespace zelkor {

FrozenColumns::FrozenColumns(Grid& grid, QTableView& table) : QTableView(&table), m_grid(&grid), m_table(table)
{
    setObjectName(grid.name() + QStringLiteral("_frozen"));
    setModel(table.model());
    setSelectionModel(table.selectionModel());
    setItemDelegate(table.itemDelegate());
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(table.verticalHeader()->defaultSectionSize());
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(table.verticalScrollMode());
    setStyleSheet(QStringLiteral("QTableView { border: none; }"));
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, table.verticalScrollBar(), &QAbstractSlider::setValue);
    connect(table.verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    connect(table.horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column < m_count) {
            setColumnWidth(column, width);
            update_geometry();
        }
    });
    connect(table.verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int height) { setRowHeight(row, height); });
    connect(&grid, &Grid::frozenColumnsChanged, this, &FrozenColumns::freeze);
    table.viewport()->installEventFilter(this);
    freeze(grid.frozen_columns());
}

void FrozenColumns::freeze(int count)
{
    m_count = count;
    const int columns = model() ? model()->columnCount() : 0;
    for (int column = 0; column < columns; ++column) {
        setColumnHidden(column, column >= count || m_table.isColumnHidden(column));
        setColumnWidth(column, m_table.columnWidth(column));
    }
    setVisible(count > 0);
    if (count > 0)
        m_table.horizontalScrollBar()->setValue(0);
    update_geometry();
}

void FrozenColumns::update_geometry()
{
    horizontalHeader()->setFixedHeight(m_table.horizontalHeader()->height());
    int width = 0;
    for (int column = 0; column < m_count; ++column)
        if (!m_table.isColumnHidden(column))
            width += m_table.columnWidth(column);
    setGeometry(m_table.verticalHeader()->width() + m_table.frameWidth(), m_table.frameWidth(), width,
                 m_table.viewport()->height() + m_table.horizontalHeader()->height());
    raise();
}

bool FrozenColumns::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table.viewport() && event->type() == QEvent::Resize)
        update_geometry();
    return QTableView::eventFilter(watched, event);
}

} // namespace zelkor
