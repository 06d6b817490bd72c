#include "windows/requisition/pr_cells.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "windows/base/grid.h"
#include "windows/document/document_lines.h"
#include "windows/requisition/pr_columns.h"

namespace zelkor {

namespace {

namespace col = pr_column;

CellOutcome refused(const Error& error) { return {Entry::Refused, error}; }
CellOutcome refused(const QString& message) { return refused(Error::invalid(message)); }
CellOutcome noted(const Error& error) { return {Entry::Accepted, error}; }

bool numeric_or_empty(const QString& text)
{
    if (text.trimmed().isEmpty())
        return true;
    const auto value = parse_amount(text);
    return value && !value->is_overflow();
}

void clear_line(Grid& lines, int row, TaxElementStore& taxes)
{
    for (QLatin1String column : {col::ItemType, col::Description, col::LongDescription, col::Quantity, col::Uom,
                                 col::UnitCost, col::ExtendedCost, col::NetCost, col::Warehouse, col::Location,
                                 col::TaxCode, col::TaxAmount, col::Account, col::AccountName})
        lines.set_cell(row, column, QString());
    if (const int itemno = pr_line_number(lines, row))
        taxes.remove_line(itemno);
}

/// The item type of a code typed on a row without one: the first list that has it.
QString type_of_code(const DocumentLists& lists, const QString& code)
{
    for (const char* type : {"1", "2", "6"})
        if (lists.item_codes(QString::fromLatin1(type)).find(code) >= 0)
            return QString::fromLatin1(type);
    return {};
}

void set_account(Grid& lines, int row, const DocumentLists& lists, const QString& account)
{
    lines.set_cell(row, col::Account, account);
    lines.set_cell(row, col::AccountName, lists.all_accounts.lookup(account, 1));
}

[[nodiscard]] std::expected<void, Error> fill_stock_item(PrCellContext& context, Grid& lines, int row, const QString& code)
{
    auto item = item_row(context.db, code);
    if (!item)
        return std::unexpected(item.error());
    if (!*item)
        return {};
    lines.set_cell(row, col::LongDescription, (*item)->text(u"long_description"));
    return fill_line_from_item(context.db, lines, row, **item, context.shipto);
}

[[nodiscard]] std::expected<void, Error> fill_charge(PrCellContext& context, Grid& lines, int row, const QString& code)
{
    auto charge = charge_row(context.db, code);
    if (!charge)
        return std::unexpected(charge.error());
    if (*charge) {
        lines.set_cell(row, col::TaxCode, (*charge)->text(u"tax_code"));
        set_account(lines, row, context.lists, (*charge)->text(u"accno"));
    }
    return {};
}

/// quantity × unit cost into the extended cost (to cents), when both are there.
CellOutcome extend(Grid& lines, int row)
{
    const auto quantity = cell_number(lines, row, col::Quantity);
    const auto unit_cost = cell_number(lines, row, col::UnitCost);
    if (!quantity || !unit_cost)
        return {};
    auto extended = extended_cost_of(*quantity, *unit_cost);
    if (!extended)
        return refused(extended.error());
    lines.set_cell(row, col::ExtendedCost, extended->format());
    return {};
}

CellOutcome item_code_edited(PrCellContext& context, Grid& lines, int row)
{
    const QString code = lines.cell(row, col::ItemCode).trimmed();
    if (code.isEmpty()) {
        clear_line(lines, row, context.taxes);
        return {};
    }
    QString type = lines.cell(row, col::ItemType).trimmed();
    if (type.isEmpty())
        type = type_of_code(context.lists, code);
    const Choices& list = context.lists.item_codes(type);
    if (type.isEmpty() || (item_type_has_list(type) && list.find(code) < 0))
        return refused(QStringLiteral("item code is invalid."));
    lines.set_cell(row, col::ItemType, type);
    if (item_type_has_list(type)) {
        lines.set_cell(row, col::ItemCode, list.value_of(list.find(code)));
        lines.set_cell(row, col::Description, list.lookup(code, 1));
    }
    CellOutcome outcome;
    if (lines.cell(row, col::TaxCode).isEmpty() && type != u"6") {
        if (auto code_default = line_default_tax_code(context.db, context.vendor_tax_code))
            lines.set_cell(row, col::TaxCode, *code_default);
        else
            outcome = noted(code_default.error());
    }
    std::expected<void, Error> filled;
    if (type == u"1")
        filled = fill_stock_item(context, lines, row, code);
    else if (type == u"6")
        filled = fill_charge(context, lines, row, code);
    if (!filled)
        return refused(filled.error());
    if (auto extended = extend(lines, row); extended.entry != Entry::Accepted)
        return extended;
    return outcome;
}

/// The unit cost an extended cost gives: the amount over the quantity (a quantity of zero or less
/// divides as 1), kept to the six decimals a unit cost holds.
CellOutcome extended_cost_edited(Grid& lines, int row)
{
    const auto amount = cell_number(lines, row, col::ExtendedCost);
    lines.set_cell(row, col::ExtendedCost, amount->round2().format());
    if (const auto quantity = cell_number(lines, row, col::Quantity)) {
        const Decimal divisor = *quantity > Decimal(0) ? *quantity : Decimal(1);
        lines.set_cell(row, col::UnitCost, (*amount / divisor).round(6).format_at_least());
    }
    return {};
}

/// A drop-down cell whose value must come from its list; fills the named column beside it.
CellOutcome choice_edited(Grid& lines, int row, QLatin1String column, const Choices& list, const char* message,
                          std::optional<QLatin1String> name_column = std::nullopt)
{
    const QString value = lines.cell(row, column).trimmed();
    if (!value.isEmpty() && list.find(value) < 0)
        return refused(QString::fromLatin1(message));
    if (!value.isEmpty())
        lines.set_cell(row, column, list.value_of(list.find(value)));
    if (name_column)
        lines.set_cell(row, *name_column, value.isEmpty() ? QString() : list.lookup(value, 1));
    return {};
}

CellOutcome location_edited(const DocumentLists& lists, Grid& lines, int row)
{
    const QString location = lines.cell(row, col::Location).trimmed();
    if (location.isEmpty() || lists.has_location(lines.cell(row, col::Warehouse).trimmed(), location))
        return {};
    return refused(QStringLiteral("location is invalid."));
}

CellOutcome unit_edited(PrCellContext& context, Grid& lines, int row)
{
    const QString unit = lines.cell(row, col::Uom).trimmed();
    if (unit.isEmpty())
        return {};
    auto units = line_unit_choices(context.db, context.lists.units, lines.cell(row, col::ItemType).trimmed(),
                                   lines.cell(row, col::ItemCode).trimmed());
    if (!units)
        return refused(units.error());
    if (units->find(unit) < 0)
        return refused(QStringLiteral("Invalid uom"));
    return {};
}

/// A quantity of an item of the item master keeps to the item's quantity decimals.
CellOutcome item_quantity_check(PrCellContext& context, const Grid& lines, int row)
{
    const QString code = lines.cell(row, col::ItemCode).trimmed();
    const auto quantity = cell_number(lines, row, col::Quantity);
    if (code.isEmpty() || !quantity || !is_master_item(lines.cell(row, col::ItemType).trimmed()))
        return {};
    auto item = item_row(context.db, code);
    if (!item)
        return refused(item.error());
    if (!*item)
        return {};
    auto whole = verify_item_quantity(**item, code, *quantity);
    return whole ? CellOutcome{} : refused(whole.error());
}

/// The check of one column; refuses before changing anything else.
CellOutcome check_column(PrCellContext& context, Grid& lines, int row, const QString& column)
{
    const QString typed = lines.cell(row, column);
    auto number_check = [&](const char* message) {
        return numeric_or_empty(typed) ? CellOutcome{} : refused(QString::fromLatin1(message));
    };
    auto typed_check = [&](const char* noun, NumberColumn kind) {
        auto checked = typed_number(typed, QString::fromLatin1(noun), kind);
        return checked ? CellOutcome{} : refused(checked.error());
    };
    if (column == col::ItemCode)
        return item_code_edited(context, lines, row);
    if (column == col::ItemType)
        return typed.isEmpty() || is_item_type(typed.trimmed()) ? CellOutcome{} : refused(QStringLiteral("item type is invalid."));
    if (column == col::Quantity) {
        if (auto outcome = typed_check("quantity", NumberColumn::Quantity); outcome.entry != Entry::Accepted)
            return outcome;
        if (auto outcome = item_quantity_check(context, lines, row); outcome.entry != Entry::Accepted)
            return outcome;
        return extend(lines, row);
    }
    if (column == col::UnitCost) {
        if (auto outcome = typed_check("unit cost", NumberColumn::UnitCost); outcome.entry != Entry::Accepted)
            return outcome;
        return extend(lines, row);
    }
    if (column == col::ExtendedCost) {
        if (auto outcome = typed_check("extended cost", NumberColumn::Money); outcome.entry != Entry::Accepted)
            return outcome;
        return typed.trimmed().isEmpty() ? CellOutcome{} : extended_cost_edited(lines, row);
    }
    if (column == col::TaxAmount || column == col::NetCost)
        return number_check("please input numeric data");
    if (column == col::TaxCode)
        return choice_edited(lines, row, col::TaxCode, context.lists.tax_codes, "tax code is invalid.");
    if (column == col::Uom)
        return unit_edited(context, lines, row);
    if (column == col::Account)
        return choice_edited(lines, row, col::Account, context.lists.accounts(lines.cell(row, col::ItemType).trimmed()),
                             "account is invalid.", col::AccountName);
    if (column == col::Warehouse)
        return choice_edited(lines, row, col::Warehouse, context.lists.warehouses, "warehouse is invalid.");
    if (column == col::Location)
        return location_edited(context.lists, lines, row);
    if (column == col::PreferredVendor)
        return choice_edited(lines, row, col::PreferredVendor, context.lists.vendors, "vendor is invalid.",
                             col::VendorName);
    return {};
}

/// Gives a row its line number once it holds more than description text.
void number_new_line(Grid& lines, int row, const QString& column)
{
    if (pr_line_number(lines, row) || column == col::Description || column == col::LongDescription
        || lines.cell(row, column).trimmed().isEmpty())
        return;
    int last = 0;
    for (int other = 0; other < lines.row_count(); ++other)
        last = std::max(last, pr_line_number(lines, other));
    lines.set_cell(row, col::ItemNo, QString::number(last + 1));
}

/// The columns after whose change the line's tax is computed again. A tax amount or net cost
/// typed over is recomputed too: the line shows, and saves, what its elements give.
bool affects_tax(const QString& column)
{
    return column == col::ItemCode || column == col::Quantity || column == col::UnitCost
           || column == col::ExtendedCost || column == col::TaxCode || column == col::TaxIncluded
           || column == col::TaxAmount || column == col::NetCost;
}

} // namespace

int pr_line_number(const Grid& lines, int row)
{
    bool whole = false;
    const int number = lines.cell(row, col::ItemNo).trimmed().toInt(&whole);
    return whole && number > 0 ? number : 0;
}

[[nodiscard]] std::expected<void, Error> pr_recompute_line_tax(Database& db, TaxElementStore& taxes, Grid& lines, int row)
{
    const int itemno = pr_line_number(lines, row);
    if (!itemno)
        return {};
    const QString code = lines.cell(row, col::TaxCode).trimmed();
    const TaxIncluded included = cell_checked(lines, row, col::TaxIncluded) ? TaxIncluded::Yes : TaxIncluded::No;
    auto authorities = tax_code_authorities(db, code);
    if (!authorities)
        return std::unexpected(authorities.error());
    const auto extended = cell_number(lines, row, col::ExtendedCost);
    const auto amount = extended ? taxable_amount(*extended) : std::nullopt;
    // The line shows its tax within each authority's bounds; the elements never apply them.
    const LineTax tax = tax_calculate(amount, *authorities, included, TaxBounds::Apply);
    get_fulltax_detail(taxes, itemno, amount, *authorities, included);
    lines.set_cell(row, col::TaxAmount, tax.tax_amount.format());
    lines.set_cell(row, col::NetCost, tax.net_cost.format());
    return {};
}

CellOutcome pr_cell_edited(PrCellContext& context, Grid& lines, int row, int column, const QString& previous)
{
    const QString caption = lines.column(column).caption;
    CellOutcome outcome = check_column(context, lines, row, caption);
    if (outcome.entry != Entry::Accepted)
        return outcome;
    number_new_line(lines, row, caption);
    const bool cleared_code = caption == col::ItemCode && lines.cell(row, column).trimmed().isEmpty();
    const bool derived = caption == col::TaxAmount || caption == col::NetCost;
    if (affects_tax(caption) && !cleared_code
        && (lines.cell(row, column) != previous || caption == col::ItemCode || derived)) {
        if (auto computed = pr_recompute_line_tax(context.db, context.taxes, lines, row); !computed)
            return refused(computed.error());
    }
    return outcome;
}

} // namespace zelkor
