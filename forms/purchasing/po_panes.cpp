// The order window's information panes: tax, stock and purchase history.
#include "forms/purchasing/POform_po.h"

#include "forms/common/stock_panes.h"

namespace zelkor {

namespace {

bool pane_visible(const WindowModel& window, const QString& name)
{
    const Pane* pane = window.find_pane(name);
    return pane && pane->visible;
}

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
            row.flag(u"price_include_tax") ? "1" : ""};
}

const QString HistorySelect = QStringLiteral(
    "SELECT v.vendor_name, l.docno, l.order_date, l.itemcode, l.quantity, l.uom, l.unitcost, l.extended_cost,"
    " l.price_include_tax, l.itemno FROM PO_transaction_table l LEFT JOIN Vendor_table v ON v.vendor_no = l.vendor_no"
    " WHERE l.company = 1 AND l.order_date >= ? AND ");

} // namespace

void POform_po::refresh_panes()
{
    const int row = m_lines->current_row();
    if (pane_visible(*this, tax_detail_pane().pane))
        m_tax_panes->show_line(m_taxes, m_lines->cell(row, "item no").toInt());
    if (pane_visible(*this, tax_summary_pane().pane))
        m_tax_panes->show_summary(m_taxes);
    refresh_history();
    refresh_stock();
}

void POform_po::refresh_history()
{
    Database* db = database();
    if (!db)
        return;
    const QDate since = today().addMonths(-6);
    if (pane_visible(*this, "item_history")) {
        const QString item = m_lines->cell(m_lines->current_row(), "item code");
        if (auto rows = db->select(HistorySelect + QStringLiteral("l.itemcode = ? ORDER BY l.order_date DESC, l.docno DESC"),
                                   {since, item}))
            fill(*m_item_history, *rows, history_cells);
    }
    if (pane_visible(*this, "vendor_history")) {
        if (auto rows = db->select(HistorySelect + QStringLiteral("l.vendor_no = ? ORDER BY l.docno DESC, l.itemno"),
                                   {since, field("vendor_no")}))
            fill(*m_vendor_history, *rows, history_cells);
    }
}

void POform_po::refresh_stock()
{
    Database* db = database();
    if (!db)
        return;
    if (pane_visible(*this, "stock_by_location")) {
        const QString item = m_lines->cell(m_lines->current_row(), "item code").trimmed();
        if (auto shown = show_stock_by_location(*db, *m_stock_by_location, item); !shown)
            message(shown.error().message);
    }
    if (pane_visible(*this, "stock_by_item")) {
        if (auto shown = show_stock_by_items(*db, *m_stock_by_item, *m_lines, field("shipto").trimmed()); !shown)
            message(shown.error().message);
    }
}

} // namespace zelkor
