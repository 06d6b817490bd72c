// Cell editing of the order lines: what typing into a cell checks and fills in.
#include "forms/purchasing/POform_po.h"

#include "forms/purchasing/purchasing_lines.h"
#include "services/master_lookups.h"

namespace zelkor {

namespace {

bool is_master_item(const QString& type) { return type == u"1" || type == u"2"; }

} // namespace

Entry POform_po::check_cell(Grid& grid, int row, int column, const QString& previous)
{
    if (grid.name() == tax_detail_pane().grid)
        return taxable_amount_entered(row);
    if (&grid != m_lines)
        return Entry::Accepted;
    const QString caption = grid.column(column).caption;
    const QString value = grid.cell(row, column).trimmed();
    auto refuse = [&](const QString& text) {
        message(text);
        grid.set_cell(row, column, previous);
        return Entry::Refused;
    };
    auto numeric = [&] { return value.isEmpty() || Decimal::parse(value).has_value(); };
    if (caption == u"item code") {
        const Entry entry = item_code_entered(row, previous);
        if (row == grid.current_row())
            offer_line_units(row);
        return entry;
    }
    if (caption == u"vendor item code")
        return vendor_item_code_entered(row);
    if (caption == u"item type") {
        if (!is_item_type(value))
            return refuse(QStringLiteral("item type is invalid."));
        return Entry::Accepted;
    }
    if (caption == u"quantity order" || caption == u"unit cost" || caption == u"extended cost") {
        if (!numeric())
            return refuse(caption == u"quantity order" ? QStringLiteral("quantity is invalid.")
                                                       : caption == u"unit cost" ? QStringLiteral("unit cost is invalid.")
                                                                                 : QStringLiteral("extended cost is invalid."));
        const auto quantity = Decimal::parse(grid.cell(row, "quantity order").trimmed());
        const auto unitcost = Decimal::parse(grid.cell(row, "unit cost").trimmed());
        if (caption == u"extended cost") {
            if (const auto extended = Decimal::parse(value); extended && quantity) {
                const Decimal divisor = quantity->is_negative() || quantity->is_zero() ? Decimal(1) : *quantity;
                grid.set_cell(row, "unit cost", (*extended / divisor).format(2));
            }
        } else if (quantity && unitcost) {
            grid.set_cell(row, "extended cost", (*quantity * *unitcost).format(2));
        }
        if (caption == u"quantity order" && mode() == Mode::New)
            grid.set_cell(row, "quantity open", value);
        recompute_line_tax(row);
        return Entry::Accepted;
    }
    if (caption == u"tax code") {
        const GridColumn& codes = grid.column(column);
        if (!value.isEmpty() && codes.choices.find(value) < 0)
            return refuse(QStringLiteral("tax code is invalid."));
        recompute_line_tax(row);
        return Entry::Accepted;
    }
    if (caption == u"tax included") {
        recompute_line_tax(row);
        return Entry::Accepted;
    }
    if (caption == u"tax amount" || caption == u"net cost") {
        if (!numeric())
            return refuse(caption == u"net cost" ? QStringLiteral("net cost is invalid.")
                                                 : QStringLiteral("please input numeric data"));
        return Entry::Accepted;
    }
    if (caption == u"uom") {
        // A stock item's line takes the item's own units only, as in the requisition.
        auto units = line_units(row);
        if (!units)
            return refuse(units.error().message);
        if (!value.isEmpty() && units->find(value) < 0)
            return refuse(QStringLiteral("Invalid uom"));
        return Entry::Accepted;
    }
    if (caption == u"account") {
        const Choices& accounts = grid.column(column).choices;
        if (!value.isEmpty() && accounts.find(value) < 0)
            return refuse(QStringLiteral("account is invalid."));
        grid.set_cell(row, "account name", accounts.lookup(value, 1));
        return Entry::Accepted;
    }
    if (caption == u"warehouse" || caption == u"location") {
        if (value.isEmpty())
            fill_item_default_place(*database(), *m_lines, row);
        return Entry::Accepted;
    }
    if (caption == u"cancel") {
        const Decimal received = Decimal::parse(grid.cell(row, "quantity received").trimmed()).value_or(Decimal());
        if (grid.cell(row, "cancel") == u"1" && received > Decimal())
            return refuse(QStringLiteral("cannot cancel this PO line because quantity received > 0"));
        return Entry::Accepted;
    }
    return Entry::Accepted;
}

Entry POform_po::taxable_amount_entered(int row)
{
    const int itemno = m_tax_panes->shown_line();
    for (int line = 0; line < m_lines->row_count(); ++line) {
        if (itemno <= 0 || m_lines->cell(line, "item no").toInt() != itemno)
            continue;
        const TaxIncluded included = m_lines->cell(line, "tax included") == u"1" ? TaxIncluded::Yes : TaxIncluded::No;
        auto totals = m_tax_panes->taxable_amount_edited(m_taxes, row, extended_cost_of(line), included);
        if (!totals) {
            message(totals.error().message);
            return Entry::Refused;
        }
        m_lines->set_cell(line, "tax amount", totals->tax_amount.format(2));
        m_lines->set_cell(line, "allocated tax", totals->allocated.format(2));
        m_lines->set_cell(line, "net cost", totals->net_cost.format(2));
        calculate_totals();
        return Entry::Accepted;
    }
    return Entry::Accepted;
}

Entry POform_po::item_code_entered(int row, const QString& previous)
{
    Database& db = *database();
    QString code = m_lines->cell(row, "item code").trimmed();
    if (code.isEmpty()) {
        for (const char* cleared : {"item type", "description", "quantity order", "uom", "unit cost", "extended cost",
                                    "net cost", "warehouse", "location", "tax code", "tax amount", "allocated tax",
                                    "account", "account name", "vendor item code"})
            m_lines->set_cell(row, cleared, QString());
        m_taxes.remove_line(m_lines->cell(row, "item no").toInt());
        calculate_totals();
        return Entry::Accepted;
    }
    QString type = m_lines->cell(row, "item type").trimmed();
    if (type.isEmpty() || is_master_item(type)) {
        // A short name stands for its item.
        auto item = db.first(QStringLiteral("SELECT * FROM Item_master_table WHERE (itemcode = ? OR short_name = ?)"
                                            " AND item_type IN ('1', '2') AND discontinued = FALSE ORDER BY itemcode"),
                             {code, code});
        if (item && *item) {
            if (!(*item)->flag(u"active")) {
                message(code + QStringLiteral(" is inactive."));
                m_lines->set_cell(row, "item code", previous);
                return Entry::Refused;
            }
            code = (*item)->text(u"itemcode");
            m_lines->set_cell(row, "item code", code);
            m_lines->set_cell(row, "item type", (*item)->text(u"item_type"));
            fill_item_defaults(row, **item);
            return Entry::Accepted;
        }
    }
    if (type.isEmpty() || type == u"6") {
        auto charge = db.first(QStringLiteral("SELECT * FROM Vendor_miscellaneous_charge_table WHERE itemcode = ?"), {code});
        if (charge && *charge) {
            m_lines->set_cell(row, "item type", "6");
            m_lines->set_cell(row, "description", (*charge)->text(u"Description"));
            m_lines->set_cell(row, "tax code", (*charge)->text(u"tax_code"));
            m_lines->set_cell(row, "account", (*charge)->text(u"account"));
            renumber_lines();
            recompute_line_tax(row);
            return Entry::Accepted;
        }
    }
    if (type == u"3" || type == u"4" || type == u"5" || type == u"0") {
        renumber_lines();
        return Entry::Accepted;
    }
    message(QStringLiteral("item code is invalid."));
    m_lines->set_cell(row, "item code", previous);
    return Entry::Refused;
}

Entry POform_po::vendor_item_code_entered(int row)
{
    const QString part = m_lines->cell(row, "vendor item code").trimmed();
    if (part.isEmpty())
        return Entry::Accepted;
    const Choices& parts = m_lines->column(m_lines->required_column("vendor item code")).choices;
    const int found = parts.find(part);
    if (found < 0) {
        message(QStringLiteral("vendor item code is invalid."));
        m_lines->set_cell(row, "vendor item code", QString());
        return Entry::Refused;
    }
    m_lines->set_cell(row, "item type", parts.rows[size_t(found)].value(3));
    m_lines->set_cell(row, "item code", parts.rows[size_t(found)].value(1));
    return item_code_entered(row, QString());
}

void POform_po::fill_item_defaults(int row, const Row& item)
{
    Database& db = *database();
    m_lines->set_cell(row, "description", item.text(u"description"));
    if (m_lines->cell(row, "tax code").isEmpty()) {
        QString tax_code = m_vendor_tax_code;
        if (tax_code.isEmpty())
            tax_code = default_tax_code(db).value_or(QString());
        m_lines->set_cell(row, "tax code", tax_code);
    }
    if (auto filled = fill_line_from_item(db, *m_lines, row, item, field("shipto"), LastCostShown::ItemDecimals); !filled)
        message(filled.error().message);
    fill_item_default_place(db, *m_lines, row);
    renumber_lines();
    if (const auto quantity = Decimal::parse(m_lines->cell(row, "quantity order").trimmed()))
        if (const auto unitcost = Decimal::parse(m_lines->cell(row, "unit cost").trimmed()))
            m_lines->set_cell(row, "extended cost", (*quantity * *unitcost).format(2));
    recompute_line_tax(row);
}

} // namespace zelkor
