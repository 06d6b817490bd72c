#include "forms/purchasing/purchasing_lines.h"

#include "forms/common/grid.h"
#include "forms/common/window_model.h"

namespace zelkor {

namespace {

bool is_master_item(const QString& type) { return type == u"1" || type == u"2"; }

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

[[nodiscard]] std::expected<Choices, Error> warehouse_choices(Database& db)
{
    return Choices::query(db, QStringLiteral("SELECT warehouse, description FROM Warehouse_master_table ORDER BY warehouse"),
                          {QStringLiteral("Warehouse"), QStringLiteral("Description")});
}

[[nodiscard]] std::expected<Choices, Error> currency_choices(Database& db)
{
    return Choices::query(db, QStringLiteral("SELECT currency, description FROM Working_currency_table ORDER BY currency"),
                          {QStringLiteral("Currency"), QStringLiteral("Description")});
}

[[nodiscard]] std::expected<Choices, Error> unit_choices(Database& db)
{
    return Choices::query(db, QStringLiteral("SELECT uom, description FROM UOM_table ORDER BY uom"),
                          {QStringLiteral("uom"), QStringLiteral("description")});
}

[[nodiscard]] std::expected<Choices, Error> warehouse_location_choices(Database& db)
{
    return Choices::query(db, QStringLiteral("SELECT warehouse, location FROM Warehouse_location_master_table"
                                             " ORDER BY warehouse, location"),
                          {QStringLiteral("warehouse"), QStringLiteral("location")});
}

[[nodiscard]] std::expected<Row, Error> chosen_vendor(Database& db, const QString& vendor_no)
{
    auto vendor = db.first(QStringLiteral("SELECT * FROM Vendor_table WHERE vendor_no = ? AND discontinued = FALSE"),
                           {vendor_no});
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

[[nodiscard]] std::expected<void, Error> fill_line_from_item(Database& db, Grid& lines, int row, const Row& item,
                                               const QString& shipto, LastCostShown shown)
{
    const QString account = item.text(u"asset_accno");
    auto account_name = db.scalar(QStringLiteral("SELECT accname FROM Account_master_table WHERE accno = ?"), {account});
    if (!account_name)
        return std::unexpected(account_name.error());
    lines.set_cell(row, QStringLiteral("account"), account);
    lines.set_cell(row, QStringLiteral("account name"), Row::to_text(*account_name));
    if (lines.cell(row, QStringLiteral("uom")).isEmpty())
        lines.set_cell(row, QStringLiteral("uom"), item.text(u"purchase_uom"));
    if (item.text(u"item_type") != u"1" || shipto.isEmpty())
        return {};
    auto cost = db.first(QStringLiteral("SELECT last_cost FROM Item_warehouse_table"
                                        " WHERE company = 1 AND itemcode = ? AND warehouse = ?"),
                         {item.text(u"itemcode"), shipto});
    if (!cost)
        return std::unexpected(cost.error());
    if (!*cost || (*cost)->is_null(u"last_cost"))
        return {};
    const Decimal last_cost = (*cost)->decimal(u"last_cost");
    lines.set_cell(row, QStringLiteral("unit cost"),
                   shown == LastCostShown::Money ? last_cost.format()
                                                 : last_cost.round(int(item.integer(u"unitcost_decimals"))).to_string());
    return {};
}

void fill_item_default_place(Database& db, Grid& lines, int row)
{
    const QString code = lines.cell(row, QStringLiteral("item code")).trimmed();
    if (code.isEmpty() || !is_master_item(lines.cell(row, QStringLiteral("item type")).trimmed()))
        return;
    if (lines.cell(row, QStringLiteral("warehouse")).trimmed().isEmpty()) {
        auto warehouse = db.first(QStringLiteral("SELECT warehouse, default_location FROM Item_warehouse_table"
                                                 " WHERE company = 1 AND itemcode = ? AND default_warehouse = TRUE"),
                                  {code});
        if (warehouse && *warehouse) {
            lines.set_cell(row, QStringLiteral("warehouse"), (*warehouse)->text(u"warehouse"));
            if (lines.cell(row, QStringLiteral("location")).trimmed().isEmpty())
                lines.set_cell(row, QStringLiteral("location"), (*warehouse)->text(u"default_location"));
        }
    }
    const QString warehouse = lines.cell(row, QStringLiteral("warehouse")).trimmed();
    if (lines.cell(row, QStringLiteral("location")).trimmed().isEmpty() && !warehouse.isEmpty()) {
        auto location = db.scalar(QStringLiteral("SELECT default_location FROM Item_warehouse_table"
                                                 " WHERE company = 1 AND itemcode = ? AND warehouse = ?"),
                                  {code, warehouse});
        if (location && location->isValid())
            lines.set_cell(row, QStringLiteral("location"), Row::to_text(*location));
    }
}

[[nodiscard]] std::expected<Choices, Error> item_unit_choices(Database& db, const Choices& all_units, const QString& item_type,
                                                const QString& itemcode)
{
    if (item_type != u"1" || itemcode.isEmpty())
        return all_units;
    // The item's own units are always allowed, even without a conversion rule naming them.
    auto rows = db.select(QStringLiteral("SELECT stock_uom AS uom FROM Item_master_table WHERE itemcode = ?"
                                         " UNION SELECT purchase_uom FROM Item_master_table WHERE itemcode = ?"
                                         " UNION SELECT uom_from FROM UOM_conversion_table WHERE itemcode = ?"),
                          {itemcode, itemcode, itemcode});
    if (!rows)
        return std::unexpected(rows.error());
    Choices units;
    units.captions = {QStringLiteral("uom"), QStringLiteral("description")};
    for (const Row& row : *rows) {
        const QString unit = row.text(u"uom");
        if (!unit.isEmpty() && units.find(unit) < 0)
            units.rows.push_back({unit, all_units.lookup(unit, 1)});
    }
    return units;
}

} // namespace zelkor
