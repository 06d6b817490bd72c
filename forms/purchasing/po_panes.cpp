// The order window's information panes: tax, stock and purchase history.
#include "forms/purchasing/POform_po.h"

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

QStringList stock_cells(const Row& row, int decimals)
{
    return {row.text(u"itemcode"),
            row.text(u"warehouse"),
            row.text(u"location"),
            row.decimal(u"quantity").round(decimals).to_string(),
            row.decimal(u"order_quantity").round(decimals).to_string(),
            row.decimal(u"po_quantity").round(decimals).to_string()};
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
    const QString on_hand = QStringLiteral("SELECT o.*, i.quantity_decimals FROM Item_onhand_table o"
                                           " LEFT JOIN Item_master_table i ON i.itemcode = o.itemcode"
                                           " WHERE o.company = 1 AND o.itemcode = ? ");
    auto cells = [](const Row& row) { return stock_cells(row, int(row.integer(u"quantity_decimals"))); };
    if (pane_visible(*this, "stock_by_location")) {
        const QString item = m_lines->cell(m_lines->current_row(), "item code");
        if (auto rows = db->select(on_hand + QStringLiteral("ORDER BY o.warehouse, o.location"), {item}))
            fill(*m_stock_by_location, *rows, cells);
    }
    if (!pane_visible(*this, "stock_by_item"))
        return;
    Rows found;
    for (int row = 0; row < m_lines->row_count(); ++row) {
        const QString item = m_lines->cell(row, "item code").trimmed();
        if (item.isEmpty() || m_lines->cell(row, "item type") != u"1")
            continue;
        QString warehouse = m_lines->cell(row, "warehouse").trimmed();
        QString location = m_lines->cell(row, "location").trimmed();
        if (location.isEmpty()) {
            warehouse = field("shipto");
            if (warehouse.isEmpty()) {
                message(QStringLiteral("please specify warehouse/location or at least ship-to"));
                return;
            }
            auto fallback = db->scalar(QStringLiteral("SELECT location FROM Warehouse_location_master_table"
                                                      " WHERE warehouse = ? AND \"default\" = TRUE"),
                                       {warehouse});
            if (!fallback || !fallback->isValid()) {
                message(QStringLiteral("please specify warehouse/location for ") + item);
                return;
            }
            location = fallback->toString();
        }
        if (auto rows = db->select(on_hand + QStringLiteral("AND o.warehouse = ? AND o.location = ?"),
                                   {item, warehouse, location}))
            found.insert(found.end(), rows->begin(), rows->end());
    }
    fill(*m_stock_by_item, found, cells);
}

} // namespace zelkor
