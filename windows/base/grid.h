#pragma once

#include "core/money/decimal.h"
#include "windows/base/field.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace zelkor {

/// One column of a grid, addressed by its caption.
struct GridColumn {
    QString caption{};
    FieldKind kind = FieldKind::Text;
    bool hidden = false;
    bool read_only = false;
    Choices choices{};     ///< the drop-down of the column (per-column pick-list)
    int width = 0;       ///< pixels; 0 lets the view choose
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

/// A grid of text cells: rows × columns, columns found by caption (case-insensitive). Rows and
/// columns are numbered from 0 here; scripts count rows from 1.
///
/// `set_cell` and the row operations are the window's own writes and run no checks. `type_cell`
/// is the user typing into a cell and leaving it: it goes through the owning window's cell check.
class Grid : public QObject {
    Q_OBJECT
public:
    Grid(QString name, QString caption, const QStringList& columns, QObject* parent = nullptr);

    const QString& name() const { return m_name; }
    /// The heading shown above the grid; may be empty.
    const QString& caption() const { return m_caption; }
    /// The pane holding the grid; empty for the window's body.
    const QString& pane() const { return m_pane; }
    void set_pane(const QString& pane) { m_pane = pane; }

    int row_count() const { return int(m_rows.size()); }
    int column_count() const { return int(m_columns.size()); }
    const std::vector<GridColumn>& columns() const { return m_columns; }
    const GridColumn& column(int column) const { return m_columns.at(size_t(column)); }
    /// The index of the column with this caption, or -1.
    int column_index(const QString& caption) const;
    /// Like column_index, but a missing caption is a programming error (asserted).
    int required_column(const QString& caption) const;

    QString cell(int row, int column) const;
    /// The cell of the column with this caption; a caption the grid does not have is a
    /// programming error (asserted).
    QString cell(int row, const QString& caption) const;
    /// The window writes a cell; no checks run.
    void set_cell(int row, int column, const QString& value);
    void set_cell(int row, const QString& caption, const QString& value);
    /// The user types into a cell and leaves it: the cell check runs (see set_cell_check).
    Entry type_cell(int row, int column, const QString& value);
    Entry type_cell(int row, const QString& caption, const QString& value);
    /// Whether the user may type into the cell now (grid, column and the window's mode).
    bool cell_editable(int row, int column) const;

    void set_column_hidden(int column, bool hidden);
    void set_column_read_only(int column, bool read_only);
    void set_column_kind(int column, FieldKind kind);
    void set_column_choices(int column, Choices choices);
    void set_column_width(int column, int width);
    void set_column_alignment(int column, Qt::Alignment alignment);
    /// Declares money and quantity columns by caption: numbers, shown right-aligned.
    Grid& set_number_columns(const QStringList& captions);
    /// Appends a column at the end; gives its index. Existing rows get an empty cell.
    int append_column(const GridColumn& column);
    /// The whole grid refuses typing (inquiry results, locked documents).
    void set_read_only(bool read_only);
    bool read_only() const { return m_read_only; }

    /// Inserts an empty row before `row` (at the end when row >= row_count()); gives its index.
    int insert_row(int row);
    int append_row();
    void remove_row(int row);
    /// Removes every row.
    void clear();
    /// Grows or shrinks to `count` rows; new rows are empty.
    void set_row_count(int count);
    /// The texts of one row, in column order.
    QStringList row(int row) const;
    /// Whether every visible cell of the row is empty.
    bool row_empty(int row) const;
    /// Every row's texts (to put back later with restore_rows).
    const std::vector<QStringList>& rows() const { return m_rows; }
    void restore_rows(std::vector<QStringList> rows);

    /// The cell the user is on; -1 when the grid has no rows.
    int current_row() const { return m_current_row; }
    int current_column() const { return m_current_column; }
    void set_current(int row, int column);

    /// The owning window's check of a typed cell: given the row, the column and the value the
    /// cell held before, it may fill other cells, show a message or put a value back.
    using CellCheck = std::function<Entry(Grid& grid, int row, int column, const QString& previous)>;
    void set_cell_check(CellCheck check) { m_cell_check = std::move(check); }
    /// Asked before typing: whether the owning window allows editing now (its mode).
    using EditGate = std::function<bool()>;
    void set_edit_gate(EditGate gate) { m_edit_gate = std::move(gate); }
    /// Asked after the edit gate: whether this one cell may be typed into (a saved row's key
    /// stays as it is while new rows take theirs).
    using CellGate = std::function<bool(int row, int column)>;
    void set_cell_gate(CellGate gate) { m_cell_gate = std::move(gate); }

    /// Rows whose cell in this column is ticked are drawn struck through (void documents);
    /// -1 for none.
    int strike_out_column() const { return m_strike_out_column; }
    void set_strike_out_column(int column) { m_strike_out_column = column; }
    bool row_struck_out(int row) const;

    /// A grid filled a page at a time: the owner says whether more rows can be read and reads
    /// the next page when asked (a view scrolled to the end, a script going past the last row).
    using FetchMore = std::function<void()>;
    void set_fetch_more(FetchMore fetch) { m_fetch_more = std::move(fetch); }
    bool more_available() const { return m_more_available; }
    void set_more_available(bool more) { m_more_available = more; }
    /// Reads the next page; false when there was none to read.
    bool fetch_more();
    /// Appends rows in one step (one notification for all of them).
    void append_rows(std::vector<QStringList> rows);

    /// The leading columns that stay in view while the others scroll sideways; 0 for none.
    int frozen_columns() const { return m_frozen_columns; }
    void set_frozen_columns(int count);

    /// Whether the window shows the grid now (a window may show one of several grids).
    bool shown() const { return m_shown; }
    void set_shown(bool shown);
    /// Each row gets a delete button with this tooltip; an empty text takes the buttons away.
    /// A click on one asks the window to delete the row (WindowModel::delete_row).
    const QString& delete_button_tooltip() const { return m_delete_tooltip; }
    bool has_delete_buttons() const { return !m_delete_tooltip.isEmpty(); }
    void set_delete_buttons(const QString& tooltip);

signals:
    void cellChanged(int row, int column);
    void rowsInserted(int first, int count);
    void rowsRemoved(int first, int count);
    /// Columns were added at `first` (a stored layout with more columns than the grid declares).
    void columnsInserted(int first, int count);
    /// Everything may have changed (cleared, refilled).
    void gridReset();
    /// Hidden, read-only, kind, choices, width or alignment of a column changed.
    void columnChanged(int column);
    void readOnlyChanged(bool read_only);
    void currentChanged(int row, int column);
    /// The current cell moved to another row (what a line's panes and lists follow).
    void currentRowChanged(int row);
    void shownChanged(bool shown);
    void frozenColumnsChanged(int count);
    void deleteButtonsChanged(bool shown);

private:
    bool valid(int row, int column) const;

    QString m_name{};
    QString m_caption{};
    QString m_pane{};
    std::vector<GridColumn> m_columns;
    std::vector<QStringList> m_rows{};
    bool m_read_only = false;
    int m_current_row = -1;
    int m_current_column = 0;
    CellCheck m_cell_check;
    EditGate m_edit_gate;
    CellGate m_cell_gate;
    bool m_shown = true;
    int m_strike_out_column = -1;
    int m_frozen_columns = 0;
    FetchMore m_fetch_more;
    bool m_more_available = false;
    QString m_delete_tooltip{};
};

// Reading typed values out of cells: cells hold exact values as text (quantities and costs with
// all their decimals, money as "#,##0.00"), so reading one back loses nothing.

/// The number in a cell; nothing when the cell is empty or holds no number.
std::optional<Decimal> cell_number(const Grid& grid, int row, const QString& caption);
/// The number in a cell; 0 when the cell is empty or holds no number.
Decimal cell_amount(const Grid& grid, int row, const QString& caption);
/// Whether a check-box cell is ticked ("1" or "true").
bool cell_checked(const Grid& grid, int row, const QString& caption);
/// The text of a ticked ("1") or unticked ("") check box.
QString check_text(bool checked);

} // namespace zelkor
