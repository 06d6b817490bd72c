#include "windows/document/document_lines.h"

#include "core/master_lookups.h"
#include "core/units.h"
#include "documents/common/line_checks.h"
#include "windows/base/grid.h"
#include "windows/base/window_model.h"

#include <algorithm>

namespace zelkor {

namespace {

// The captions the document line grids share.
const QString ItemCode = QStringLiteral("item code");
const QString ItemType = QStringLiteral("item type");
const QString Warehouse = QStringLiteral("warehouse");
const QString Location = QStringLiteral("location");
const QString Account = QStringLiteral("account");
const QString AccountName = QStringLiteral("account name");
const QString UnitCost = QStringLiteral("unit cost");

} // namespace

std::expected<std::optional<Decimal>, Error> saved_number(const Grid& lines, int row, const QString& caption,
                                                         const QString& message)
{
    const QString text = lines.cell(row, caption).trimmed();
    if (text.isEmpty())
        return std::optional<Decimal>();
    auto value = Decimal::parse(text);
    if (!value || value->is_overflow())
        return std::unexpected(Error::invalid(message));
    return value;
}

void show_vendor_details(WindowModel& window, const Row& vendor)
{
    const std::pair<const char*, const char16_t*> fields[] = {
        {"vendor_no", u"vendor_no"},           {"vendor_name", u"vendor_name"}, {"currency", u"currency"},
        {"payment_term", u"payment_term"},     {"contact_person", u"contact_person"}, {"phone", u"phone1"},
        {"fax", u"fax1"}};
    // A window shows those of the fields it has.
    for (const auto& [field, column] : fields)
        if (window.find_field(QString::fromLatin1(field)))
            window.set_field(QString::fromLatin1(field), vendor.text(column));
}

std::expected<void, Error> fill_line_from_item(Database& db, Grid& lines, int row, const Row& item,
                                               const QString& shipto, const QString& unit_column)
{
    const QString account = item.text(u"asset_accno");
    auto name = account_name(db, account);
    if (!name)
        return std::unexpected(name.error());
    lines.set_cell(row, Account, account);
    if (lines.column_index(AccountName) >= 0)
        lines.set_cell(row, AccountName, *name);
    if (lines.cell(row, unit_column).isEmpty())
        lines.set_cell(row, unit_column, item.text(u"purchase_uom"));
    if (item.text(u"item_type") != u"1" || shipto.isEmpty())
        return {};
    auto cost = item_last_cost(db, item.text(u"itemcode"), shipto);
    if (!cost)
        return std::unexpected(cost.error());
    if (!*cost)
        return {};
    // The last cost is per stock unit: the line shows it per its own unit.
    Decimal line_cost = **cost;
    const QString unit = lines.cell(row, unit_column).trimmed();
    if (!unit.isEmpty() && unit.compare(item.text(u"stock_uom"), Qt::CaseInsensitive) != 0) {
        auto pair = conversion_pair(db, item.text(u"itemcode"), unit, item.text(u"stock_uom"));
        if (!pair && pair.error().kind == Error::Kind::Database)
            return std::unexpected(pair.error());
        if (pair)
            line_cost = line_cost * pair->to_quantity / pair->from_quantity;
    }
    lines.set_cell(row, UnitCost, line_cost.round(std::clamp(int(item.integer(u"unitcost_decimals")), 0, 6)).format_at_least());
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
