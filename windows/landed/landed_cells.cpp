// Cell editing of the charge lines and the list of covered receipts: what typing into a cell
// checks and fills in. A refused value is put back by the window base.
#include "windows/landed/POform_landed.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "windows/document/tax_panes.h"
#include "windows/landed/landed_columns.h"

namespace zelkor {

namespace {

namespace col = landed_column;
namespace rc = landed_receipt_column;

} // namespace

Entry POform_landed::check_cell(Grid& grid, int row, int column, const QString&)
{
    if (grid.name() == tax_detail_pane().grid)
        return taxable_amount_entered(row);
    if (&grid == m_covered) {
        const QString receipt = grid.cell(row, rc::ReceiptNo).trimmed();
        if (!receipt.isEmpty() && find_field("receipt_no")->choices.find(receipt) < 0)
            return refuse_entry(receipt + QStringLiteral(" is invalid."));
        return Entry::Accepted;
    }
    if (&grid != m_lines)
        return Entry::Accepted;
    const Entry entry = line_cell_typed(row, grid.column(column).caption);
    if (entry == Entry::Accepted && row == grid.current_row())
        refresh_tax_panes();
    return entry;
}

Entry POform_landed::line_cell_typed(int row, const QString& caption)
{
    Grid& grid = *m_lines;
    const QString value = grid.cell(row, caption).trimmed();
    if (caption == col::ItemCode)
        return charge_entered(row);
    if (caption == col::Quantity || caption == col::UnitCost || caption == col::ExtendedCost) {
        if (!value.isEmpty() && !Decimal::parse(value))
            return refuse_entry(QStringLiteral("please input numeric data"));
        if (caption == col::Quantity)
            return amount_typed(row, caption, QStringLiteral("quantity"), NumberColumn::Quantity);
        if (caption == col::UnitCost)
            return amount_typed(row, caption, QStringLiteral("unit cost"), NumberColumn::UnitCost);
        return amount_typed(row, caption, QStringLiteral("extended cost"), NumberColumn::Money);
    }
    if (caption == col::Expense)
        return Entry::Accepted;
    if (auto entry = line_code_typed(row, caption))
        return *entry;
    return Entry::Accepted;
}

Entry POform_landed::charge_entered(int row)
{
    Grid& grid = *m_lines;
    const QString code = grid.cell(row, col::ItemCode).trimmed();
    if (code.isEmpty()) {
        taxes().remove_line(grid.cell(row, col::ItemNo).toInt());
        for (QLatin1String cleared : {col::Description, col::Quantity, col::Uom, col::UnitCost, col::ExtendedCost, col::TaxCode,
                                      col::TaxAmount, col::AllocatedTax, col::NetCost, col::Account, col::AccountName})
            grid.set_cell(row, cleared, QString());
        calculate_totals();
        return Entry::Accepted;
    }
    auto charge = charge_row(db(), code);
    if (!charge) {
        report(charge.error(), QStringLiteral("Reading charge ") + shown_value(code) + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    if (!*charge)
        return refuse_entry(shown_value(code) + QStringLiteral(" is invalid."));
    // A new line takes the charge's description and account and the company's default tax code.
    auto tax_code = zelkor::default_tax_code(db());
    if (!tax_code) {
        report(tax_code.error());
        return Entry::Refused;
    }
    grid.set_cell(row, col::ItemType, QStringLiteral("6"));
    grid.set_cell(row, col::Description, (*charge)->text(u"Description"));
    grid.set_cell(row, col::Account, (*charge)->text(u"account"));
    grid.set_cell(row, col::AccountName, m_lists.all_accounts.lookup((*charge)->text(u"account"), 1));
    grid.set_cell(row, col::TaxCode, *tax_code);
    if (grid.cell(row, col::Quantity).trimmed().isEmpty())
        grid.set_cell(row, col::Quantity, QStringLiteral("1"));
    renumber_lines();
    recompute_line_tax(row);
    // The next charge goes on a fresh line below.
    if (row == grid.row_count() - 1)
        grid.append_row();
    return Entry::Accepted;
}

} // namespace zelkor
