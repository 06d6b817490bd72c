#pragma once

#include "core/money/decimal.h"

#include <QString>

#include <optional>

namespace zelkor {

/// The kinds of number column the documents keep. Each holds a value exactly on both engines
/// only within its limits: PostgreSQL stores NUMERIC(18, scale), SQLite a REAL that keeps 15
/// significant digits, so the whole part is held to 15 digits less the scale.
enum class NumberColumn {
    Money,    ///< amounts and totals: 2 decimals, below 10^13
    Quantity, ///< quantities: 6 decimals, below 10^9
    UnitCost, ///< unit costs: 6 decimals, below 10^9
    Rate,     ///< exchange rates: 8 decimals, below 10^7
};

/// The number of decimals a value needs (2.50 needs 1).
int decimal_places(const Decimal& value);

/// The decimals a column keeps.
int column_scale(NumberColumn column);

/// Why the column cannot hold the value exactly: "is too large." or "has too many decimals.";
/// nothing when it can.
std::optional<QString> column_problem(const Decimal& value, NumberColumn column);

} // namespace zelkor
