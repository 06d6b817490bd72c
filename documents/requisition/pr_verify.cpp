#include "documents/requisition/pr_verify.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"

namespace zelkor {

namespace {

[[nodiscard]] std::expected<void, Error> refuse(const QString& message) { return std::unexpected(Error::invalid(message)); }

[[nodiscard]] std::expected<bool, Error> exists(Database& db, const QString& sql, const Params& params)
{
    auto row = db.first(sql, params);
    if (!row)
        return std::unexpected(row.error());
    return row->has_value();
}

[[nodiscard]] std::expected<void, Error> verify_item(Database& db, const QString& type, const QString& code,
                                       std::optional<Row>& item)
{
    if (type == u"1" || type == u"2") {
        auto found = item_row(db, code);
        if (!found)
            return std::unexpected(found.error());
        if (!*found)
            return refuse(shown_value(code) + QStringLiteral(" is invalid."));
        item = *found;
        return {};
    }
    if (type == u"6") {
        auto found = charge_row(db, code);
        if (!found)
            return std::unexpected(found.error());
        return *found ? std::expected<void, Error>() : refuse(shown_value(code) + QStringLiteral(" is invalid."));
    }
    if (type == u"3" || type == u"4" || type == u"5")
        return {};
    return refuse(QStringLiteral("item type is invalid."));
}

[[nodiscard]] std::expected<void, Error> verify_account(Database& db, const QString& code, const QString& account)
{
    if (account.isEmpty())
        return refuse(QStringLiteral("please specify account for ") + shown_value(code));
    auto found = exists(db, QStringLiteral("SELECT accno FROM Account_master_table WHERE accno = ?"), {account});
    if (!found)
        return std::unexpected(found.error());
    return *found ? std::expected<void, Error>() : refuse(QStringLiteral("account number for ") + shown_value(code) + QStringLiteral(" is invalid."));
}

[[nodiscard]] std::expected<void, Error> verify_quantity(const QString& code, const std::optional<Decimal>& quantity)
{
    if (!quantity)
        return refuse(QStringLiteral("please specify quantity for ") + shown_value(code));
    if (*quantity <= Decimal(0))
        return refuse(shown_value(code) + QStringLiteral(": quantity is invalid."));
    return {};
}

[[nodiscard]] std::expected<void, Error> verify_unit(Database& db, const QString& code, const QString& unit, const Row& item)
{
    if (unit.isEmpty())
        return refuse(QStringLiteral("please specify unit of measurement for ") + shown_value(code));
    if (unit.compare(item.text(u"stock_uom"), Qt::CaseInsensitive) == 0)
        return {};
    auto found = exists(db, QStringLiteral("SELECT uom_from FROM UOM_conversion_table WHERE itemcode = ? AND uom_from = ?"),
                        {code, unit});
    if (!found)
        return std::unexpected(found.error());
    return *found ? std::expected<void, Error>() : refuse(shown_value(unit) + QStringLiteral(" has no conversion factor for ") + shown_value(code));
}

[[nodiscard]] std::expected<void, Error> verify_line(Database& db, const PrLine& line)
{
    const QString& code = line.itemcode;
    std::optional<Row> item;
    if (auto checked = verify_item(db, line.itemtype, code, item); !checked)
        return checked;
    if (!line.extended_cost)
        return refuse(QStringLiteral("please specify extended cost for ") + shown_value(code));
    const bool stock_item = line.itemtype == u"1" && item;
    if (stock_item && !item->flag(u"kit")) {
        if (auto checked = verify_account(db, code, line.accno); !checked)
            return checked;
    }
    if (auto checked = verify_quantity(code, line.quantity); !checked)
        return checked;
    if (item) {
        if (auto whole = verify_item_quantity(*item, code, *line.quantity); !whole)
            return whole;
    }
    if (stock_item) {
        if (auto checked = verify_unit(db, code, line.uom, *item); !checked)
            return checked;
    }
    if (!line.unitcost)
        return refuse(QStringLiteral("please specify unit cost for ") + shown_value(code));
    if (line.unitcost->is_negative())
        return refuse(shown_value(code) + QStringLiteral(" unit price is invalid."));
    return {};
}

} // namespace

std::expected<void, Error> verify_header(const PrHeaderTyped& header, const DocumentLists& lists)
{
    if (header.currency.isEmpty())
        return refuse(QStringLiteral("please specify currency"));
    const struct {
        const Choices& list;
        const QString& value;
        const char* message;
    } choices[] = {{lists.vendors, header.vendor_no, "vendor is invalid."},
                   {lists.currencies, header.currency, "currency is invalid."},
                   {lists.warehouses, header.shipto, "ship-to warehouse is invalid."},
                   {lists.employees, header.requested_user, "requested by is invalid."},
                   {lists.payment_terms, header.payment_term, "payment term is invalid."}};
    for (const auto& choice : choices)
        if (auto checked = chosen_value(choice.list, choice.value, QString::fromLatin1(choice.message)); !checked)
            return std::unexpected(checked.error());
    return {};
}

std::expected<void, Error> verify_detail(Database& db, const std::vector<PrLine>& lines)
{
    for (const PrLine& line : lines) {
        if (line.itemcode.isEmpty())
            continue;
        if (auto checked = verify_line(db, line); !checked)
            return checked;
    }
    return {};
}

} // namespace zelkor
