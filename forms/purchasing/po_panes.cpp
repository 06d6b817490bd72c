// The order window's information panes: tax, stock and purchase history.
#include "forms/purchasing/POform_po.h"

#include "forms/purchasing/po_columns.h"

namespace zelkor {

namespace {

namespace col = po_column;

void fill(Grid& grid, const Rows& rows, const std::function<QStringList(const Row&)>& cells)
{
    grid.clear();
    for (const Row& row : rows) {
        const int at = grid.append_row();
        const QStringList values = cells(row);
        for (int column = 0; column < values.size(); ++column)
            grid.set_cell(at, column, values[column]);
    }
}

QStringList history_cells(const Row& row)
{
    return {row.text(u"vendor_name"),
            row.text(u"docno"),
            row.date(u"order_date").toString(Qt::ISODate),
            row.text(u"itemcode"),
            row.decimal(u"quantity").to_string(),
            row.text(u"uom"),
            row.decimal(u"unitcost").to_string(),
            row.decimal(u"extended_cost").format(2),
            check_text(row.flag(u"price_include_tax"))};
}

const QString HistorySelect = QStringLiteral(
    "SELECT v.vendor_name, l.docno, l.order_date, l.itemcode, l.quantity, l.uom, l.unitcost, l.extended_cost,"
    " l.price_include_tax, l.itemno FROM PO_transaction_table l LEFT JOIN Vendor_table v ON v.vendor_no = l.vendor_no"
    " WHERE l.company = 1 AND l.order_date >= ? AND ");

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
        const QString item = row >= 0 ? m_lines->cell(row, col::ItemCode).trimmed() : QString();
        auto rows = db().select(HistorySelect + QStringLiteral("l.itemcode = ? ORDER BY l.order_date DESC, l.docno DESC"),
                                {since, item});
        if (!rows)
            report(rows.error(), failed);
        else
            fill(*m_item_history, *rows, history_cells);
    }
    if (pane_visible("vendor_history")) {
        auto rows = db().select(HistorySelect + QStringLiteral("l.vendor_no = ? ORDER BY l.docno DESC, l.itemno"),
                                {since, field("vendor_no").trimmed()});
        if (!rows)
            report(rows.error(), failed);
        else
            fill(*m_vendor_history, *rows, history_cells);
    }
}

} // namespace zelkor
