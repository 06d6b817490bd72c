// Cell editing of the bill lines: what typing into a cell checks and fills in. A refused value
// is put back by the window base.
#include "windows/bill/POform_invoice.h"

#include "documents/common/line_checks.h"
#include "windows/bill/invoice_columns.h"
#include "windows/document/tax_panes.h"

namespace zelkor {

namespace {

namespace col = bill_column;

bool from_document(const Grid& lines, int row)
{
    return !lines.cell(row, col::ReceiptNo).trimmed().isEmpty() || !lines.cell(row, col::PoNo).trimmed().isEmpty();
}

} // namespace

Entry POform_invoice::check_cell(Grid& grid, int row, int column, const QString&)
{
    if (grid.name() == tax_detail_pane().grid)
        return taxable_amount_entered(row);
    if (&grid != m_lines)
        return Entry::Accepted;
    const Entry entry = line_cell_typed(row, grid.column(column).caption);
    if (entry == Entry::Accepted && row == grid.current_row())
        refresh_panes();
    return entry;
}

Entry POform_invoice::line_cell_typed(int row, const QString& caption)
{
    Grid& grid = *m_lines;
    const QString value = grid.cell(row, caption).trimmed();
    if (caption == col::ItemCode || caption == col::ItemType) {
        // A line billed from a receipt or an order bills that document's item.
        if (from_document(grid, row))
            return refuse_entry(QStringLiteral("User cannot change item code of receipt/PO item."));
        if (caption == col::ItemType)
            return value.isEmpty() || is_item_type(value) ? Entry::Accepted
                                                          : refuse_entry(QStringLiteral("item type is invalid."));
        if (!value.isEmpty() && field("vendor_no").trimmed().isEmpty())
            return refuse_entry(QStringLiteral("please specify vendor"));
        const Entry entry = item_code_entered(row);
        if (row == grid.current_row())
            current_line_changed();
        return entry;
    }
    if (caption == col::Quantity)
        return amount_typed(row, caption, QStringLiteral("quantity"), NumberColumn::Quantity);
    if (caption == col::UnitCost)
        return amount_typed(row, caption, QStringLiteral("unit cost"), NumberColumn::UnitCost);
    if (caption == col::ExtendedCost)
        return amount_typed(row, caption, QStringLiteral("extended cost"), NumberColumn::Money);
    if (auto entry = line_code_typed(row, caption))
        return *entry;
    return Entry::Accepted;
}

void POform_invoice::current_line_changed()
{
    const int row = m_lines->current_row();
    const QString type = row >= 0 ? m_lines->cell(row, col::ItemType).trimmed() : QString();
    // A line of a listed type chooses among that type's codes; others among every item and charge.
    m_lines->set_column_choices(m_lines->required_column(col::ItemCode),
                                item_type_has_list(type) ? m_lists.item_codes(type) : m_item_choices);
    offer_line_units(row);
    refresh_panes();
}

} // namespace zelkor
