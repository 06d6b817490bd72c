#pragma once

#include "windows/base/grid_layout.h"

class QTableView;

namespace zelkor {

/// Shows a grid's table the way its stored layout says: columns in their stored order and the
/// stored row height. Widths, hidden columns and alignment reach the view through the Grid; the
/// headings, fonts, colours and number formats through the GridTableModel.
void apply_view_layout(QTableView& view, const GridLayout& layout);

/// Writes back what the clerk changed on the table: every column's position, the width of each
/// visible column and, when it was changed, the row height. The last column stretches with the
/// window, so its width is the window's rather than the clerk's and stays as stored.
void record_view_layout(const QTableView& view, GridLayout& layout);

} // namespace zelkor
