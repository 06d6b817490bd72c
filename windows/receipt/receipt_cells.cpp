// Cell editing of the receipt lines: what typing into a cell checks and fills in. A refused
// value is put back by the window base.
#include "windows/receipt/POform_receipt.h"

#include "core/fiscal_periods.h"
#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "payables/payables.h"
#include "windows/receipt/receipt_columns.h"

#include <array>

namespace zelkor {

namespace {

namespace col = receipt_column;
namespace landed = receipt_landed_column;

} // namespace

Entry POform_receipt::check_cell(Grid& grid, int row, int column, const QString& previous)
{
    if (grid.name() == tax_detail_pane().grid)
        return taxable_amount_entered(row);
    if (&grid == m_landed) {
        if (grid.cell(row, column) == previous)
            return Entry::Accepted;
        const Entry entry = landed_cell_typed(row, grid.column(column).caption);
        if (entry == Entry::Accepted && row == grid.current_row())
            refresh_landed_tax_pane();
        return entry;
    }
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
    const bool order_line = !grid.cell(row, col::PoNo).trimmed().isEmpty();
    if (caption == col::ItemCode || caption == col::ItemType) {
        // An order line receives the order's item; only a free line names its own.
        if (order_line)
            return refuse_entry(QStringLiteral("The item of a PO line cannot be changed."));
        if (caption == col::ItemType)
            return value.isEmpty() || is_item_type(value) ? Entry::Accepted
                                                          : refuse_entry(QStringLiteral("item type is invalid."));
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

Entry POform_receipt::bill_field_typed(const QString& name)
{
    const QString value = field(name).trimmed();
    // What the save keeps only with a bill number, or only for a check, is not taken without it.
    if (name == u"vendor_invoice_date" && !value.isEmpty() && field("vendor_invoice_no").trimmed().isEmpty())
        return refuse_entry(QStringLiteral("please specify vendor invoice no first"));
    if ((name == u"check_no" || name == u"check_date") && !value.isEmpty() && field("payby").trimmed() != PayByCheck)
        return refuse_entry(QStringLiteral("A check number and date are kept only when paying by Check."));
    if (name == u"vendor_invoice_date" || name == u"check_date") {
        if (auto date = field_date(name); !date)
            return refuse_entry(date.error().message);
        return Entry::Accepted;
    }
    if (name == u"payby") {
        if (choice_typed(name, find_field(name)->choices, QStringLiteral("pay by is invalid.")) != Entry::Accepted)
            return Entry::Refused;
        if (field(name).trimmed() != PayByCheck)
            for (const char* check : {"check_no", "check_date"})
                set_field(check, QString());
        return Entry::Accepted;
    }
    if (name == u"check_no")
        return Entry::Accepted;
    if (name == u"cash_accno")
        return choice_typed(name, find_field(name)->choices, QStringLiteral("cash account is invalid."));
    if (name == u"bank_code")
        return choice_typed(name, find_field(name)->choices, QStringLiteral("Bank code ") + shown_value(value)
                                                                 + QStringLiteral(" is invalid."));
    if (value.isEmpty())
        return Entry::Accepted;
    const auto number = Decimal::parse(value);
    if (name == u"prepayment") {
        if (!number || column_problem(*number, NumberColumn::Money))
            return refuse_entry(QStringLiteral("prepayment is invalid."));
        if (number->is_negative())
            return refuse_entry(QStringLiteral("Prepayment must be positive"));
        return Entry::Accepted;
    }
    if (name == u"discount_amount") {
        if (!number || column_problem(*number, NumberColumn::Money))
            return refuse_entry(QStringLiteral("please input numeric data"));
        if (number->is_negative())
            return refuse_entry(QStringLiteral("discount amount must be positive"));
        set_field("discount_percent", QString());
        return Entry::Accepted;
    }
    if (name == u"discount_percent") {
        if (!number)
            return refuse_entry(QStringLiteral("please input numeric data"));
        // The percent is stored to four decimals.
        if (number->is_negative() || *number > Decimal(100) || number->round(4) != *number)
            return refuse_entry(QStringLiteral("discount percent is invalid."));
        apply_discount_percent();
        return Entry::Accepted;
    }
    return Entry::Accepted;
}

void POform_receipt::apply_discount_percent()
{
    const auto percent = Decimal::parse(field("discount_percent").trimmed());
    if (!percent)
        return;
    const Decimal total = parse_amount(field("total")).value_or(Decimal());
    set_field("discount_amount", (total * *percent / Decimal(100)).round2().format(2));
}

Entry POform_receipt::landed_cell_typed(int row, const QString& caption)
{
    using Typed = Entry (POform_receipt::*)(int row, const QString& caption, const QString& value);
    struct Handler {
        QLatin1String caption;
        Typed typed;
    };
    static const std::array<Handler, 8> handlers{{
        {landed::VendorNo, &POform_receipt::landed_vendor_typed},
        {landed::BillDate, &POform_receipt::landed_bill_date_typed},
        {landed::ItemCode, &POform_receipt::landed_charge_typed},
        {landed::Quantity, &POform_receipt::landed_amount_typed},
        {landed::UnitCost, &POform_receipt::landed_amount_typed},
        {landed::ExtendedCost, &POform_receipt::landed_amount_typed},
        {landed::TaxCode, &POform_receipt::landed_tax_code_typed},
        {landed::Account, &POform_receipt::landed_account_typed},
    }};
    Grid& grid = *m_landed;
    // A charge keeps the line number its tax elements are filed under.
    if (grid.cell(row, landed::ItemNo).isEmpty()) {
        int last = 0;
        for (int other = 0; other < grid.row_count(); ++other)
            last = std::max(last, grid.cell(other, landed::ItemNo).toInt());
        grid.set_cell(row, landed::ItemNo, QString::number(last + 1));
    }
    for (const Handler& handler : handlers)
        if (caption == handler.caption)
            return (this->*handler.typed)(row, caption, grid.cell(row, caption).trimmed());
    return Entry::Accepted;
}

Entry POform_receipt::landed_vendor_typed(int, const QString&, const QString& value)
{
    if (!value.isEmpty() && m_lists.vendors.find(value) < 0)
        return refuse_entry(QStringLiteral("vendor is invalid."));
    return Entry::Accepted;
}

Entry POform_receipt::landed_bill_date_typed(int, const QString&, const QString& value)
{
    if (!value.isEmpty())
        if (auto date = parse_user_date(value, settings().ZELKOR_DATE_FORMAT); !date)
            return refuse_entry(date.error().message);
    return Entry::Accepted;
}

Entry POform_receipt::landed_charge_typed(int row, const QString&, const QString& value)
{
    if (value.isEmpty())
        return Entry::Accepted;
    auto charge = charge_row(db(), value);
    if (!charge) {
        report(charge.error(), QStringLiteral("Reading charge ") + shown_value(value) + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    if (!*charge)
        return refuse_entry(QStringLiteral("item code is invalid."));
    Grid& grid = *m_landed;
    grid.set_cell(row, landed::Description, (*charge)->text(u"Description"));
    grid.set_cell(row, landed::Account, (*charge)->text(u"account"));
    QString tax_code = (*charge)->text(u"tax_code").trimmed();
    if (tax_code.isEmpty())
        tax_code = m_vendor_tax_code;
    if (tax_code.isEmpty()) {
        auto code = zelkor::default_tax_code(db());
        if (!code)
            return refuse_entry(code.error().message);
        tax_code = *code;
    }
    grid.set_cell(row, landed::TaxCode, tax_code);
    if (grid.cell(row, landed::Quantity).trimmed().isEmpty())
        grid.set_cell(row, landed::Quantity, QStringLiteral("1"));
    recompute_landed_tax(row);
    return Entry::Accepted;
}

Entry POform_receipt::landed_amount_typed(int row, const QString& caption, const QString& value)
{
    const NumberColumn column = caption == landed::Quantity   ? NumberColumn::Quantity
                                : caption == landed::UnitCost ? NumberColumn::UnitCost
                                                              : NumberColumn::Money;
    if (auto checked = typed_number(value, caption, column); !checked)
        return refuse_entry(checked.error().message);
    Grid& grid = *m_landed;
    const auto quantity = cell_number(grid, row, landed::Quantity);
    const auto unitcost = cell_number(grid, row, landed::UnitCost);
    if (caption == landed::ExtendedCost) {
        if (const auto extended = cell_number(grid, row, landed::ExtendedCost); extended && quantity
                                                                                && *quantity > Decimal())
            grid.set_cell(row, landed::UnitCost, (*extended / *quantity).round(6).format_at_least());
    } else if (quantity && unitcost) {
        auto extended = extended_cost_of(*quantity, *unitcost);
        if (!extended)
            return refuse_entry(extended.error().message);
        grid.set_cell(row, landed::ExtendedCost, extended->format(2));
    }
    recompute_landed_tax(row);
    return Entry::Accepted;
}

Entry POform_receipt::landed_tax_code_typed(int row, const QString&, const QString& value)
{
    if (!value.isEmpty() && m_lists.tax_codes.find(value) < 0)
        return refuse_entry(QStringLiteral("tax code is invalid."));
    recompute_landed_tax(row);
    return Entry::Accepted;
}

Entry POform_receipt::landed_account_typed(int, const QString&, const QString& value)
{
    if (!value.isEmpty() && m_lists.all_accounts.find(value) < 0)
        return refuse_entry(QStringLiteral("account is invalid."));
    return Entry::Accepted;
}

void POform_receipt::recompute_landed_tax(int row)
{
    Grid& grid = *m_landed;
    const int itemno = grid.cell(row, landed::ItemNo).toInt();
    if (!database() || itemno <= 0)
        return;
    const auto extended = cell_number(grid, row, landed::ExtendedCost);
    auto totals = get_fulltax_detail(db(), m_landed_taxes, itemno, extended ? taxable_amount(*extended) : std::nullopt,
                                     grid.cell(row, landed::TaxCode).trimmed(), TaxIncluded::No);
    if (!totals) {
        m_landed_taxes.remove_line(itemno);
        report(totals.error(), QStringLiteral("Computing the tax of landed line ") + QString::number(itemno)
                                   + QStringLiteral(" failed"));
        return;
    }
    grid.set_cell(row, landed::TaxAmount, totals->tax_amount.format(2));
    calculate_totals();
    if (row == grid.current_row())
        refresh_landed_tax_pane();
}

void POform_receipt::refresh_landed_tax_pane()
{
    const int row = m_landed->current_row();
    const int itemno = row >= 0 ? m_landed->cell(row, landed::ItemNo).toInt() : 0;
    m_landed_tax_pane->show_line(m_landed_taxes, itemno);
}

} // namespace zelkor
