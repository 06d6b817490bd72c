#pragma once

#include "documents/common/purchase_history.h"

#include <QStringList>

#include <vector>

namespace zelkor {

class Grid;

/// The columns of a purchase history pane's grid: vendor name, order number and date, item,
/// quantity, unit, unit cost, extended cost and whether tax is included.
QStringList purchase_history_columns();
/// Makes a declared history grid read-only with its number columns right-aligned.
void set_up_purchase_history(Grid& grid);
/// Fills a history pane's grid with the order lines, one row each.
void show_purchase_history(Grid& grid, const std::vector<PurchaseHistoryLine>& lines);
/// Fills the history panes that are open (a null grid is a closed pane): the vendor's order
/// lines and the item's, ordered since `since`, newest first.
[[nodiscard]] std::expected<void, Error> show_purchase_histories(Database& db, Grid* vendor_grid, const QString& vendor_no,
                                                                 Grid* item_grid, const QString& itemcode,
                                                                 const QDate& since);

} // namespace zelkor
