#include "forms/purchasing/pr_verify.h"

#include "forms/common/grid.h"
#include "forms/purchasing/pr_columns.h"

namespace zelkor {

namespace {

namespace col = pr_column;

[[nodiscard]] std::expected<void, Error> refuse(const QString& message) { return std::unexpected(Error::invalid(message)); }

/// The item master row of a code, or nothing.
[[nodiscard]] std::expected<std::optional<Row>, Error> item_of(Database& db, const QString& code)
{
    return db.first(QStringLiteral("SELECT itemcode, kit, stock_uom FROM Item_master_table WHERE itemcode = ?"), {code});
}

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
        auto found = item_of(db, code);
        if (!found)
            return std::unexpected(found.error());
        if (!*found)
            return refuse(code + QStringLiteral(" is invalid."));
        item = *found;
        return {};
    }
    if (type == u"6") {
        auto found = exists(db, QStringLiteral("SELECT itemcode FROM Vendor_miscellaneous_charge_table WHERE itemcode = ?"),
                            {code});
        if (!found)
            return std::unexpected(found.error());
        return *found ? std::expected<void, Error>() : refuse(code + QStringLiteral(" is invalid."));
    }
    if (type == u"3" || type == u"4" || type == u"5")
        return {};
    return refuse(QStringLiteral("item type is invalid."));
}

[[nodiscard]] std::expected<void, Error> verify_account(Database& db, const QString& code, const QString& account)
{
    if (account.isEmpty())
        return refuse(QStringLiteral("please specify account for ") + code);
    auto found = exists(db, QStringLiteral("SELECT accno FROM Account_master_table WHERE accno = ?"), {account});
    if (!found)
        return std::unexpected(found.error());
    return *found ? std::expected<void, Error>() : refuse(QStringLiteral("account number for ") + code + QStringLiteral(" is invalid."));
}

[[nodiscard]] std::expected<void, Error> verify_quantity(const QString& code, const QString& text)
{
    if (text.isEmpty())
        return refuse(QStringLiteral("please specify quantity for ") + code);
    const auto quantity = parse_amount(text);
    if (!quantity || quantity->is_overflow())
        return refuse(QStringLiteral("quantity is invalid."));
    if (*quantity <= Decimal(0))
        return refuse(code + QStringLiteral(": quantity is invalid."));
    return {};
}

[[nodiscard]] std::expected<void, Error> verify_unit(Database& db, const QString& code, const QString& unit, const Row& item)
{
    if (unit.isEmpty())
        return refuse(QStringLiteral("please specify unit of measurement for ") + code);
    if (unit.compare(item.text(u"stock_uom"), Qt::CaseInsensitive) == 0)
        return {};
    auto found = exists(db, QStringLiteral("SELECT uom_from FROM UOM_conversion_table WHERE itemcode = ? AND uom_from = ?"),
                        {code, unit});
    if (!found)
        return std::unexpected(found.error());
    return *found ? std::expected<void, Error>() : refuse(unit + QStringLiteral(" has no conversion factor for ") + code);
}

[[nodiscard]] std::expected<void, Error> verify_row(Database& db, const Grid& lines, int row)
{
    auto cell = [&](QLatin1String column) { return lines.cell(row, column).trimmed(); };
    const QString code = cell(col::ItemCode);
    const QString type = cell(col::ItemType);
    std::optional<Row> item;
    if (auto checked = verify_item(db, type, code, item); !checked)
        return checked;
    const QString extended = cell(col::ExtendedCost);
    if (extended.isEmpty())
        return refuse(QStringLiteral("please specify extended cost for ") + code);
    if (const auto amount = parse_amount(extended); !amount || amount->is_overflow())
        return refuse(code + QStringLiteral(" amount is invalid."));
    const bool stock_item = type == u"1" && item;
    if (stock_item && !item->flag(u"kit")) {
        if (auto checked = verify_account(db, code, cell(col::Account)); !checked)
            return checked;
    }
    if (auto checked = verify_quantity(code, cell(col::Quantity)); !checked)
        return checked;
    if (stock_item) {
        if (auto checked = verify_unit(db, code, cell(col::Uom), *item); !checked)
            return checked;
    }
    const QString unit_cost = cell(col::UnitCost);
    if (unit_cost.isEmpty())
        return refuse(QStringLiteral("please specify unit cost for ") + code);
    if (const auto cost = parse_amount(unit_cost); !cost || cost->is_overflow() || cost->is_negative())
        return refuse(code + QStringLiteral(" unit price is invalid."));
    return {};
}

bool has_detail(const Grid& lines)
{
    for (int row = 0; row < lines.row_count(); ++row)
        if (!lines.cell(row, col::ItemCode).trimmed().isEmpty() || !lines.cell(row, col::Description).trimmed().isEmpty())
            return true;
    return false;
}

} // namespace

[[nodiscard]] std::expected<void, Error> verify_choice(const Choices& list, const QString& value, const QString& message)
{
    if (value.isEmpty() || list.find(value) >= 0)
        return {};
    return refuse(message);
}

[[nodiscard]] std::expected<void, Error> verify_header(const PrHeaderTyped& header, const PrLists& lists, const Grid& lines)
{
    if (!has_detail(lines))
        return refuse(QStringLiteral("No detail line"));
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
        if (auto checked = verify_choice(choice.list, choice.value, QString::fromLatin1(choice.message)); !checked)
            return checked;
    return {};
}

[[nodiscard]] std::expected<void, Error> verify_detail(Database& db, const Grid& lines)
{
    for (int row = 0; row < lines.row_count(); ++row) {
        if (lines.cell(row, col::ItemCode).trimmed().isEmpty())
            continue;
        if (auto checked = verify_row(db, lines, row); !checked)
            return checked;
    }
    return {};
}

} // namespace zelkor
