#include "windows/document/reorder_lines.h"

#include "documents/common/line_checks.h"
#include "windows/base/grid.h"

namespace zelkor {

namespace {

/// Sets a cell of a column the grid has; the order and the requisition grids differ in a few.
void set_shown(Grid& grid, int row, const QString& caption, const QString& value)
{
    if (const int column = grid.column_index(caption); column >= 0)
        grid.set_cell(row, column, value);
}

void fill_line(Grid& grid, TaxElementStore& taxes, int row, const ReorderProposal& proposal, const ReorderLines& lines,
               const QStringList& quantity_columns, ShownTax shown)
{
    const int itemno = row + 1;
    auto set = [&](const char* caption, const QString& value) { set_shown(grid, row, QString::fromLatin1(caption), value); };
    set("item no", QString::number(itemno));
    set("item code", proposal.itemcode);
    set("item type", QStringLiteral("1"));
    set("description", proposal.description);
    for (const QString& quantity : quantity_columns)
        set_shown(grid, row, quantity, proposal.quantity.to_string());
    set("uom", proposal.uom);
    set("account", proposal.accno);
    set("account name", proposal.account_name);
    set("warehouse", proposal.warehouse);
    set("location", proposal.location);
    set("preferred vendor", proposal.preferred_vendor);
    set("vendor name", proposal.vendor_name);
    set("tax code", lines.tax_code);
    std::optional<Decimal> extended;
    if (proposal.unit_cost) {
        extended = (proposal.quantity * *proposal.unit_cost).round2();
        set("unit cost", proposal.unit_cost->format_at_least());
        set("extended cost", extended->format(2));
    }
    // Without a cost the line keeps empty elements, as a typed item without a last cost does.
    const LineTaxTotals totals = get_fulltax_detail(taxes, itemno, extended, lines.authorities, TaxIncluded::No);
    if (shown == ShownTax::WithinBounds) {
        const LineTax bounded = tax_calculate(extended, lines.authorities, TaxIncluded::No, TaxBounds::Apply);
        set("tax amount", bounded.tax_amount.format(2));
        set("net cost", bounded.net_cost.format(2));
        return;
    }
    set("tax amount", totals.tax_amount.format(2));
    set("allocated tax", totals.allocated.format(2));
    set("net cost", totals.net_cost.format(2));
}

} // namespace

std::expected<ReorderLines, Error> read_reorder_lines(Database& db, bool new_mode, const QString& shipto,
                                                      const QString& vendor_tax_code)
{
    if (!new_mode)
        return std::unexpected(Error::invalid(QStringLiteral("This command is working in new mode.")));
    if (shipto.trimmed().isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("please specify ship-to warehouse")));
    auto proposals = reorder_proposals(db, shipto.trimmed());
    if (!proposals)
        return std::unexpected(proposals.error());
    ReorderLines lines{std::move(*proposals), {}, {}, {}};
    if (lines.proposals.empty())
        return lines;
    auto code = line_default_tax_code(db, vendor_tax_code);
    if (!code) {
        if (code.error().kind == Error::Kind::Database)
            return std::unexpected(code.error());
        lines.tax_code_missing = code.error();
        return lines;
    }
    auto authorities = tax_code_authorities(db, *code);
    if (!authorities)
        return std::unexpected(authorities.error());
    lines.tax_code = *code;
    lines.authorities = std::move(*authorities);
    return lines;
}

void fill_reorder_lines(Grid& grid, TaxElementStore& taxes, const ReorderLines& lines,
                        const QStringList& quantity_columns, ShownTax shown)
{
    grid.clear();
    taxes.clear();
    grid.set_row_count(int(lines.proposals.size()));
    for (int row = 0; row < int(lines.proposals.size()); ++row)
        fill_line(grid, taxes, row, lines.proposals[size_t(row)], lines, quantity_columns, shown);
    grid.append_row();
    // The first proposal is the current line, as a save reads the current row for "No detail line".
    grid.set_current(0, grid.column_index(QStringLiteral("item code")));
}

} // namespace zelkor
