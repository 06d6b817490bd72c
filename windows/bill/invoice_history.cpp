// The history panes of the bill window: the vendor's receipt lines and bill lines since a start
// date, and its order lines; a receipt of the receipt history is taken into the bill.
#include "windows/bill/POform_invoice.h"

#include "windows/bill/invoice_columns.h"
#include "windows/document/history_panes.h"

#include <QLocale>

namespace zelkor {

namespace {

namespace history = bill_history_column;

QString shown_date(const QDate& date) { return QLocale::c().toString(date, QStringLiteral("MMM dd, yyyy")); }

using RowCells = QStringList (*)(const Row&);

void show_rows(Grid& grid, const Rows& rows, RowCells cells)
{
    grid.set_row_count(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const QStringList texts = cells(rows[size_t(row)]);
        for (int column = 0; column < int(texts.size()); ++column)
            grid.set_cell(row, column, texts[column]);
    }
}

QStringList receipt_history_cells(const Row& line)
{
    return {line.text(u"docno"),
            shown_date(line.date(u"receipt_date")),
            line.text(u"itemno"),
            line.text(u"itemcode"),
            line.text(u"description"),
            line.decimal(u"quantity_received").to_string(),
            line.decimal(u"quantity_open_for_bill").to_string(),
            line.text(u"uom"),
            line.decimal(u"unitcost").format_at_least(),
            line.decimal(u"extended_cost").format(2),
            check_text(line.flag(u"billed"))};
}

QStringList invoice_history_cells(const Row& line)
{
    return {line.text(u"docno"),
            shown_date(line.date(u"invoice_date")),
            line.text(u"invoice_no"),
            line.text(u"itemno"),
            line.text(u"itemcode"),
            line.text(u"Description"),
            line.decimal(u"quantity").to_string(),
            line.text(u"uom_received"),
            line.decimal(u"unitcost").format_at_least(),
            line.decimal(u"extended_cost").format(2),
            line.text(u"receipt_no"),
            line.text(u"PONO")};
}

} // namespace

void POform_invoice::refresh_histories()
{
    const QString vendor = field("vendor_no").trimmed();
    if (!database())
        return;
    auto read = [&](Grid& grid, const QString& sql, const QString& from_field, RowCells cells) {
        const QDate from = field_date(from_field).value_or(QDate());
        auto rows = db().select(sql, {vendor, from.isValid() ? from : today().addMonths(-6)});
        if (!rows) {
            report(rows.error(), QStringLiteral("Reading the history of ") + vendor + QStringLiteral(" failed"));
            return;
        }
        show_rows(grid, *rows, cells);
    };
    if (pane_visible(QStringLiteral("receipt_history")))
        read(*m_receipt_history,
             QStringLiteral("SELECT h.docno, h.receipt_date, l.itemno, l.itemcode, l.description, l.quantity_received,"
                            " l.quantity_open_for_bill, l.uom, l.unitcost, l.extended_cost, l.billed"
                            " FROM PO_receipt_transaction_table l INNER JOIN PO_receipt_header_table h ON h.fkey = l.fkey"
                            " WHERE h.company = 1 AND h.vendor_no = ? AND h.receipt_date >= ? AND h.void = FALSE"
                            " AND l.landed_item = FALSE ORDER BY h.receipt_date DESC, h.docno DESC, l.itemno"),
             QStringLiteral("receipt_history_from"), receipt_history_cells);
    if (pane_visible(QStringLiteral("invoice_history")))
        read(*m_invoice_history,
             QStringLiteral("SELECT docno, invoice_date, invoice_no, itemno, itemcode, Description, quantity,"
                            " uom_received, unitcost, extended_cost, receipt_no, PONO FROM PO_invoice_transaction_table"
                            " WHERE company = 1 AND vendor_no = ? AND invoice_date >= ? AND void = FALSE"
                            " ORDER BY docno DESC, itemno"),
             QStringLiteral("invoice_history_from"), invoice_history_cells);
    if (pane_visible(QStringLiteral("order"))) {
        if (auto shown = show_purchase_histories(db(), m_order_history, vendor, nullptr, {}, today().addMonths(-6));
            !shown)
            report(shown.error(), QStringLiteral("Reading the purchase history failed"));
    }
}

bool POform_invoice::take_history_receipt(int row)
{
    if (mode() == Mode::Read || row < 0 || row >= m_receipt_history->row_count())
        return false;
    const QString number = m_receipt_history->cell(row, history::ReceiptNo);
    if (!find_field("multi_receipt")->checked())
        set_field("receipt_no", number);
    return take_receipt(number);
}

} // namespace zelkor
