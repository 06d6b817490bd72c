#pragma once

#include <QObject>
#include <QPointer>

#include <map>

class QMenu;
class QTableView;

namespace zelkor {

class Grid;

/// Which columns of a grid's table are in view. By default those the window shows, less the
/// columns a clerk rarely reads (the audit stamp, keys, allocated tax) while the user has stored
/// no layout of the grid; on top of that, what the clerk chose in the column menu for this
/// session. The choice is the view's alone: the window's grid keeps its columns as declared.
class ColumnChoice : public QObject {
    Q_OBJECT
public:
    /// `layout_stored` tells whether the user's own layout of the grid decides what is hidden.
    ColumnChoice(Grid& grid, QTableView& view, bool layout_stored);

    /// Whether a caption names a column a clerk rarely reads.
    static bool internal(const QString& caption);

    /// Shows or hides a column as the window and the clerk's choice say.
    void apply(int column);
    /// The clerk shows or hides a column.
    void choose(int column, bool shown);
    /// Fills a menu with one check item per column of the grid.
    void fill_menu(QMenu& menu);

private:
    bool hidden(int column) const;

    QPointer<Grid> m_grid;
    QTableView* m_view = nullptr;
    bool m_layout_stored = false;
    std::map<int, bool> m_chosen; ///< column -> shown, as the clerk chose it
};

} // namespace zelkor
