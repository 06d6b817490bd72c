#pragma once

#include "core/db/database.h"
#include "core/money/decimal.h"

#include <QString>

#include <expected>
#include <vector>

namespace zelkor {

/// How two units of one item relate: `from_quantity` of the first unit equal `to_quantity`
/// of the second (1 box = 12 pieces gives {1, 12}). Both parts are positive.
struct ConversionPair {
    Decimal from_quantity;
    Decimal to_quantity;
};

/// The conversion pair of an item from unit `from` to unit `to`. Rules are tried in this
/// order: the item's rule from -> to, its rule to -> from, a chain of the item's rules through
/// its stock unit, then the company-wide ("*") rule; an item rule whose quantity_from is 0
/// stands for the company-wide rule of the same units. Errors: "UOM (" + unit + ") is
/// invalid." for a unit missing from UOM_table, and a message naming both units when no rule
/// links them. Equal units give {1, 1} without reading anything.
[[nodiscard]] std::expected<ConversionPair, Error> conversion_pair(Database& db, const QString& itemcode, const QString& from,
                                                     const QString& to);

/// One search for a conversion pair: an item's unit `from` to its unit `to`.
struct UnitSearch {
    QString itemcode;
    QString from;
    QString to;
};

/// The pairs of many searches, each as conversion_pair gives it (its own failure when no rule
/// links its units), read together: one round trip on PostgreSQL for the whole list. Fails
/// whole only when the database does.
[[nodiscard]] std::expected<std::vector<std::expected<ConversionPair, Error>>, Error>
conversion_pairs(Database& db, const std::vector<UnitSearch>& searches);

/// `quantity` of unit `from` expressed in unit `to`, exact (the caller rounds to the item's
/// decimals). Equal units return the quantity without reading anything. On error the caller
/// keeps its line as it was.
[[nodiscard]] std::expected<Decimal, Error> convert_quantity(Database& db, const Decimal& quantity, const QString& itemcode,
                                               const QString& from, const QString& to);

/// How many `to` units one `from` unit makes by the company-wide rule from -> to; 0 when there
/// is no such rule or its quantity_from is not positive.
[[nodiscard]] std::expected<Decimal, Error> company_conversion_factor(Database& db, const QString& from, const QString& to);

} // namespace zelkor
