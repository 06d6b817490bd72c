#include "documents/common/line_checks.h"

#include "core/master_lookups.h"
#include "core/units.h"
#include "documents/common/document_lists.h"
#include "tax/purchase_tax.h"

namespace zelkor {

Choices item_type_choices()
{
    Choices types;
    types.captions = {QStringLiteral("Type"), QStringLiteral("Description")};
    types.rows = {{"0", "Not specified"},         {"1", "Stock items"}, {"2", "Non-stock (in Master)"},
                  {"3", "Asset"},                 {"4", "Office supplies"},
                  {"5", "Service & Expenditure"}, {"6", "Miscellaneous charge"}};
    types.name_column = 1;
    return types;
}

bool is_item_type(const QString& code) { return item_type_choices().find(code) >= 0; }

bool item_type_has_list(const QString& item_type)
{
    return item_type == u"1" || item_type == u"2" || item_type == u"6";
}

bool is_master_item(const QString& item_type) { return item_type == u"1" || item_type == u"2"; }

std::expected<QString, Error> chosen_value(const Choices& list, const QString& typed, const QString& message)
{
    const QString value = typed.trimmed();
    if (value.isEmpty())
        return value;
    const int row = list.find(value);
    if (row < 0)
        return std::unexpected(Error::invalid(message));
    return list.value_of(row);
}

QString missing_item_code(int line)
{
    return QStringLiteral("please specify item code for line ") + QString::number(line);
}

std::expected<void, Error> verify_codes_in_lists(std::initializer_list<CodeInList> codes)
{
    for (const CodeInList& code : codes)
        if (auto chosen = chosen_value(code.list, code.value, QString::fromLatin1(code.message)); !chosen)
            return std::unexpected(chosen.error());
    return {};
}

std::expected<void, Error> typed_number(const QString& typed, const QString& noun, NumberColumn column)
{
    if (typed.trimmed().isEmpty())
        return {};
    const auto value = Decimal::parse(typed.trimmed());
    if (!value)
        return std::unexpected(Error::invalid(noun + QStringLiteral(" is invalid.")));
    if (const auto problem = column_problem(*value, column))
        return std::unexpected(Error::invalid(noun + u' ' + *problem));
    return {};
}

std::expected<void, Error> verify_item_quantity(const Row& item, const QString& code, const Decimal& quantity)
{
    const int decimals = int(item.integer(u"quantity_decimals"));
    if (decimals == 0 && quantity.round(0) != quantity)
        return std::unexpected(Error::invalid(shown_value(code) + QStringLiteral(" : not allow fractional quantity.")));
    if (quantity.round(decimals) != quantity)
        return std::unexpected(Error::invalid(shown_value(code) + QStringLiteral(" : quantity decimal place is ")
                                              + QString::number(decimals)));
    return {};
}

std::expected<Decimal, Error> extended_cost_of(const Decimal& quantity, const Decimal& unitcost)
{
    const Decimal extended = (quantity * unitcost).round2();
    if (column_problem(extended, NumberColumn::Money))
        return std::unexpected(Error::invalid(QStringLiteral("extended cost is too large.")));
    return extended;
}

std::expected<void, Error> verify_line_values(const TypedLineValues& line, const DocumentLists& lists)
{
    auto refuse = [](const QString& message) { return std::unexpected(Error::invalid(message)); };
    const bool has_amount = line.quantity || line.unitcost || line.extended_cost;
    if (line.itemcode.isEmpty()) {
        if (has_amount)
            return refuse(missing_item_code(line.itemno));
        return {};
    }
    const struct {
        const std::optional<Decimal>& value;
        NumberColumn column;
        const char* noun;
    } numbers[] = {{line.quantity, NumberColumn::Quantity, "quantity"},
                   {line.unitcost, NumberColumn::UnitCost, "unit cost"},
                   {line.extended_cost, NumberColumn::Money, "extended cost"}};
    for (const auto& number : numbers)
        if (number.value)
            if (const auto problem = column_problem(*number.value, number.column))
                return refuse(shown_value(line.itemcode) + QStringLiteral(": ") + QString::fromLatin1(number.noun) + u' '
                              + *problem);
    const struct {
        const Choices& list;
        const QString& value;
        const char* message;
    } codes[] = {{lists.tax_codes, line.tax_code, "tax code is invalid."},
                 {lists.warehouses, line.warehouse, "warehouse is invalid."},
                 {lists.all_accounts, line.accno, "account is invalid."}};
    for (const auto& code : codes)
        if (auto chosen = chosen_value(code.list, code.value, QString::fromLatin1(code.message)); !chosen)
            return std::unexpected(chosen.error());
    if (!line.location.isEmpty() && !lists.has_location(line.warehouse, line.location))
        return refuse(QStringLiteral("location is invalid."));
    if (line.itemtype != u"1" && !line.uom.isEmpty() && lists.units.find(line.uom) < 0)
        return refuse(QStringLiteral("Invalid uom"));
    return {};
}

std::expected<void, Error> verify_item_unit_cost(const QString& typed_code, const std::optional<Decimal>& unitcost,
                                                 const Row& item)
{
    const QString code = shown_value(typed_code);
    if (!unitcost)
        return std::unexpected(Error::invalid(QStringLiteral("please specify unit cost for ") + code));
    if (unitcost->is_negative())
        return std::unexpected(Error::invalid(code + QStringLiteral(": unit cost is invalid.")));
    const int decimals = int(item.integer(u"unitcost_decimals"));
    if (decimal_places(*unitcost) > decimals)
        return std::unexpected(
            Error::invalid(code + QStringLiteral(" : unit cost decimal place is ") + QString::number(decimals)));
    return {};
}

std::expected<Choices, Error> line_unit_choices(Database& db, const Choices& all_units, const QString& item_type,
                                                const QString& itemcode)
{
    if (item_type != u"1" || itemcode.isEmpty())
        return all_units;
    // The item's own units are always allowed, even without a conversion rule naming them.
    auto units = item_units(db, itemcode);
    if (!units)
        return std::unexpected(units.error());
    Choices choices;
    choices.captions = {QStringLiteral("uom"), QStringLiteral("description")};
    for (const QString& unit : *units)
        choices.rows.push_back({unit, all_units.lookup(unit, 1)});
    return choices;
}

std::expected<Row, Error> chosen_vendor(Database& db, const QString& vendor_no)
{
    auto vendor = vendor_in_use(db, vendor_no);
    if (!vendor)
        return std::unexpected(vendor.error());
    if (!*vendor)
        return std::unexpected(Error::invalid(QStringLiteral("vendor is invalid.")));
    return **vendor;
}

std::expected<QString, Error> line_default_tax_code(Database& db, const QString& vendor_tax_code)
{
    if (!vendor_tax_code.trimmed().isEmpty())
        return vendor_tax_code.trimmed();
    return default_tax_code(db);
}

} // namespace zelkor
