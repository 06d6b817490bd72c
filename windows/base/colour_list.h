#pragma once

#include "windows/base/field.h"

#include <QString>

#include <array>
#include <optional>
#include <string_view>

namespace zelkor {

/// One entry of the colour picker: six hexadecimal digits (red, green, blue) and a name.
struct ColourEntry {
    std::string_view hex;
    std::string_view name;
};

inline constexpr int ColourListSize = 510;

/// The colour picker's entries in the order the picker shows them.
extern const std::array<ColourEntry, ColourListSize> colour_list;

/// The stored colour value of six hexadecimal digits "rrggbb": red + 256 × green + 65536 × blue.
/// Nothing for text that is not six hexadecimal digits.
std::optional<qint64> colour_value(QStringView hex);

/// The six digits "rrggbb" of a stored colour value (the inverse of colour_value).
QString colour_hex(qint64 value);

/// The colour list as the rows of a drop-down: the six digits (the value) and the name.
Choices colour_choices();

/// The first entry of the list with this name (case-insensitive), or nothing.
std::optional<ColourEntry> find_colour(QStringView name);

} // namespace zelkor
