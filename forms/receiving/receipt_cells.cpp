// Cell editing of the receipt lines: what typing into a cell checks and fills in. A refused
// value is put back by the window base.
#include "forms/receiving/POform_receipt.h"

#include "forms/common/document_lines.h"
#include "forms/receiving/receipt_columns.h"
#include "services/master_lookups.h"

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
    if (caption == col::QuantityReceived || caption == col::QuantityCanceled || caption == col::UnitCost
        || caption == col::ExtendedCost)
        return quantity_or_cost_entered(row, caption);
    if (caption == col::TaxCode) {
        auto chosen = chosen_value(m_lists.tax_codes, value, QStringLiteral("tax code is invalid."));
        if (!chosen)
            return refuse_with(chosen.error().message);
        grid.set_cell(row, col::TaxCode, *chosen);
        recompute_line_tax(row);
        return Entry::Accepted;
    }
    if (caption == col::TaxIncluded) {
        recompute_line_tax(row);
        return Entry::Accepted;
    }
    if (caption == col::Uom) {
        auto units = line_unit_choices(db(), m_lists.units, grid.cell(row, col::ItemType).trimmed(),
                                       grid.cell(row, col::ItemCode).trimmed());
        if (!units) {
            report(units.error(), QStringLiteral("Reading the units of ") + grid.cell(row, col::ItemCode)
                                      + QStringLiteral(" failed"));
            return Entry::Refused;
        }
        auto chosen = chosen_value(*units, value, QStringLiteral("Invalid uom"));
        if (!chosen)
            return refuse_with(chosen.error().message);
        grid.set_cell(row, col::Uom, *chosen);
        return Entry::Accepted;
    }
    if (caption == col::Account) {
        auto chosen = chosen_value(m_lists.all_accounts, value, QStringLiteral("account is invalid."));
        if (!chosen)
            return refuse_with(chosen.error().message);
        grid.set_cell(row, col::Account, *chosen);
        return Entry::Accepted;
    }
    if (caption == col::Warehouse || caption == col::Location) {
        if (value.isEmpty()) {
            if (auto filled = fill_item_default_place(db(), grid, row); !filled)
                report(filled.error(), QStringLiteral("Reading the default place of ") + grid.cell(row, col::ItemCode)
                                           + QStringLiteral(" failed"));
            return Entry::Accepted;
        }
        if (caption == col::Warehouse) {
            auto chosen = chosen_value(m_lists.warehouses, value, QStringLiteral("warehouse is invalid."));
            if (!chosen)
                return refuse_with(chosen.error().message);
            grid.set_cell(row, col::Warehouse, *chosen);
            return Entry::Accepted;
        }
        return m_lists.has_location(grid.cell(row, col::Warehouse).trimmed(), value)
                   ? Entry::Accepted
                   : refuse_with(QStringLiteral("location is invalid."));
    }
    return Entry::Accepted;
}

Entry POform_receipt::quantity_or_cost_entered(int row, const QString& caption)
{
    Grid& grid = *m_lines;
    const QString value = grid.cell(row, caption).trimmed();
    const bool quantity_typed = caption == col::QuantityReceived || caption == col::QuantityCanceled;
    auto checked = typed_number(value, caption, quantity_typed         ? NumberColumn::Quantity
                                                : caption == col::UnitCost ? NumberColumn::UnitCost
                                                                           : NumberColumn::Money);
    if (!checked) {
        message(checked.error().message);
        return Entry::Refused;
    }
    if (caption == col::QuantityCanceled)
        return Entry::Accepted;
    const auto quantity = cell_number(grid, row, col::QuantityReceived);
    const auto unitcost = cell_number(grid, row, col::UnitCost);
    if (caption == col::ExtendedCost) {
        if (const auto extended = cell_number(grid, row, col::ExtendedCost); extended && quantity && *quantity > Decimal())
            grid.set_cell(row, col::UnitCost, (*extended / *quantity).round(6).to_string());
    } else if (quantity && unitcost) {
        auto extended = extended_cost_of(*quantity, *unitcost);
        if (!extended) {
            message(extended.error().message);
            return Entry::Refused;
        }
        grid.set_cell(row, col::ExtendedCost, extended->format(2));
    }
    recompute_line_tax(row);
    return Entry::Accepted;
}

Entry POform_receipt::taxable_amount_entered(int row)
{
    const int itemno = tax_panes().shown_line();
    for (int line = 0; line < m_lines->row_count(); ++line) {
        if (itemno <= 0 || m_lines->cell(line, col::ItemNo).toInt() != itemno)
            continue;
        const TaxIncluded included = cell_checked(*m_lines, line, col::TaxIncluded) ? TaxIncluded::Yes : TaxIncluded::No;
        const auto extended = cell_number(*m_lines, line, col::ExtendedCost);
        auto totals = tax_panes().taxable_amount_edited(taxes(), row, extended ? taxable_amount(*extended) : std::nullopt,
                                                        included);
        if (!totals) {
            message(totals.error().message);
            return Entry::Refused;
        }
        m_lines->set_cell(line, col::TaxAmount, totals->tax_amount.format(2));
        m_lines->set_cell(line, col::AllocatedTax, totals->allocated.format(2));
        m_lines->set_cell(line, col::NetCost, totals->net_cost.format(2));
        calculate_totals();
        return Entry::Accepted;
    }
    return Entry::Accepted;
}

Entry POform_receipt::item_code_entered(int row)
{
    Grid& grid = *m_lines;
    const QString code = grid.cell(row, col::ItemCode).trimmed();
    if (code.isEmpty()) {
        for (QLatin1String cleared : {col::ItemType, col::Description, col::QuantityReceived, col::QuantityCanceled,
                                      col::Uom, col::UnitCost, col::ExtendedCost, col::NetCost, col::Warehouse,
                                      col::Location, col::TaxCode, col::TaxAmount, col::AllocatedTax, col::Account})
            grid.set_cell(row, cleared, QString());
        taxes().remove_line(grid.cell(row, col::ItemNo).toInt());
        calculate_totals();
        return Entry::Accepted;
    }
    const QString type = grid.cell(row, col::ItemType).trimmed();
    if (type.isEmpty() || is_master_item(type)) {
        auto item = item_by_code_or_short_name(db(), code);
        if (!item) {
            report(item.error(), QStringLiteral("Reading item ") + code + QStringLiteral(" failed"));
            return Entry::Refused;
        }
        if (*item) {
            if (!(*item)->flag(u"active")) {
                message(code + QStringLiteral(" is inactive."));
                return Entry::Refused;
            }
            grid.set_cell(row, col::ItemCode, (*item)->text(u"itemcode"));
            grid.set_cell(row, col::ItemType, (*item)->text(u"item_type"));
            grid.set_cell(row, col::Description, (*item)->text(u"description"));
            default_tax_code(row);
            auto filled = fill_line_from_item(db(), grid, row, **item, field("shipto").trimmed());
            if (filled)
                filled = fill_item_default_place(db(), grid, row);
            if (!filled) {
                report(filled.error(), QStringLiteral("Reading item ") + code + QStringLiteral(" failed"));
                return Entry::Refused;
            }
            renumber_lines();
            quantity_or_cost_entered(row, col::UnitCost);
            return Entry::Accepted;
        }
    }
    if (type.isEmpty() || type == u"6") {
        auto charge = charge_row(db(), code);
        if (!charge) {
            report(charge.error(), QStringLiteral("Reading charge ") + code + QStringLiteral(" failed"));
            return Entry::Refused;
        }
        if (*charge) {
            grid.set_cell(row, col::ItemType, QStringLiteral("6"));
            grid.set_cell(row, col::Description, (*charge)->text(u"Description"));
            grid.set_cell(row, col::TaxCode, (*charge)->text(u"tax_code"));
            grid.set_cell(row, col::Account, (*charge)->text(u"account"));
            renumber_lines();
            recompute_line_tax(row);
            return Entry::Accepted;
        }
    }
    if (type == u"3" || type == u"4" || type == u"5") {
        renumber_lines();
        if (default_tax_code(row))
            recompute_line_tax(row);
        return Entry::Accepted;
    }
    message(QStringLiteral("item code is invalid."));
    return Entry::Refused;
}

bool POform_receipt::default_tax_code(int row)
{
    if (!m_lines->cell(row, col::TaxCode).trimmed().isEmpty())
        return true;
    auto code = line_default_tax_code(db(), m_vendor_tax_code);
    if (!code) {
        report(code.error());
        return false;
    }
    m_lines->set_cell(row, col::TaxCode, *code);
    return true;
}

} // namespace zelkor
