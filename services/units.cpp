#include "services/units.h"

namespace zelkor {
namespace {

const QString CompanyWide = QStringLiteral("*");

/// A rule as read, or the result of a search: {0, 0} stands for "no rule".
using Rule = std::expected<ConversionPair, Error>;

bool usable(const ConversionPair& pair) { return pair.from_quantity > Decimal() && pair.to_quantity > Decimal(); }

ConversionPair reversed(const ConversionPair& pair) { return {pair.to_quantity, pair.from_quantity}; }

/// Joins two legs through the stock unit: a1 of `from` = s1 of stock and b2 of `to` = s2 of
/// stock give s2 * a1 of `from` = b2 * s1 of `to`.
ConversionPair chained(const ConversionPair& from_to_stock, const ConversionPair& to_to_stock)
{
    return {to_to_stock.to_quantity * from_to_stock.from_quantity, to_to_stock.from_quantity * from_to_stock.to_quantity};
}

/// Ends a search step: an error or a usable rule is the answer, anything else goes on.
bool settled(const Rule& rule) { return !rule || usable(*rule); }

[[nodiscard]] std::expected<void, Error> check_unit(Database& db, const QString& unit)
{
    auto found = db.scalar(QStringLiteral("SELECT COUNT(*) FROM UOM_table WHERE uom = ?"), {unit});
    if (!found)
        return std::unexpected(found.error());
    if (found->toLongLong() == 0)
        return std::unexpected(Error::invalid(QStringLiteral("UOM (") + unit + QStringLiteral(") is invalid.")));
    return {};
}

/// The rule of one item (or "*") from one unit to another, as stored.
Rule stored_rule(Database& db, const QString& itemcode, const QString& from, const QString& to)
{
    auto row = db.first(QStringLiteral("SELECT quantity_from, quantity_to FROM UOM_conversion_table"
                                       " WHERE itemcode = ? AND uom_from = ? AND uom_to = ?"),
                        {itemcode, from, to});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return ConversionPair{};
    return ConversionPair{(*row)->decimal(u"quantity_from"), (*row)->decimal(u"quantity_to")};
}

/// The company-wide rule from -> to; one without a positive quantity_from is ignored.
Rule company_rule(Database& db, const QString& from, const QString& to)
{
    auto rule = stored_rule(db, CompanyWide, from, to);
    if (rule && !usable(*rule))
        return ConversionPair{};
    return rule;
}

/// The item's rule from -> to; a quantity_from of 0 defers to the company-wide rule. A rule
/// with a negative or zero part would turn quantities into nothing (or divide by zero): it
/// links nothing.
Rule item_rule(Database& db, const QString& itemcode, const QString& from, const QString& to)
{
    auto rule = stored_rule(db, itemcode, from, to);
    if (rule && rule->from_quantity.is_zero())
        return company_rule(db, from, to);
    if (rule && !usable(*rule))
        return ConversionPair{};
    return rule;
}

/// The item's rule between two units in either direction, as a pair from -> to.
Rule item_rule_either_way(Database& db, const QString& itemcode, const QString& from, const QString& to)
{
    if (from == to)
        return ConversionPair{Decimal(1), Decimal(1)};
    if (auto direct = item_rule(db, itemcode, from, to); settled(direct))
        return direct;
    auto reverse = item_rule(db, itemcode, to, from);
    if (!reverse)
        return reverse;
    return reversed(*reverse);
}

Rule through_stock_unit(Database& db, const QString& itemcode, const QString& from, const QString& to)
{
    auto item = db.first(QStringLiteral("SELECT stock_uom FROM Item_master_table WHERE itemcode = ?"), {itemcode});
    if (!item)
        return std::unexpected(item.error());
    const QString stock = *item ? (*item)->text(u"stock_uom") : QString();
    if (stock.isEmpty())
        return ConversionPair{};
    auto from_leg = item_rule_either_way(db, itemcode, from, stock);
    if (!settled(from_leg))
        return ConversionPair{};
    if (!from_leg)
        return from_leg;
    auto to_leg = item_rule_either_way(db, itemcode, to, stock);
    if (!settled(to_leg))
        return ConversionPair{};
    if (!to_leg)
        return to_leg;
    return chained(*from_leg, *to_leg);
}

Rule find_pair(Database& db, const QString& itemcode, const QString& from, const QString& to)
{
    if (auto direct = item_rule_either_way(db, itemcode, from, to); settled(direct))
        return direct;
    if (auto chain = through_stock_unit(db, itemcode, from, to); settled(chain))
        return chain;
    if (auto company = company_rule(db, from, to); settled(company))
        return company;
    auto company_reverse = company_rule(db, to, from);
    if (!company_reverse)
        return company_reverse;
    return reversed(*company_reverse);
}

} // namespace

[[nodiscard]] std::expected<ConversionPair, Error> conversion_pair(Database& db, const QString& itemcode, const QString& from,
                                                     const QString& to)
{
    if (from == to)
        return ConversionPair{Decimal(1), Decimal(1)};
    for (const QString& unit : {from, to})
        if (auto valid = check_unit(db, unit); !valid)
            return std::unexpected(valid.error());
    auto pair = find_pair(db, itemcode, from, to);
    if (pair && !usable(*pair)) {
        return std::unexpected(Error::not_found(QStringLiteral("No conversion from UOM (%1) to UOM (%2) for item %3.")
                                                    .arg(from, to, itemcode)));
    }
    return pair;
}

[[nodiscard]] std::expected<Decimal, Error> convert_quantity(Database& db, const Decimal& quantity, const QString& itemcode,
                                               const QString& from, const QString& to)
{
    if (from == to)
        return quantity;
    auto pair = conversion_pair(db, itemcode, from, to);
    if (!pair)
        return std::unexpected(pair.error());
    return quantity * pair->to_quantity / pair->from_quantity;
}

[[nodiscard]] std::expected<Decimal, Error> company_conversion_factor(Database& db, const QString& from, const QString& to)
{
    auto rule = company_rule(db, from, to);
    if (!rule)
        return std::unexpected(rule.error());
    if (!usable(*rule))
        return Decimal();
    return rule->to_quantity / rule->from_quantity;
}

} // namespace zelkor
