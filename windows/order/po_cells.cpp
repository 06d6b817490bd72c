// Cell editing of the order lines: what typing into a cell checks and fills in. A refused value
// is put back by the window base.
#include "windows/order/POform_po.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "windows/order/po_columns.h"

namespace zelkor {

namespace {

namespace col = po_column;

bool numeric_or_empty(const QString& text)
{
    if (text.trimmed().isEmpty())
        return true;
    const auto value = Decimal::parse(text.trimmed());
    return value && !value->is_overflow();
}

} // namespace

Entry POform_po::check_cell(Grid& grid, int row, int column, const QString& previous)
{
    if (grid.name() == tax_detail_pane().grid)
        return taxable_amount_entered(row);
    if (&grid != m_lines)
        return Entry::Accepted;
    const Entry entry = line_cell_typed(row, grid.column(column).caption, previous);
    if (entry == Entry::Accepted && row == grid.current_row())
        refresh_panes();
    return entry;
}

Entry POform_po::line_cell_typed(int row, const QString& caption, const QString& previous)
{
    Grid& grid = *m_lines;
    const QString value = grid.cell(row, caption).trimmed();
    if (caption == col::ItemCode) {
        const Entry entry = item_code_entered(row);
        if (row == grid.current_row())
            offer_line_units(row);
        return entry;
    }
    if (caption == col::VendorItemCode)
        return vendor_item_code_entered(row);
    if (caption == col::ItemType)
        return value.isEmpty() || is_item_type(value) ? Entry::Accepted : refuse_entry(QStringLiteral("item type is invalid."));
    if (caption == col::QuantityOrder || caption == col::UnitCost || caption == col::ExtendedCost) {
        const bool quantity_typed = caption == col::QuantityOrder;
        const Entry entry = amount_typed(row, caption, quantity_typed ? QStringLiteral("quantity") : caption,
                                         quantity_typed                 ? NumberColumn::Quantity
                                         : caption == col::UnitCost ? NumberColumn::UnitCost
                                                                    : NumberColumn::Money);
        if (entry == Entry::Accepted && quantity_typed && mode() == Mode::New)
            grid.set_cell(row, col::QuantityOpen, value);
        return entry;
    }
    if (caption == col::TaxAmount || caption == col::NetCost) {
        if (!numeric_or_empty(value))
            return refuse_entry(caption == col::NetCost ? QStringLiteral("net cost is invalid.")
                                                       : QStringLiteral("please input numeric data"));
        // What was typed over is recomputed: the line shows, and saves, what its elements give.
        recompute_line_tax(row);
        return Entry::Accepted;
    }
    if (auto entry = line_code_typed(row, caption))
        return *entry;
    if (caption == col::Cancel) {
        if (cell_checked(grid, row, col::Cancel) && cell_amount(grid, row, col::QuantityReceived) > Decimal())
            return refuse_entry(QStringLiteral("cannot cancel this PO line because quantity received > 0"));
        return Entry::Accepted;
    }
    (void)previous;
    return Entry::Accepted;
}

Entry POform_po::vendor_item_code_entered(int row)
{
    const QString part = m_lines->cell(row, col::VendorItemCode).trimmed();
    if (part.isEmpty())
        return Entry::Accepted;
    const Choices& parts = m_lines->column(m_lines->required_column(col::VendorItemCode)).choices;
    const int found = parts.find(part);
    if (found < 0) {
        message(QStringLiteral("vendor item code is invalid."));
        return Entry::Refused;
    }
    m_lines->set_cell(row, col::ItemType, parts.rows[size_t(found)].value(3));
    m_lines->set_cell(row, col::ItemCode, parts.rows[size_t(found)].value(1));
    return item_code_entered(row);
}

} // namespace zelkor
