// Cell editing of the order lines: what typing into a cell checks and fills in. A refused value
// is put back by the window base.
#include "forms/purchasing/POform_po.h"

#include "forms/purchasing/po_columns.h"
#include "forms/common/document_lines.h"
#include "services/master_lookups.h"

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
    auto refuse_with = [this](const QString& text) {
        message(text);
        return Entry::Refused;
    };
    if (caption == col::ItemCode) {
        const Entry entry = item_code_entered(row);
        if (row == grid.current_row())
            offer_line_units(row);
        return entry;
    }
    if (caption == col::VendorItemCode)
        return vendor_item_code_entered(row);
    if (caption == col::ItemType)
        return value.isEmpty() || is_item_type(value) ? Entry::Accepted : refuse_with(QStringLiteral("item type is invalid."));
    if (caption == col::QuantityOrder || caption == col::UnitCost || caption == col::ExtendedCost) {
        const bool quantity_typed = caption == col::QuantityOrder;
        auto checked = typed_number(value, quantity_typed ? QStringLiteral("quantity") : caption,
                                    quantity_typed                 ? NumberColumn::Quantity
                                    : caption == col::UnitCost ? NumberColumn::UnitCost
                                                               : NumberColumn::Money);
        if (!checked)
            return refuse_with(checked.error().message);
        const auto quantity = cell_number(grid, row, col::QuantityOrder);
        const auto unitcost = cell_number(grid, row, col::UnitCost);
        if (caption == col::ExtendedCost) {
            if (const auto extended = cell_number(grid, row, col::ExtendedCost); extended && quantity) {
                // The unit cost keeps the six decimals it is saved with.
                const Decimal divisor = quantity->is_negative() || quantity->is_zero() ? Decimal(1) : *quantity;
                grid.set_cell(row, col::UnitCost, (*extended / divisor).round(6).to_string());
            }
        } else if (quantity && unitcost) {
            auto extended = extended_cost_of(*quantity, *unitcost);
            if (!extended)
                return refuse_with(extended.error().message);
            grid.set_cell(row, col::ExtendedCost, extended->format(2));
        }
        if (caption == col::QuantityOrder && mode() == Mode::New)
            grid.set_cell(row, col::QuantityOpen, value);
        recompute_line_tax(row);
        return Entry::Accepted;
    }
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
    if (caption == col::TaxAmount || caption == col::NetCost) {
        if (!numeric_or_empty(value))
            return refuse_with(caption == col::NetCost ? QStringLiteral("net cost is invalid.")
                                                       : QStringLiteral("please input numeric data"));
        // What was typed over is recomputed: the line shows, and saves, what its elements give.
        recompute_line_tax(row);
        return Entry::Accepted;
    }
    if (caption == col::Uom) {
        // A stock item's line takes the item's own units only, as in the requisition.
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
        grid.set_cell(row, col::AccountName, m_lists.all_accounts.lookup(*chosen, 1));
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
    if (caption == col::Cancel) {
        if (cell_checked(grid, row, col::Cancel) && cell_amount(grid, row, col::QuantityReceived) > Decimal())
            return refuse_with(QStringLiteral("cannot cancel this PO line because quantity received > 0"));
        return Entry::Accepted;
    }
    (void)previous;
    return Entry::Accepted;
}

Entry POform_po::taxable_amount_entered(int row)
{
    const int itemno = tax_panes().shown_line();
    for (int line = 0; line < m_lines->row_count(); ++line) {
        if (itemno <= 0 || m_lines->cell(line, col::ItemNo).toInt() != itemno)
            continue;
        const TaxIncluded included = cell_checked(*m_lines, line, col::TaxIncluded) ? TaxIncluded::Yes : TaxIncluded::No;
        auto totals = tax_panes().taxable_amount_edited(taxes(), row, taxable_amount_of(line), included);
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

Entry POform_po::item_code_entered(int row)
{
    const QString code = m_lines->cell(row, col::ItemCode).trimmed();
    if (code.isEmpty()) {
        for (QLatin1String cleared : {col::ItemType, col::Description, col::QuantityOrder, col::Uom, col::UnitCost,
                                      col::ExtendedCost, col::NetCost, col::Warehouse, col::Location, col::TaxCode,
                                      col::TaxAmount, col::AllocatedTax, col::Account, col::AccountName,
                                      col::VendorItemCode})
            m_lines->set_cell(row, cleared, QString());
        taxes().remove_line(m_lines->cell(row, col::ItemNo).toInt());
        calculate_totals();
        return Entry::Accepted;
    }
    const QString type = m_lines->cell(row, col::ItemType).trimmed();
    if (type.isEmpty() || is_master_item(type)) {
        // A short name stands for its item.
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
            m_lines->set_cell(row, col::ItemCode, (*item)->text(u"itemcode"));
            m_lines->set_cell(row, col::ItemType, (*item)->text(u"item_type"));
            return fill_item_defaults(row, **item);
        }
    }
    if (type.isEmpty() || type == u"6") {
        auto charge = charge_row(db(), code);
        if (!charge) {
            report(charge.error(), QStringLiteral("Reading charge ") + code + QStringLiteral(" failed"));
            return Entry::Refused;
        }
        if (*charge) {
            m_lines->set_cell(row, col::ItemType, QStringLiteral("6"));
            m_lines->set_cell(row, col::Description, (*charge)->text(u"Description"));
            m_lines->set_cell(row, col::TaxCode, (*charge)->text(u"tax_code"));
            m_lines->set_cell(row, col::Account, (*charge)->text(u"account"));
            m_lines->set_cell(row, col::AccountName, m_lists.all_accounts.lookup((*charge)->text(u"account"), 1));
            renumber_lines();
            recompute_line_tax(row);
            return Entry::Accepted;
        }
    }
    if (type == u"3" || type == u"4" || type == u"5" || type == u"0") {
        renumber_lines();
        if (default_tax_code(row))
            recompute_line_tax(row);
        return Entry::Accepted;
    }
    message(QStringLiteral("item code is invalid."));
    return Entry::Refused;
}

bool POform_po::default_tax_code(int row)
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

Entry POform_po::fill_item_defaults(int row, const Row& item)
{
    const QString code = item.text(u"itemcode");
    m_lines->set_cell(row, col::Description, item.text(u"description"));
    default_tax_code(row);
    auto filled = fill_line_from_item(db(), *m_lines, row, item, field("shipto").trimmed());
    if (filled)
        filled = fill_item_default_place(db(), *m_lines, row);
    if (!filled) {
        report(filled.error(), QStringLiteral("Reading item ") + code + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    renumber_lines();
    if (const auto quantity = cell_number(*m_lines, row, col::QuantityOrder))
        if (const auto unitcost = cell_number(*m_lines, row, col::UnitCost))
            if (auto extended = extended_cost_of(*quantity, *unitcost))
                m_lines->set_cell(row, col::ExtendedCost, extended->format(2));
    recompute_line_tax(row);
    return Entry::Accepted;
}

} // namespace zelkor
