#include "windows/base/grid.h"

#include <algorithm>

namespace zelkor {

Grid::Grid(QString name, QString caption, const QStringList& columns, QObject* parent)
    : QObject(parent), m_name(std::move(name)), m_caption(std::move(caption))
{
    for (const QString& caption : columns) {
        GridColumn column;
        column.caption = caption;
        m_columns.push_back(std::move(column));
    }
}

int Grid::column_index(const QString& caption) const
{
    for (int column = 0; column < column_count(); ++column)
        if (m_columns[size_t(column)].caption.compare(caption, Qt::CaseInsensitive) == 0)
            return column;
    return -1;
}

int Grid::required_column(const QString& caption) const
{
    const int column = column_index(caption);
    Q_ASSERT_X(column >= 0, "Grid::required_column", qPrintable(m_name + ": no column " + caption));
    return column;
}

bool Grid::valid(int row, int column) const
{
    return row >= 0 && row < row_count() && column >= 0 && column < column_count();
}

QString Grid::cell(int row, int column) const
{
    return valid(row, column) ? m_rows[size_t(row)].at(column) : QString();
}

QString Grid::cell(int row, const QString& caption) const { return cell(row, required_column(caption)); }

void Grid::set_cell(int row, int column, const QString& value)
{
    if (!valid(row, column) || m_rows[size_t(row)].at(column) == value)
        return;
    m_rows[size_t(row)][column] = value;
    emit cellChanged(row, column);
}

void Grid::set_cell(int row, const QString& caption, const QString& value)
{
    set_cell(row, required_column(caption), value);
}

bool Grid::cell_editable(int row, int column) const
{
    if (!valid(row, column) || m_read_only || m_columns[size_t(column)].read_only)
        return false;
    return (!m_edit_gate || m_edit_gate()) && (!m_cell_gate || m_cell_gate(row, column));
}

bool Grid::row_struck_out(int row) const
{
    const QString flag = cell(row, m_strike_out_column);
    return flag == QLatin1String("1") || flag.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

bool Grid::fetch_more()
{
    if (!m_more_available || !m_fetch_more)
        return false;
    const int before = row_count();
    m_fetch_more();
    return row_count() > before;
}

void Grid::append_rows(std::vector<QStringList> rows)
{
    if (rows.empty())
        return;
    const int first = row_count();
    for (QStringList& line : rows) {
        while (line.size() < column_count())
            line << QString();
        m_rows.push_back(std::move(line));
    }
    emit rowsInserted(first, int(rows.size()));
}

void Grid::set_frozen_columns(int count)
{
    count = std::clamp(count, 0, column_count());
    if (m_frozen_columns == count)
        return;
    m_frozen_columns = count;
    emit frozenColumnsChanged(count);
}

void Grid::set_shown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    emit shownChanged(shown);
}

void Grid::set_delete_buttons(const QString& tooltip)
{
    if (m_delete_tooltip == tooltip)
        return;
    const bool had = has_delete_buttons();
    m_delete_tooltip = tooltip;
    if (had != has_delete_buttons() || has_delete_buttons())
        emit deleteButtonsChanged(has_delete_buttons());
}

Entry Grid::type_cell(int row, int column, const QString& value)
{
    if (!valid(row, column))
        return Entry::Unknown;
    if (!cell_editable(row, column))
        return Entry::ReadOnly;
    const QString previous = cell(row, column);
    set_current(row, column);
    set_cell(row, column, without_control_characters(value, TextLines::Single));
    return m_cell_check ? m_cell_check(*this, row, column, previous) : Entry::Accepted;
}

Entry Grid::type_cell(int row, const QString& caption, const QString& value)
{
    const int column = column_index(caption);
    return column < 0 ? Entry::Unknown : type_cell(row, column, value);
}

void Grid::set_column_hidden(int column, bool hidden)
{
    if (column < 0 || column >= column_count())
        return;
    m_columns[size_t(column)].hidden = hidden;
    emit columnChanged(column);
}

void Grid::set_column_read_only(int column, bool read_only)
{
    if (column < 0 || column >= column_count())
        return;
    m_columns[size_t(column)].read_only = read_only;
    emit columnChanged(column);
}

void Grid::set_column_kind(int column, FieldKind kind)
{
    if (column < 0 || column >= column_count())
        return;
    m_columns[size_t(column)].kind = kind;
    emit columnChanged(column);
}

void Grid::set_column_choices(int column, Choices choices)
{
    if (column < 0 || column >= column_count())
        return;
    m_columns[size_t(column)].choices = std::move(choices);
    emit columnChanged(column);
}

void Grid::set_column_width(int column, int width)
{
    if (column < 0 || column >= column_count())
        return;
    m_columns[size_t(column)].width = width;
    emit columnChanged(column);
}

void Grid::set_column_alignment(int column, Qt::Alignment alignment)
{
    if (column < 0 || column >= column_count())
        return;
    m_columns[size_t(column)].alignment = alignment;
    emit columnChanged(column);
}

void Grid::set_read_only(bool read_only)
{
    if (m_read_only == read_only)
        return;
    m_read_only = read_only;
    emit readOnlyChanged(read_only);
}

int Grid::insert_row(int row)
{
    row = std::clamp(row, 0, row_count());
    QStringList empty;
    for (int column = 0; column < column_count(); ++column)
        empty << QString();
    m_rows.insert(m_rows.begin() + row, empty);
    emit rowsInserted(row, 1);
    if (m_current_row < 0 || m_current_row >= row)
        set_current(m_current_row < 0 ? row : m_current_row + 1, m_current_column);
    return row;
}

int Grid::append_row() { return insert_row(row_count()); }

Grid& Grid::set_number_columns(const QStringList& captions)
{
    for (const QString& caption : captions)
        set_column_kind(required_column(caption), FieldKind::Number);
    return *this;
}

int Grid::append_column(const GridColumn& column)
{
    const int index = column_count();
    m_columns.push_back(column);
    for (QStringList& row : m_rows)
        row << QString();
    emit columnsInserted(index, 1);
    return index;
}

void Grid::remove_row(int row)
{
    if (row < 0 || row >= row_count())
        return;
    m_rows.erase(m_rows.begin() + row);
    emit rowsRemoved(row, 1);
    if (m_current_row >= row_count() || (m_current_row > row))
        set_current(row_count() == 0 ? -1 : std::min(m_current_row > row ? m_current_row - 1 : m_current_row,
                                                     row_count() - 1),
                    m_current_column);
}

void Grid::clear()
{
    m_rows.clear();
    m_current_row = -1;
    emit gridReset();
    emit currentChanged(m_current_row, m_current_column);
}

void Grid::set_row_count(int count)
{
    count = std::max(count, 0);
    QStringList empty;
    for (int column = 0; column < column_count(); ++column)
        empty << QString();
    m_rows.resize(size_t(count), empty);
    if (m_current_row >= count)
        m_current_row = count - 1;
    emit gridReset();
}

QStringList Grid::row(int row) const
{
    return row >= 0 && row < row_count() ? m_rows[size_t(row)] : QStringList();
}

bool Grid::row_empty(int row) const
{
    for (int column = 0; column < column_count(); ++column)
        if (!m_columns[size_t(column)].hidden && !cell(row, column).trimmed().isEmpty())
            return false;
    return true;
}

void Grid::restore_rows(std::vector<QStringList> rows)
{
    m_rows = std::move(rows);
    for (auto& line : m_rows)
        while (line.size() < column_count())
            line << QString();
    if (m_current_row >= row_count())
        m_current_row = row_count() - 1;
    emit gridReset();
}

void Grid::set_current(int row, int column)
{
    if (row == m_current_row && column == m_current_column)
        return;
    const bool new_row = row != m_current_row;
    m_current_row = row;
    m_current_column = column;
    emit currentChanged(row, column);
    if (new_row)
        emit currentRowChanged(row);
}

std::optional<Decimal> cell_number(const Grid& grid, int row, const QString& caption)
{
    const QString text = grid.cell(row, caption).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    auto value = Decimal::parse(text);
    if (!value || value->is_overflow())
        return std::nullopt;
    return value;
}

Decimal cell_amount(const Grid& grid, int row, const QString& caption)
{
    return cell_number(grid, row, caption).value_or(Decimal());
}

bool cell_checked(const Grid& grid, int row, const QString& caption)
{
    const QString text = grid.cell(row, caption).trimmed();
    return text == u"1" || text.compare(u"true", Qt::CaseInsensitive) == 0;
}

QString check_text(bool checked) { return checked ? QStringLiteral("1") : QString(); }

} // namespace zelkor
