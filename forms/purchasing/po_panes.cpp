// The order window's information panes: tax, stock and purchase history.
#include "forms/purchasing/POform_po.h"

#include "forms/purchasing/po_columns.h"
#include "services/purchase_history.h"

namespace zelkor {

namespace {

void fill(Grid& grid, const std::vector<PurchaseHistoryLine>& lines)
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
                                line.unitcost.to_string(),
                                line.extended_cost.format(2),
                                check_text(line.price_include_tax)};
        for (int column = 0; column < cells.size(); ++column)
            grid.set_cell(row, column, cells[column]);
    }
}

} // namespace

void POform_po::refresh_panes()
{
    refresh_tax_panes();
    refresh_history();
    refresh_stock_panes();
}

void POform_po::refresh_history()
{
    if (!database())
        return;
    const QDate since = today().addMonths(-6);
    const QString failed = QStringLiteral("Reading the purchase history failed");
    if (pane_visible("item_history")) {
        const int row = m_lines->current_row();
        auto lines = item_purchase_history(db(), row >= 0 ? m_lines->cell(row, po_column::ItemCode).trimmed() : QString(), since);
        if (!lines)
            report(lines.error(), failed);
        else
            fill(*m_item_history, *lines);
    }
    if (pane_visible("vendor_history")) {
        auto lines = vendor_purchase_history(db(), field("vendor_no").trimmed(), since);
        if (!lines)
            report(lines.error(), failed);
        else
            fill(*m_vendor_history, *lines);
    }
}

} // namespace zelkor
