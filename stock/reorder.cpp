#include "stock/reorder.h"

#include "core/master_lookups.h"
#include "core/units.h"

#include <map>

namespace zelkor {

namespace {

/// One set-based read: every short item with its names, costs and the item's rule between its
/// purchase and its stock unit, whichever way it is written.
const QString ShortItems = QStringLiteral(
    "SELECT w.itemcode, i.description, i.purchase_uom, i.stock_uom, i.asset_accno, a.accname,"
    " i.quantity_decimals, i.unitcost_decimals, i.preferred_vendor, v.vendor_name, w.minimum_stock,"
    " w.reorder_quantity, w.last_cost, w.default_location, COALESCE(o.quantity, 0) AS on_hand,"
    " d.itemcode AS direct_rule, d.quantity_from AS direct_from, d.quantity_to AS direct_to,"
    " r.itemcode AS reverse_rule, r.quantity_from AS reverse_from, r.quantity_to AS reverse_to"
    " FROM Item_warehouse_table w"
    " INNER JOIN Item_master_table i ON i.itemcode = w.itemcode"
    " LEFT JOIN Account_master_table a ON a.accno = i.asset_accno"
    " LEFT JOIN Vendor_table v ON v.vendor_no = i.preferred_vendor"
    " LEFT JOIN (SELECT itemcode, SUM(quantity) AS quantity FROM Item_onhand_table"
    "   WHERE company = 1 AND warehouse = ? GROUP BY itemcode) o ON o.itemcode = w.itemcode"
    " LEFT JOIN UOM_conversion_table d ON d.itemcode = w.itemcode AND d.uom_from = i.purchase_uom"
    "   AND d.uom_to = i.stock_uom"
    " LEFT JOIN UOM_conversion_table r ON r.itemcode = w.itemcode AND r.uom_from = i.stock_uom"
    "   AND r.uom_to = i.purchase_uom"
    " WHERE w.company = 1 AND w.warehouse = ? AND w.minimum_stock > 0 AND i.item_type = '1'"
    " AND i.active = TRUE AND i.discontinued = FALSE AND i.kit = FALSE AND COALESCE(o.quantity, 0) < w.minimum_stock"
    " ORDER BY w.itemcode");

/// The smallest number with `places` decimals not below `value`.
Decimal rounded_up(const Decimal& value, int places)
{
    const Decimal rounded = value.round(places);
    if (rounded >= value)
        return rounded;
    Decimal step(1);
    for (int i = 0; i < places; ++i)
        step /= Decimal(10);
    return rounded + step;
}

bool usable(const Decimal& from, const Decimal& to) { return from > Decimal() && to > Decimal(); }

/// How many stock units one purchase unit of a short item holds: the item's own rule as read
/// with it; for an item without one, the company-wide rules, which are the same for every item
/// with the same two units and so are looked up once per pair. Nothing when no rule links the
/// units (the line then stays in stock units).
class PurchaseUnits {
public:
    explicit PurchaseUnits(Database& db) : m_db(db) {}

    [[nodiscard]] std::expected<std::optional<ConversionPair>, Error> of(const Row& row)
    {
        const QString purchase = row.text(u"purchase_uom");
        const QString stock = row.text(u"stock_uom");
        if (purchase.isEmpty() || purchase == stock)
            return ConversionPair{Decimal(1), Decimal(1)};
        const bool direct = !row.is_null(u"direct_rule");
        if (direct && usable(row.decimal(u"direct_from"), row.decimal(u"direct_to")))
            return ConversionPair{row.decimal(u"direct_from"), row.decimal(u"direct_to")};
        const bool reverse = !row.is_null(u"reverse_rule");
        if (!direct && reverse && usable(row.decimal(u"reverse_from"), row.decimal(u"reverse_to")))
            return ConversionPair{row.decimal(u"reverse_to"), row.decimal(u"reverse_from")};
        // A rule deferring to the company-wide one, or one that links nothing: the full search.
        if (direct || reverse)
            return looked_up(row.text(u"itemcode"), purchase, stock);
        const auto units = std::make_pair(purchase, stock);
        if (auto known = m_company.find(units); known != m_company.end())
            return known->second;
        auto pair = looked_up(row.text(u"itemcode"), purchase, stock);
        if (pair)
            m_company.emplace(units, *pair);
        return pair;
    }

private:
    [[nodiscard]] std::expected<std::optional<ConversionPair>, Error> looked_up(const QString& itemcode,
                                                                                const QString& purchase,
                                                                                const QString& stock)
    {
        auto pair = conversion_pair(m_db, itemcode, purchase, stock);
        if (!pair && pair.error().kind == Error::Kind::Database)
            return std::unexpected(pair.error());
        return pair ? std::optional<ConversionPair>(*pair) : std::nullopt;
    }

    Database& m_db;
    std::map<std::pair<QString, QString>, std::optional<ConversionPair>> m_company;
};

} // namespace

std::expected<std::vector<ReorderProposal>, Error> reorder_proposals(Database& db, const QString& warehouse)
{
    auto rows = db.select(ShortItems, {warehouse, warehouse});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<ReorderProposal> proposals;
    proposals.reserve(rows->size());
    std::optional<QString> warehouse_location;
    PurchaseUnits units_of(db);
    for (const Row& row : *rows) {
        auto pair = units_of.of(row);
        if (!pair)
            return std::unexpected(pair.error());
        const int quantity_decimals = std::clamp(int(row.integer(u"quantity_decimals")), 0, 6);
        const int cost_decimals = std::clamp(int(row.integer(u"unitcost_decimals")), 0, 6);
        const Decimal reorder = row.decimal(u"reorder_quantity");
        const Decimal stock_quantity =
            reorder > Decimal() ? reorder : row.decimal(u"minimum_stock") - row.decimal(u"on_hand");
        ReorderProposal proposal;
        proposal.itemcode = row.text(u"itemcode");
        proposal.description = row.text(u"description");
        proposal.accno = row.text(u"asset_accno");
        proposal.account_name = row.text(u"accname");
        proposal.preferred_vendor = row.text(u"preferred_vendor");
        proposal.vendor_name = row.text(u"vendor_name");
        proposal.warehouse = warehouse;
        // One purchase unit holds to/from stock units: multiplied first, divided last.
        const ConversionPair units = pair->value_or(ConversionPair{Decimal(1), Decimal(1)});
        proposal.uom = *pair && !row.text(u"purchase_uom").isEmpty() ? row.text(u"purchase_uom") : row.text(u"stock_uom");
        proposal.quantity = rounded_up(stock_quantity * units.from_quantity / units.to_quantity, quantity_decimals);
        if (const auto cost = row.decimal_or_null(u"last_cost"); cost && *cost > Decimal())
            proposal.unit_cost = (*cost * units.to_quantity / units.from_quantity).round(cost_decimals);
        proposal.location = row.text(u"default_location");
        if (proposal.location.isEmpty()) {
            if (!warehouse_location) {
                auto location = warehouse_default_location(db, warehouse);
                if (!location)
                    return std::unexpected(location.error());
                warehouse_location = *location;
            }
            proposal.location = *warehouse_location;
        }
        proposals.push_back(std::move(proposal));
    }
    return proposals;
}

} // namespace zelkor
