#include "ui/grid_table_model.h"

#include "ui/message_box_prompter.h"
#include "windows/base/grid.h"
#include "windows/print/report_text.h"

#include <QApplication>
#include <QBrush>
#include <QStyle>
#include <QColor>
#include <QFont>

namespace zelkor {

namespace {

bool is_ticked(const QString& text)
{
    return text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

QColor colour_of(qint64 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

} // namespace

bool GridTableModel::is_cell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && m_grid && index.row() < m_rows
           && index.row() < m_grid->row_count() && index.column() < m_columns;
}

GridTableModel::GridTableModel(Grid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(&grid), m_rows(grid.row_count()), m_columns(grid.column_count())
{
    connect(&grid, &Grid::rowsInserted, this, &GridTableModel::on_rows_inserted);
    connect(&grid, &Grid::rowsRemoved, this, &GridTableModel::on_rows_removed);
    connect(&grid, &Grid::gridReset, this, &GridTableModel::on_reset);
    connect(&grid, &Grid::cellChanged, this, &GridTableModel::on_cell_changed);
    connect(&grid, &Grid::columnChanged, this, &GridTableModel::on_column_changed);
    connect(&grid, &Grid::columnsInserted, this, &GridTableModel::on_columns_inserted);
    connect(&grid, &Grid::readOnlyChanged, this, [this] {
        if (m_rows > 0 && m_columns > 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
    });
    connect(&grid, &Grid::deleteButtonsChanged, this, [this] {
        if (m_rows > 0)
            emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
    });
    connect(&grid, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_rows = 0;
        m_columns = 0;
        endResetModel();
    });
}

int GridTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

bool GridTableModel::is_check_column(int column) const
{
    return m_grid->column(column).kind == FieldKind::Check;
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const
{
    if (!is_cell(index))
        return {};
    const int column = index.column();
    const QString text = m_grid->cell(index.row(), column);
    const ColumnLayout* layout = layout_of(column);
    switch (role) {
    case Qt::DisplayRole: {
        if (is_check_column(column))
            return {};
        const GridColumn& declaration = m_grid->column(column);
        if (declaration.choices.name_column >= 0)
            return declaration.choices.display_text(text);
        return layout ? apply_number_format(text, layout->number_format) : text;
    }
    case Qt::BackgroundRole:
        return m_refused.contains({index.row(), column}) ? QVariant(QBrush(QColor(0xff, 0xcd, 0xd2))) : QVariant();
    case RefusedRole:
        return m_refused.contains({index.row(), column});
    case Qt::FontRole:
        return layout ? QVariant(font_of(layout->font)) : QVariant();
    case Qt::ForegroundRole:
        return layout && layout->font.colour ? QVariant(QBrush(colour_of(*layout->font.colour))) : QVariant();
    case Qt::EditRole:
        return text;
    case Qt::CheckStateRole:
        return is_check_column(column) ? QVariant(is_ticked(text) ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::TextAlignmentRole: {
        const GridColumn& declaration = m_grid->column(column);
        const bool default_alignment = declaration.alignment == (Qt::AlignLeft | Qt::AlignVCenter);
        if (declaration.kind == FieldKind::Number && default_alignment)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        if (declaration.kind == FieldKind::Check && default_alignment)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return QVariant::fromValue(declaration.alignment);
    }
    case Qt::ToolTipRole:
        return text.size() > 30 ? QVariant(text) : QVariant();
    case StruckOutRole:
        return m_grid->row_struck_out(index.row());
    default:
        return {};
    }
}

bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!is_cell(index))
        return false;
    QString text;
    if (role == Qt::CheckStateRole && is_check_column(index.column()))
        text = value.value<Qt::CheckState>() == Qt::Checked ? checked_text() : unchecked_text();
    else if (role == Qt::EditRole)
        text = value.toString();
    else
        return false;
    if (text == m_grid->cell(index.row(), index.column()))
        return true;
    // The cell check may refuse and put a value back; the grid's cellChanged keeps the view right.
    Entry entry = Entry::Accepted;
    {
        const ValueCheck checking;
        entry = m_grid->type_cell(index.row(), index.column(), text);
    }
    const std::pair cell{index.row(), index.column()};
    const bool was_refused = m_refused.contains(cell);
    if (entry == Entry::Refused)
        m_refused.insert(cell);
    else
        m_refused.remove(cell);
    if (was_refused != (entry == Entry::Refused) && is_cell(index))
        emit dataChanged(index, index, {Qt::BackgroundRole, RefusedRole});
    if (entry == Entry::Refused)
        emit cellRefused(index);
    return entry == Entry::Accepted;
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const bool column_heading = orientation == Qt::Horizontal && m_grid && section >= 0 && section < m_columns;
    const ColumnLayout* layout = column_heading ? layout_of(section) : nullptr;
    if (role == Qt::TextAlignmentRole && layout)
        return QVariant::fromValue(layout->heading_alignment);
    if (orientation == Qt::Vertical && m_grid && m_grid->has_delete_buttons() && section >= 0 && section < m_rows) {
        if (role == Qt::DecorationRole)
            return QApplication::style()->standardIcon(QStyle::SP_TrashIcon);
        if (role == Qt::ToolTipRole)
            return m_grid->delete_button_tooltip();
    }
    if (role != Qt::DisplayRole || !m_grid)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section >= 0 && section < m_rows ? QVariant(section + 1) : QVariant();
    if (!column_heading)
        return {};
    // The stored heading is what the clerk reads; the model keeps addressing the column by caption.
    return layout && !layout->heading.isEmpty() ? layout->heading : m_grid->column(section).caption;
}

bool GridTableModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_grid && m_grid->more_available();
}

void GridTableModel::fetchMore(const QModelIndex& parent)
{
    if (!parent.isValid() && m_grid)
        m_grid->fetch_more();
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const
{
    if (!is_cell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (m_grid->cell_editable(index.row(), index.column()))
        flags |= is_check_column(index.column()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return flags;
}

void GridTableModel::on_rows_inserted(int first, int count)
{
    if (count <= 0)
        return;
    if (first > m_rows)
        return on_reset();
    beginInsertRows({}, first, first + count - 1);
    m_rows += count;
    endInsertRows();
}

void GridTableModel::on_rows_removed(int first, int count)
{
    if (count <= 0 || first + count > m_rows)
        return on_reset();
    beginRemoveRows({}, first, first + count - 1);
    m_rows -= count;
    // A refusal stays with its cell only while no row above it goes.
    m_refused.clear();
    endRemoveRows();
}

void GridTableModel::on_reset()
{
    m_refused.clear();
    beginResetModel();
    m_rows = m_grid ? m_grid->row_count() : 0;
    m_columns = m_grid ? m_grid->column_count() : 0;
    endResetModel();
}

void GridTableModel::on_cell_changed(int row, int column)
{
    if (row < m_rows && column < m_columns)
        emit dataChanged(index(row, column), index(row, column));
}

void GridTableModel::on_column_changed(int column)
{
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (m_rows > 0)
        emit dataChanged(index(0, column), index(m_rows - 1, column));
}

} // namespace zelkor

namespace zelkor {

const ColumnLayout* GridTableModel::layout_of(int column) const
{
    return m_layout ? m_layout->column(column) : nullptr;
}

void GridTableModel::set_layout(const GridLayout* layout)
{
    m_layout = layout;
    refresh_presentation();
}

void GridTableModel::refresh_presentation()
{
    if (m_columns <= 0)
        return;
    emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
}

void GridTableModel::on_columns_inserted(int first, int count)
{
    if (count <= 0 || first != m_columns)
        return on_reset();
    beginInsertColumns({}, first, first + count - 1);
    m_columns += count;
    endInsertColumns();
}

} // namespace zelkor
