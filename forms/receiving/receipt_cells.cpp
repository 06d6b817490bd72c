// Cell editing of the receipt lines: what typing into a cell checks and fills in. A refused
// value is put back by the window base.
#include "forms/receiving/POform_receipt.h"

#include "forms/common/document_lines.h"
#include "forms/receiving/receipt_columns.h"

namespace zelkor {

namespace {

namespace col = receipt_column;

} // namespace

Entry POform_receipt::check_cell(Grid& grid, int row, int column, const QString& previous)
{
    if (grid.name() == tax_detail_pane().grid)
        return taxable_amount_entered(row);
    if (&grid != m_lines || grid.cell(row, column) == previous)
        return Entry::Accepted;
    const Entry entry = line_cell_typed(row, grid.column(column).caption);
    if (entry == Entry::Accepted && row == grid.current_row())
        refresh_panes();
    return entry;
}

Entry POform_receipt::line_cell_typed(int row, const QString& caption)
{
    Grid& grid = *m_lines;
    const QString value = grid.cell(row, caption).trimmed();
    auto refuse_with = [this](const QString& text) {
        message(text);
        return Entry::Refused;
    };
    const bool order_line = !grid.cell(row, col::PoNo).trimmed().isEmpty();
    if (caption == col::ItemCode || caption == col::ItemType) {
        // An order line receives the order's item; only a free line names its own.
        if (order_line)
            return refuse_with(QStringLiteral("The item of a PO line cannot be changed."));
        if (caption == col::ItemType)
            return value.isEmpty() || is_item_type(value) ? Entry::Accepted
                                                          : refuse_with(QStringLiteral("item type is invalid."));
        const Entry entry = item_code_entered(row);
        if (row == grid.current_row())
            offer_line_units(row);
        return entry;
    }
    if (caption == col::QuantityReceived || caption == col::QuantityCanceled)
        return amount_typed(row, caption, caption, NumberColumn::Quantity);
    if (caption == col::UnitCost)
        return amount_typed(row, caption, caption, NumberColumn::UnitCost);
    if (caption == col::ExtendedCost)
        return amount_typed(row, caption, caption, NumberColumn::Money);
    if (auto entry = line_code_typed(row, caption))
        return *entry;
    return Entry::Accepted;
}

} // namespace zelkor
