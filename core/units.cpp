#include "core/units.h"

#include <QHash>

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

/// Everything a search between two units of an item may need, read in two statements that
/// travel together: whether both units exist, the item's stock unit, and the item's and the
/// company-wide ("*") rules among the two units and the stock unit. A save converts many lines;
/// each search costs one round trip rather than one per rule tried.
class RuleBook {
public:
    /// The two statements that read a search's book.
    static std::vector<Statement> statements(const QString& itemcode, const QString& from, const QString& to)
    {
        static const QString stock_uom = QStringLiteral("COALESCE((SELECT stock_uom FROM Item_master_table WHERE itemcode = ?), '')");
        return {{QStringLiteral("SELECT (SELECT COUNT(*) FROM UOM_table WHERE uom = ?) AS from_known,"
                                " (SELECT COUNT(*) FROM UOM_table WHERE uom = ?) AS to_known, ")
                     + stock_uom + QStringLiteral(" AS stock_uom"),
                 {from, to, itemcode}},
                {QStringLiteral("SELECT itemcode, uom_from, uom_to, quantity_from, quantity_to FROM UOM_conversion_table"
                                " WHERE itemcode IN (?, ?) AND uom_from IN (?, ?, ")
                     + stock_uom + QStringLiteral(") AND uom_to IN (?, ?, ") + stock_uom + u')',
                 {itemcode, CompanyWide, from, to, itemcode, from, to, itemcode}}};
    }

    /// The book of a search from the rows of its two statements; fails on an unknown unit.
    [[nodiscard]] static std::expected<RuleBook, Error> of(const Rows& facts_rows, const Rows& rule_rows, const QString& from,
                                                           const QString& to)
    {
        const Row& facts = facts_rows.front();
        for (const auto& [unit, known] : {std::pair{from, u"from_known"}, std::pair{to, u"to_known"}})
            if (facts.integer(known) == 0)
                return std::unexpected(Error::invalid(QStringLiteral("UOM (") + unit + QStringLiteral(") is invalid.")));
        RuleBook book;
        book.m_stock_uom = facts.text(u"stock_uom");
        for (const Row& row : rule_rows)
            book.m_rules.insert(key(row.text(u"itemcode"), row.text(u"uom_from"), row.text(u"uom_to")),
                                {row.decimal(u"quantity_from"), row.decimal(u"quantity_to")});
        return book;
    }

    /// The stored rule, {0, 0} when there is none.
    ConversionPair stored(const QString& itemcode, const QString& from, const QString& to) const
    {
        return m_rules.value(key(itemcode, from, to));
    }
    const QString& stock_uom() const { return m_stock_uom; }

private:
    static QString key(const QString& itemcode, const QString& from, const QString& to)
    {
        return itemcode + QChar(0x1f) + from + QChar(0x1f) + to;
    }

    QString m_stock_uom;
    QHash<QString, ConversionPair> m_rules;
};

/// A usable rule, or {0, 0}.
ConversionPair if_usable(const ConversionPair& pair) { return usable(pair) ? pair : ConversionPair{}; }

/// The company-wide rule from -> to; one without a positive quantity_from is ignored.
ConversionPair company_rule(const RuleBook& book, const QString& from, const QString& to)
{
    return if_usable(book.stored(CompanyWide, from, to));
}

/// The item's rule from -> to; a quantity_from of 0 defers to the company-wide rule. A rule
/// with a negative or zero part would turn quantities into nothing (or divide by zero): it
/// links nothing.
ConversionPair item_rule(const RuleBook& book, const QString& itemcode, const QString& from, const QString& to)
{
    const ConversionPair rule = book.stored(itemcode, from, to);
    if (rule.from_quantity.is_zero())
        return company_rule(book, from, to);
    return if_usable(rule);
}

/// The item's rule between two units in either direction, as a pair from -> to.
ConversionPair item_rule_either_way(const RuleBook& book, const QString& itemcode, const QString& from, const QString& to)
{
    if (from == to)
        return ConversionPair{Decimal(1), Decimal(1)};
    if (const ConversionPair direct = item_rule(book, itemcode, from, to); usable(direct))
        return direct;
    return reversed(item_rule(book, itemcode, to, from));
}

ConversionPair through_stock_unit(const RuleBook& book, const QString& itemcode, const QString& from, const QString& to)
{
    const QString& stock = book.stock_uom();
    if (stock.isEmpty())
        return ConversionPair{};
    const ConversionPair from_leg = item_rule_either_way(book, itemcode, from, stock);
    const ConversionPair to_leg = item_rule_either_way(book, itemcode, to, stock);
    if (!usable(from_leg) || !usable(to_leg))
        return ConversionPair{};
    return chained(from_leg, to_leg);
}

ConversionPair find_pair(const RuleBook& book, const QString& itemcode, const QString& from, const QString& to)
{
    for (const ConversionPair& found : {item_rule_either_way(book, itemcode, from, to),
                                        through_stock_unit(book, itemcode, from, to), company_rule(book, from, to),
                                        reversed(company_rule(book, to, from))})
        if (usable(found))
            return found;
    return ConversionPair{};
}

/// The pair a search's book gives, or the message of a search that finds none.
std::expected<ConversionPair, Error> pair_of(const RuleBook& book, const UnitSearch& search)
{
    const ConversionPair pair = find_pair(book, search.itemcode, search.from, search.to);
    if (!usable(pair)) {
        return std::unexpected(Error::not_found(QStringLiteral("No conversion from UOM (%1) to UOM (%2) for item %3.")
                                                    .arg(search.from, search.to, search.itemcode)));
    }
    return pair;
}

} // namespace

[[nodiscard]] std::expected<std::vector<std::expected<ConversionPair, Error>>, Error>
conversion_pairs(Database& db, const std::vector<UnitSearch>& searches)
{
    std::vector<Statement> statements;
    for (const UnitSearch& search : searches)
        if (search.from != search.to)
            for (Statement& statement : RuleBook::statements(search.itemcode, search.from, search.to))
                statements.push_back(std::move(statement));
    std::vector<Rows> read;
    if (!statements.empty()) {
        auto together = db.select_together(statements);
        if (!together)
            return std::unexpected(together.error());
        read = std::move(*together);
    }
    std::vector<std::expected<ConversionPair, Error>> pairs;
    size_t next = 0;
    for (const UnitSearch& search : searches) {
        if (search.from == search.to) {
            pairs.emplace_back(ConversionPair{Decimal(1), Decimal(1)});
            continue;
        }
        auto book = RuleBook::of(read[next], read[next + 1], search.from, search.to);
        next += 2;
        pairs.push_back(book ? pair_of(*book, search) : std::unexpected(book.error()));
    }
    return pairs;
}

[[nodiscard]] std::expected<ConversionPair, Error> conversion_pair(Database& db, const QString& itemcode, const QString& from,
                                                     const QString& to)
{
    auto pairs = conversion_pairs(db, {{itemcode, from, to}});
    if (!pairs)
        return std::unexpected(pairs.error());
    return pairs->front();
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
    auto rule = stored_rule(db, CompanyWide, from, to);
    if (!rule)
        return std::unexpected(rule.error());
    if (!usable(*rule))
        return Decimal();
    return rule->to_quantity / rule->from_quantity;
}

} // namespace zelkor
