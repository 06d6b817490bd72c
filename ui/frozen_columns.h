#pragma once

#include <QPointer>
#include <QTableView>

namespace zelkor {

class Grid;

/// Keeps a grid's leading columns in view: a second table laid over the left edge of the grid's
/// table shows them, scrolls up and down with it and shares its selection, while the table
/// under it scrolls sideways.
class FrozenColumns : public QTableView {
    Q_OBJECT
public:
    FrozenColumns(Grid& grid, QTableView& table);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void freeze(int count);
    void update_geometry();

    QPointer<Grid> m_grid;
    QTableView& m_table;
    int m_count = 0;
};

} // namespace zelkor
