#pragma once

#include "windows/base/grid.h"
#include "windows/base/grid_layout.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QSet>

namespace zelkor {

/// The item model a QTableView shows a Grid through. Edits go to Grid::type_cell, so the owning
/// window's cell check runs exactly as when a script types into the cell.
///
/// The grid announces row changes after making them; the adapter keeps its own row count so that
/// views always see the begin/end pairs an item model owes them.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(Grid& grid, QObject* parent = nullptr);

    Grid* grid() const { return m_grid; }

    /// Shows the cells with the stored layout's headings, fonts, colours and number formats
    /// (null: the grid's own captions and the view's font). The layout must outlive the adapter
    /// or be replaced first.
    void set_layout(const GridLayout* layout);
    /// The layout's styles changed (the font panel): every cell and heading is shown again.
    void refresh_presentation();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// True for the cells of a row drawn struck through (Grid::strike_out_column).
    static constexpr int StruckOutRole = Qt::UserRole + 1;
    /// True for a cell whose last typed value the window refused, until one is accepted.
    static constexpr int RefusedRole = Qt::UserRole + 2;

signals:
    /// The window refused the value typed into this cell (and said why).
    void cellRefused(const QModelIndex& index);

public:

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    /// The values a check cell is written with.
    static QString checked_text() { return QStringLiteral("1"); }
    static QString unchecked_text() { return QStringLiteral("0"); }

private:
    void on_rows_inserted(int first, int count);
    void on_rows_removed(int first, int count);
    void on_reset();
    void on_cell_changed(int row, int column);
    void on_column_changed(int column);
    void on_columns_inserted(int first, int count);
    const ColumnLayout* layout_of(int column) const;
    bool is_check_column(int column) const;
    bool is_cell(const QModelIndex& index) const;

    QPointer<Grid> m_grid;
    QSet<std::pair<int, int>> m_refused; ///< (row, column) of refused cells
    const GridLayout* m_layout = nullptr;
    int m_rows = 0;
    int m_columns = 0;
};

} // namespace zelkor
