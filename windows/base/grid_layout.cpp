#include "windows/base/grid_layout.h"

#include "core/db/row.h"
#include "core/db/sql_names.h"
#include "windows/base/grid.h"

#include <QLoggingCategory>
#include <QSet>

namespace zelkor {

Q_LOGGING_CATEGORY(lcGridLayout, "zelkor.grid_layout")

namespace {

[[nodiscard]] std::expected<Rows, Error> stored_rows(Database& db, const QString& form, const QString& grid, const QString& userid)
{
    const QString select = QStringLiteral("SELECT * FROM Grid_property WHERE form_name = ? AND grid_name = ? AND %1"
                                          " ORDER BY col_order, id");
    auto own = db.select(select.arg(QStringLiteral("userid = ?")), {form, grid, userid});
    if (!own || !own->empty())
        return own;
    return db.select(select.arg(QStringLiteral("userid IS NULL")), {form, grid});
}

/// Which grid column each stored row configures (rows in col_order).
std::vector<int> columns_of_rows(const Rows& rows, const Grid& grid)
{
    std::vector<int> columns;
    QSet<int> taken;
    for (const Row& row : rows) {
        const int column = grid.column_index(row.text(u"Caption"));
        if (column < 0 || taken.contains(column))
            break;
        taken.insert(column);
        columns.push_back(column);
    }
    if (columns.size() == rows.size())
        return columns;
    columns.clear();
    for (int n = 0; n < int(rows.size()); ++n)
        columns.push_back(n);
    return columns;
}

void read_font(const Row& row, ColumnLayout& column)
{
    column.font.name = row.text(u"font_name");
    column.font.size = row.decimal_or_null(u"font_size");
    column.font.italic = row.flag_or_null(u"font_italic");
    column.font.bold = row.flag_or_null(u"font_bold");
    column.font.underline = row.flag_or_null(u"font_underline");
    column.font.colour = row.is_null(u"font_color") ? std::nullopt : std::optional<qint64>(row.integer(u"font_color"));
    if (column.cell_type == QLatin1String(CheckBoxCellType))
        column.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    if (!row.is_null(u"Alignment"))
        column.alignment = alignment_from_code(int(row.integer(u"Alignment")));
}

ColumnLayout column_from_row(const Row& row, int grid_column, int position)
{
    ColumnLayout column;
    column.row_id = row.integer(u"id");
    column.column = grid_column;
    column.position = position;
    column.visible = row.flag(u"Visible");
    column.heading = row.text(u"Caption");
    column.locked = row.flag(u"Locked");
    if (!column.visible)
        return column;
    column.cell_type = row.text(u"cell_type");
    read_font(row, column);
    column.width = int(row.integer(u"col_width"));
    column.auto_completion = row.flag(u"AutoCompletion");
    if (row.text(u"Format").startsWith(u'#'))
        column.number_format = row.text(u"Format");
    return column;
}

} // namespace

Qt::Alignment alignment_from_code(int code)
{
    switch (code) {
    case 1: return Qt::AlignRight | Qt::AlignVCenter;
    case 2: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

int alignment_code(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return 1;
    if (alignment & Qt::AlignHCenter)
        return 2;
    return 0;
}

QFont font_of(const ColumnFont& stored)
{
    QFont font;
    if (!stored.name.isEmpty())
        font.setFamily(stored.name);
    if (stored.size && *stored.size > Decimal(0))
        font.setPointSizeF(stored.size->to_double());
    if (stored.bold)
        font.setBold(*stored.bold);
    if (stored.italic)
        font.setItalic(*stored.italic);
    if (stored.underline)
        font.setUnderline(*stored.underline);
    return font;
}

ColumnLayout* GridLayout::column(int grid_column)
{
    for (ColumnLayout& layout : columns)
        if (layout.column == grid_column)
            return &layout;
    return nullptr;
}

const ColumnLayout* GridLayout::column(int grid_column) const
{
    return const_cast<GridLayout*>(this)->column(grid_column);
}

int GridLayout::added_columns(int grid_column_count) const
{
    int added = 0;
    for (const ColumnLayout& layout : columns)
        added += layout.column >= grid_column_count ? 1 : 0;
    return added;
}

[[nodiscard]] std::expected<GridLayout, Error> read_grid_layout(Database& db, const QString& form, const Grid& grid,
                                                  const QString& userid)
{
    auto rows = stored_rows(db, form, grid.name(), userid);
    if (!rows)
        return std::unexpected(rows.error());
    GridLayout layout{form, grid.name(), userid};
    if (rows->empty())
        return layout;
    if (!rows->front().is_null(u"row_height"))
        layout.row_height = sane_row_height(int(rows->front().integer(u"row_height")));
    const std::vector<int> columns = columns_of_rows(*rows, grid);
    for (int n = 0; n < int(rows->size()); ++n)
        layout.columns.push_back(column_from_row((*rows)[size_t(n)], columns[size_t(n)], n));
    return layout;
}

void apply_grid_layout(const GridLayout& layout, Grid& grid)
{
    for (const ColumnLayout& column : layout.columns) {
        // Stored rows beyond the grid's own columns add columns at the end, in stored order.
        while (column.column >= grid.column_count())
            grid.append_column(GridColumn{column.heading});
        grid.set_column_hidden(column.column, !column.visible);
        grid.set_column_read_only(column.column, column.locked);
        if (!column.visible)
            continue;
        if (column.cell_type == QLatin1String(CheckBoxCellType))
            grid.set_column_kind(column.column, FieldKind::Check);
        if (column.alignment)
            grid.set_column_alignment(column.column, *column.alignment);
        if (column.width > 0)
            grid.set_column_width(column.column, twips_to_pixels(column.width));
    }
}

GridLayout restore_grid(Database& db, const QString& form, Grid& grid, const QString& userid)
{
    auto layout = read_grid_layout(db, form, grid, userid);
    if (!layout) {
        qCWarning(lcGridLayout).noquote() << "layout of" << form << grid.name() << "not read:" << layout.error().detail;
        return GridLayout{form, grid.name(), userid};
    }
    apply_grid_layout(*layout, grid);
    return *layout;
}

[[nodiscard]] std::expected<void, Error> save_grid(Database& db, const GridLayout& layout)
{
    Transaction tx(db);
    bool first = true;
    for (const ColumnLayout& column : layout.columns) {
        const bool first_row = std::exchange(first, false);
        if (!column.visible)
            continue;
        UpdateRow update(QStringLiteral("Grid_property"));
        if (first_row)
            update.set(u"row_height", sane_row_height(layout.row_height.value_or(StandardRowHeight)));
        update.set(u"col_order", column.position).set(u"col_width", column.width);
        if (auto done = update.where(QStringLiteral("id = ?"), {column.row_id}).execute(db); !done)
            return std::unexpected(done.error());
    }
    return tx.commit();
}

[[nodiscard]] std::expected<void, Error> save_grid_fonts(Database& db, const GridLayout& layout)
{
    Transaction tx(db);
    for (const ColumnLayout& column : layout.columns) {
        const ColumnFont& font = column.font;
        UpdateRow update(QStringLiteral("Grid_property"));
        update.set(u"font_name", font.name.isEmpty() ? SqlValue(std::nullopt) : SqlValue(font.name))
            .set(u"font_size", font.size)
            .set(u"font_italic", font.italic)
            .set(u"font_bold", font.bold)
            .set(u"font_underline", font.underline)
            .set(u"font_color", font.colour ? SqlValue(static_cast<long long>(*font.colour)) : SqlValue(std::nullopt))
            .set(u"Alignment", column.alignment ? SqlValue(alignment_code(*column.alignment)) : SqlValue(std::nullopt));
        if (auto done = update.where(QStringLiteral("id = ?"), {column.row_id}).execute(db); !done)
            return std::unexpected(done.error());
    }
    return tx.commit();
}

[[nodiscard]] std::expected<void, Error> restore_grid_fonts(Database& db, GridLayout& layout)
{
    for (ColumnLayout& column : layout.columns) {
        auto row = db.first(QStringLiteral("SELECT * FROM Grid_property WHERE id = ?"), {column.row_id});
        if (!row)
            return std::unexpected(row.error());
        if (!*row)
            continue;
        column.font = {};
        column.alignment.reset();
        read_font(**row, column);
    }
    return {};
}

} // namespace zelkor
