#include "forms/purchasing/purchasing_lines.h"

#include "forms/common/grid.h"
#include "forms/common/window_model.h"
#include "services/master_lookups.h"
#include "services/purchase_tax.h"

namespace zelkor {

namespace {

// The captions the requisition's and the order's line grids share.
const QString ItemCode = QStringLiteral("item code");
const QString ItemType = QStringLiteral("item type");
const QString Warehouse = QStringLiteral("warehouse");
const QString Location = QStringLiteral("location");
const QString Account = QStringLiteral("account");
const QString AccountName = QStringLiteral("account name");
const QString Uom = QStringLiteral("uom");
const QString UnitCost = QStringLiteral("unit cost");

} // namespace

Choices item_type_choices()
{
    Choices types;
    types.captions = {QStringLiteral("Type"), QStringLiteral("Description")};
    types.rows = {{"0", "Not specified"},         {"1", "Stock items"}, {"2", "Non-stock (in Master)"},
                  {"3", "Asset"},                 {"4", "Office supplies"},
                  {"5", "Service & Expenditure"}, {"6", "Miscellaneous charge"}};
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

void show_vendor_details(WindowModel& window, const Row& vendor)
{
    window.set_field(QStringLiteral("vendor_no"), vendor.text(u"vendor_no"));
    window.set_field(QStringLiteral("vendor_name"), vendor.text(u"vendor_name"));
    window.set_field(QStringLiteral("currency"), vendor.text(u"currency"));
    window.set_field(QStringLiteral("payment_term"), vendor.text(u"payment_term"));
    window.set_field(QStringLiteral("contact_person"), vendor.text(u"contact_person"));
    window.set_field(QStringLiteral("phone"), vendor.text(u"phone1"));
    window.set_field(QStringLiteral("fax"), vendor.text(u"fax1"));
}

std::expected<QString, Error> line_default_tax_code(Database& db, const QString& vendor_tax_code)
{
    if (!vendor_tax_code.trimmed().isEmpty())
        return vendor_tax_code.trimmed();
    return default_tax_code(db);
}

std::expected<void, Error> fill_line_from_item(Database& db, Grid& lines, int row, const Row& item,
                                               const QString& shipto)
{
    const QString account = item.text(u"asset_accno");
    auto name = account_name(db, account);
    if (!name)
        return std::unexpected(name.error());
    lines.set_cell(row, Account, account);
    lines.set_cell(row, AccountName, *name);
    if (lines.cell(row, Uom).isEmpty())
        lines.set_cell(row, Uom, item.text(u"purchase_uom"));
    if (item.text(u"item_type") != u"1" || shipto.isEmpty())
        return {};
    auto cost = item_last_cost(db, item.text(u"itemcode"), shipto);
    if (!cost)
        return std::unexpected(cost.error());
    if (*cost)
        lines.set_cell(row, UnitCost,
                       (*cost)->round(std::clamp(int(item.integer(u"unitcost_decimals")), 0, 6)).to_string());
    return {};
}

std::expected<void, Error> fill_item_default_place(Database& db, Grid& lines, int row)
{
    const QString code = lines.cell(row, ItemCode).trimmed();
    if (code.isEmpty() || !is_master_item(lines.cell(row, ItemType).trimmed()))
        return {};
    if (lines.cell(row, Warehouse).trimmed().isEmpty()) {
        auto place = item_default_place(db, code);
        if (!place)
            return std::unexpected(place.error());
        if (*place) {
            lines.set_cell(row, Warehouse, (*place)->warehouse);
            if (lines.cell(row, Location).trimmed().isEmpty())
                lines.set_cell(row, Location, (*place)->location);
        }
    }
    const QString warehouse = lines.cell(row, Warehouse).trimmed();
    if (lines.cell(row, Location).trimmed().isEmpty() && !warehouse.isEmpty()) {
        auto location = item_default_location(db, code, warehouse);
        if (!location)
            return std::unexpected(location.error());
        lines.set_cell(row, Location, *location);
    }
    return {};
}

} // namespace zelkor
