#include "windows/document/history_panes.h"

#include "windows/base/grid.h"
#include "windows/document/pane_columns.h"

namespace zelkor {

namespace history = history_column;

QStringList purchase_history_columns()
{
    return {history::VendorName, history::PoNo,     history::OrderDate,    history::ItemCode,   history::Quantity,
            history::Uom,        history::UnitCost, history::ExtendedCost, history::TaxIncluded};
}

void set_up_purchase_history(Grid& grid)
{
    grid.set_read_only(true);
    grid.set_number_columns({history::Quantity, history::UnitCost, history::ExtendedCost});
}

void show_purchase_history(Grid& grid, const std::vector<PurchaseHistoryLine>& lines)
{
    grid.set_row_count(int(lines.size()));
    for (int row = 0; row < int(lines.size()); ++row) {
        const PurchaseHistoryLine& line = lines[size_t(row)];
        const QStringList cells{line.vendor_name,
                                line.docno,
                                line.order_date.toString(Qt::ISODate),
                                line.itemcode,
                                line.quantity.to_string(),
                                line.uom,
                                line.unitcost.format_at_least(),
                                line.extended_cost.format(2),
                                check_text(line.price_include_tax)};
        for (int column = 0; column < cells.size(); ++column)
            grid.set_cell(row, column, cells[column]);
    }
}

std::expected<void, Error> show_purchase_histories(Database& db, Grid* vendor_grid, const QString& vendor_no,
                                                   Grid* item_grid, const QString& itemcode, const QDate& since)
{
    if (item_grid) {
        auto lines = item_purchase_history(db, itemcode, since);
        if (!lines)
            return std::unexpected(lines.error());
        show_purchase_history(*item_grid, *lines);
    }
    if (vendor_grid) {
        auto lines = vendor_purchase_history(db, vendor_no, since);
        if (!lines)
            return std::unexpected(lines.error());
        show_purchase_history(*vendor_grid, *lines);
    }
    return {};
}

} // namespace zelkor
