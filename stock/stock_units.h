#pragma once

#include "core/db/database.h"
#include "core/money/decimal.h"
#include "core/units.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <expected>
#include <optional>
#include <utility>
#include <vector>

namespace zelkor {

/// A quantity in an item's stock unit.
struct StockQuantity {
    Decimal quantity{};
    QString stock_uom{};
};

/// How a document unit converts to an item's stock unit.
struct StockConversion {
    ConversionPair pair{};
    QString stock_uom{};

    /// `quantity` in the stock unit: multiplied before it is divided, kept to six decimals.
    Decimal stock_quantity(const Decimal& quantity) const
    {
        return (quantity * pair.to_quantity / pair.from_quantity).round(6);
    }
};

/// Converts document quantities to stock units for one save: each item's stock unit and each
/// unit pair's factor are read once, however many lines name them.
class StockUnits {
public:
    explicit StockUnits(Database& db) : m_db(db) {}

    /// `quantity` of `uom` (the stock unit when empty) in the item's stock unit, multiplied before
    /// it is divided and kept to six decimals (the quantity columns' scale); nothing when the item
    /// is not in the item master.
    [[nodiscard]] std::expected<std::optional<StockQuantity>, Error> convert(const QString& itemcode, const QString& uom,
                                                                             const Decimal& quantity);
    /// The item's stock unit; nothing when the item is not in the item master.
    [[nodiscard]] std::expected<std::optional<QString>, Error> stock_uom_of(const QString& itemcode);
    /// The conversion of `uom` (the stock unit when empty) to the item's stock unit; nothing when
    /// the item is not in the item master.
    [[nodiscard]] std::expected<std::optional<StockConversion>, Error> conversion(const QString& itemcode,
                                                                                  const QString& uom);
    /// Reads the stock units of many items at once, a few hundred a statement, so that converting
    /// their lines reads no item again.
    [[nodiscard]] std::expected<void, Error> read_stock_uoms(const QSet<QString>& itemcodes);
    /// Reads the conversions of many lines' units (item code and unit, the stock unit when
    /// empty) at once: the stock units not yet read, then every pair in one round trip on
    /// PostgreSQL. A pair that finds no rule is left for conversion() to report.
    [[nodiscard]] std::expected<void, Error> read_conversions(const std::vector<std::pair<QString, QString>>& item_uoms);
    /// Takes an item's stock unit read with other item columns, so that it is not read again.
    void remember_stock_uom(const QString& itemcode, const QString& stock_uom) { m_stock_uoms.insert(itemcode, stock_uom); }

private:
    Database& m_db;
    QHash<QString, std::optional<QString>> m_stock_uoms;
    QHash<QString, ConversionPair> m_pairs;
};

} // namespace zelkor
