#pragma once

#include "core/db/database.h"
#include "core/db/error.h"
#include "core/money/decimal.h"

#include <QFont>
#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

class Grid;

/// Grid_property keeps widths and row heights in twips; the view works in pixels (96 dpi).
constexpr int twips_to_pixels(int twips) { return twips / 15; }
constexpr int pixels_to_twips(int pixels) { return pixels * 15; }

/// Row heights outside this range (twips) are taken as the standard height, when read and when stored.
inline constexpr int MinRowHeight = 200;
inline constexpr int MaxRowHeight = 600;
inline constexpr int StandardRowHeight = 370;
constexpr int sane_row_height(int twips)
{
    return twips < MinRowHeight || twips > MaxRowHeight ? StandardRowHeight : twips;
}

/// The cell type that shows a column as check boxes.
inline constexpr char CheckBoxCellType[] = "dbgCheckBox";

/// Stored alignment codes: 0 left, 1 right, 2 centre, 3 general (text left).
Qt::Alignment alignment_from_code(int code);
int alignment_code(Qt::Alignment alignment);

/// A column's font as stored; empty values leave the grid's default font.
struct ColumnFont {
    QString name{};
    std::optional<Decimal> size{};
    std::optional<bool> italic{};
    std::optional<bool> bold{};
    std::optional<bool> underline{};
    std::optional<qint64> colour{}; ///< red + 256 × green + 65536 × blue
};

/// The font a stored column font gives, as far as it is set: what it leaves out resolves from
/// the font it is shown or printed with.
QFont font_of(const ColumnFont& stored);

/// The presentation of one grid column, as restored and as the view reports it back.
struct ColumnLayout {
    qint64 row_id = 0;          ///< the Grid_property row it was read from
    int column = 0;             ///< the Grid's column index; at or past column_count() for an added column
    int position = 0;           ///< where the view shows it (0 = first)
    QString heading{};          ///< the text above the column (the model keeps addressing it by caption)
    Qt::Alignment heading_alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    bool visible = true;
    bool locked = false;
    QString cell_type{};
    ColumnFont font{};
    std::optional<Qt::Alignment> alignment{};
    int width = 0;              ///< twips; 0 leaves the view's width
    bool auto_completion = false;
    QString number_format{};    ///< applied only when it begins with "#"
};

/// The stored layout of one grid of a window. A grid without stored rows has no columns here and
/// keeps its built-in layout.
struct GridLayout {
    QString form{};
    QString grid{};
    QString userid{};
    std::vector<ColumnLayout> columns{};
    std::optional<int> row_height{}; ///< twips

    bool stored() const { return !columns.empty(); }
    /// The layout of the grid's column, or null when it has none.
    ColumnLayout* column(int grid_column);
    const ColumnLayout* column(int grid_column) const;
    /// Columns the stored layout has beyond the grid's own (the view adds them at the end).
    int added_columns(int grid_column_count) const;
};

/// Reads the stored layout of a grid: the user's rows, else the rows set up for every user, in
/// col_order. Rows whose captions all name distinct columns of the grid configure those columns
/// (so a moved column keeps its own settings); otherwise the n-th row configures the n-th column.
[[nodiscard]] std::expected<GridLayout, Error> read_grid_layout(Database& db, const QString& form, const Grid& grid,
                                                  const QString& userid);

/// Applies what the model holds of a layout to the grid: columns the stored layout has beyond the
/// grid's own (added at the end), visibility, locking, check-box cells, width and alignment of
/// the visible columns.
void apply_grid_layout(const GridLayout& layout, Grid& grid);

/// Reads and applies a grid's layout when its window opens. A database failure is logged and
/// leaves the built-in layout (an empty GridLayout).
GridLayout restore_grid(Database& db, const QString& form, Grid& grid, const QString& userid);

/// Stores, for every visible column, its position and width, and the row height on the first
/// row (outside 200..600 stored as 370). Hidden columns keep their stored order and width.
[[nodiscard]] std::expected<void, Error> save_grid(Database& db, const GridLayout& layout);

/// Stores every column's font, colour and alignment.
[[nodiscard]] std::expected<void, Error> save_grid_fonts(Database& db, const GridLayout& layout);
/// Re-reads the stored fonts, colours and alignments, dropping unsaved changes.
[[nodiscard]] std::expected<void, Error> restore_grid_fonts(Database& db, GridLayout& layout);

} // namespace zelkor
