// The checks a save makes before anything is written: the header (in the order the window asks
// them) and every line, which also takes the items' default warehouses and locations.
#include "documents/order/po_verify.h"

#include "core/db/value_limits.h"
#include "core/master_lookups.h"
#include "core/units.h"
#include "documents/common/line_checks.h"

namespace zelkor {

namespace {

std::expected<void, Error> refuse(const QString& message) { return std::unexpected(Error::invalid(message)); }


[[nodiscard]] std::expected<void, Error> verify_vendor(Database& db, const QString& vendor)
{
    if (vendor.isEmpty())
        return refuse(QStringLiteral("please specify vendor"));
    auto row = vendor_in_use(db, vendor);
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return refuse(QStringLiteral("Vendor is invalid."));
    if (!(*row)->flag(u"active"))
        return refuse(QStringLiteral("Vendor(") + shown_value(vendor) + QStringLiteral(") is inactive."));
    return {};
}

[[nodiscard]] std::expected<std::optional<Row>, Error> verify_item(Database& db, const OrderLine& line)
{
    const QString& code = line.itemcode;
    const QString& type = line.itemtype;
    if (is_master_item(type)) {
        auto found = item_row(db, code);
        if (!found)
            return std::unexpected(found.error());
        if (!*found)
            return std::unexpected(Error::invalid(shown_value(code) + QStringLiteral(" is invalid.")));
        return found;
    }
    if (type == u"6") {
        auto found = charge_row(db, code);
        if (!found)
            return std::unexpected(found.error());
        if (!*found)
            return std::unexpected(Error::invalid(shown_value(code) + QStringLiteral(" is invalid.")));
        return std::optional<Row>();
    }
    if (type == u"3" || type == u"4" || type == u"5")
        return std::optional<Row>();
    return std::unexpected(Error::invalid(QStringLiteral("item type is invalid.")));
}

[[nodiscard]] std::expected<void, Error> verify_item_line(Database& db, OrderLine& line, const Row& item)
{
    const QString& code = line.itemcode;
    if (auto whole = verify_item_quantity(item, code, *line.quantity); !whole)
        return whole;
    if (line.uom.isEmpty())
        return refuse(QStringLiteral("please specify unit of measurement for ") + shown_value(code));
    if (line.uom != item.text(u"stock_uom")) {
        auto pair = conversion_pair(db, code, line.uom, item.text(u"stock_uom"));
        if (!pair)
            return pair.error().kind == Error::Kind::Database
                       ? std::unexpected(pair.error())
                       : refuse(shown_value(line.uom) + QStringLiteral(" has no conversion factor for ") + shown_value(code));
    }
    if (auto cost = verify_item_unit_cost(code, line.unitcost, item); !cost)
        return cost;
    if (line.warehouse.isEmpty()) {
        auto place = item_default_place(db, code);
        if (!place)
            return std::unexpected(place.error());
        if (!*place)
            return refuse(QStringLiteral("Default warehouse for item (") + shown_value(code) + QStringLiteral(") has not been set"));
        line.warehouse = (*place)->warehouse;
        if (line.location.isEmpty())
            line.location = (*place)->location;
    }
    if (line.location.isEmpty()) {
        auto location = item_default_location(db, code, line.warehouse);
        if (!location)
            return std::unexpected(location.error());
        line.location = *location;
    }
    if (line.location.isEmpty())
        return refuse(QStringLiteral("warehouse ") + shown_value(line.warehouse) + QStringLiteral(" for item (") + shown_value(code)
                      + QStringLiteral(") has not been set"));
    return {};
}

[[nodiscard]] std::expected<void, Error> verify_line(Database& db, OrderLine& line)
{
    const QString& code = line.itemcode;
    auto item = verify_item(db, line);
    if (!item)
        return std::unexpected(item.error());
    if (!line.extended_cost)
        return refuse(QStringLiteral("please specify extended cost for ") + shown_value(code));
    if (line.itemtype == u"1" && !line.accno.isEmpty()) {
        auto exists = db.first(QStringLiteral("SELECT accno FROM Account_master_table WHERE accno = ?"), {line.accno});
        if (!exists)
            return std::unexpected(exists.error());
        if (!*exists)
            return refuse(QStringLiteral("account number for ") + shown_value(code) + QStringLiteral(" is invalid."));
    }
    if (!line.quantity)
        return refuse(QStringLiteral("please specify quantity for ") + shown_value(code));
    if (line.quantity->is_negative() || line.quantity->is_zero())
        return refuse(shown_value(code) + QStringLiteral(": quantity order is invalid."));
    if (*item) {
        if (auto checked = verify_item_line(db, line, **item); !checked)
            return checked;
    }
    if (line.accno.isEmpty())
        return refuse(QStringLiteral("please specify account for item ") + shown_value(code));
    return {};
}

} // namespace

std::expected<void, Error> verify_order_header(Database& db, const OrderHeader& header, const OrderHeaderChecks& checks,
                                               const DocumentLists& lists, const QString& base_currency)
{
    if (checks.new_order) {
        if (auto vendor = verify_vendor(db, header.vendor_no); !vendor)
            return vendor;
    }
    if (!checks.detail_line)
        return refuse(QStringLiteral("No detail line"));
    if (header.currency.isEmpty())
        return refuse(QStringLiteral("please specify currency"));
    if (header.payment_term.isEmpty())
        return refuse(QStringLiteral("please specify payment term"));
    if (checks.new_order && header.future_po && !header.activate_date.isValid())
        return refuse(QStringLiteral("please specify activate date for future PO"));
    const struct {
        const Choices& list;
        const QString& value;
        const char* message;
    } choices[] = {{lists.currencies, header.currency, "currency is invalid."},
                   {lists.payment_terms, header.payment_term, "payment term is invalid."},
                   {lists.warehouses, header.shipto, "Ship-to is invalid."},
                   {lists.shipvias, header.shipvia, "ship via is invalid."},
                   {lists.employees, header.requested_user, "requested by is invalid."}};
    for (const auto& choice : choices)
        if (auto chosen = chosen_value(choice.list, choice.value, QString::fromLatin1(choice.message)); !chosen)
            return std::unexpected(chosen.error());
    // A foreign-currency rate that was typed must be a rate.
    const bool foreign = header.currency != base_currency;
    if (foreign && checks.exchange_rate_typed
        && (!header.exchange_rate || *header.exchange_rate <= Decimal(0)
            || column_problem(*header.exchange_rate, NumberColumn::Rate)))
        return refuse(QStringLiteral("exchange rate is invalid."));
    return {};
}

std::expected<void, Error> verify_order_lines(Database& db, std::vector<OrderLine>& lines)
{
    for (OrderLine& line : lines) {
        if (line.itemcode.isEmpty())
            continue;
        if (auto checked = verify_line(db, line); !checked)
            return checked;
    }
    return {};
}

std::expected<void, Error> verify_quantities_received(const std::vector<OrderLine>& lines)
{
    for (const OrderLine& line : lines) {
        if (line.quantity.value_or(Decimal()) < line.quantity_received + line.quantity_cancel)
            return refuse(QStringLiteral("quantity order cannot less than quantity received + quantity canceled.")
                          + QChar(10) + QStringLiteral("You have received ") + line.quantity_received.to_string()
                          + u' ' + line.uom_received + QStringLiteral(" of ") + line.itemcode);
    }
    return {};
}

} // namespace zelkor
