#include "core/db/value_limits.h"

namespace zelkor {

namespace {

/// 15 significant digits in all: what a REAL keeps exactly.
constexpr int SignificantDigits = 15;

Decimal power_of_ten(int exponent)
{
    Decimal value(1);
    for (int i = 0; i < exponent; ++i)
        value *= Decimal(10);
    return value;
}

} // namespace

int column_scale(NumberColumn column)
{
    switch (column) {
    case NumberColumn::Money: return 2;
    case NumberColumn::Quantity:
    case NumberColumn::UnitCost: return 6;
    case NumberColumn::Rate: return 8;
    }
    return 2;
}

std::optional<QString> column_problem(const Decimal& value, NumberColumn column)
{
    const int scale = column_scale(column);
    if (value.is_overflow() || value.abs() >= power_of_ten(SignificantDigits - scale))
        return QStringLiteral("is too large.");
    if (value.round(scale) != value)
        return QStringLiteral("has too many decimals.");
    return std::nullopt;
}

int decimal_places(const Decimal& value)
{
    for (int places = 0; places < Decimal::Scale; ++places)
        if (value.round(places) == value)
            return places;
    return Decimal::Scale;
}

} // namespace zelkor
