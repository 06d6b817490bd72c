#pragma once

#include "core/choices.h"
#include "core/db/database.h"
#include "core/db/value_limits.h"

#include <optional>

#include <QString>

#include <expected>
#include <initializer_list>

namespace zelkor {

struct DocumentLists;

// What every document checks of its header and lines, whatever typed them: the item types, typed
// codes in their lists, numbers that fit their columns, item quantities and unit costs, the
// vendor in use and a line's default tax code.

/// The item types of a purchasing line: code and meaning.
Choices item_type_choices();
/// Whether `code` is one of the item type codes "0" to "6".
bool is_item_type(const QString& code);
/// The item types whose codes must come from a list (stock, non-stock in master, charges).
bool item_type_has_list(const QString& item_type);
/// Items of the item master: stock ("1") and non-stock ("2").
bool is_master_item(const QString& item_type);

/// The refusal of a line with an amount typed but no item or charge code (line numbers from 1):
/// such a row is not a line a save could write.
QString missing_item_code(int line);

/// A value typed into a drop-down field or cell must be one of its list's values (empty is
/// allowed): gives the list's own spelling of it, or the error `message`.
[[nodiscard]] std::expected<QString, Error> chosen_value(const Choices& list, const QString& typed,
                                                         const QString& message);

/// A code a save checks against its list, with the message of a code the list does not have.
struct CodeInList {
    const Choices& list;
    const QString& value;
    const char* message;
};
/// Every code present in its list (empty codes pass); the first missing one gives its message.
[[nodiscard]] std::expected<void, Error> verify_codes_in_lists(std::initializer_list<CodeInList> codes);

/// The check of a number typed into a line's cell: empty is allowed; text that is not a number
/// gives "<noun> is invalid."; a number its column cannot hold exactly on both engines gives
/// "<noun> is too large." or "<noun> has too many decimals.".
[[nodiscard]] std::expected<void, Error> typed_number(const QString& typed, const QString& noun, NumberColumn column);

/// A quantity of an item-master item must keep to the item's quantity decimals: code + " : not
/// allow fractional quantity." for an item counted in whole units, code + " : quantity decimal
/// place is " + decimals otherwise.
[[nodiscard]] std::expected<void, Error> verify_item_quantity(const Row& item, const QString& code,
                                                              const Decimal& quantity);
/// The extended cost of a quantity at a unit cost, to cents; the error "extended cost is too
/// large." when no amount column can hold it.
[[nodiscard]] std::expected<Decimal, Error> extended_cost_of(const Decimal& quantity, const Decimal& unitcost);

/// What a saved line holds that was typed: its codes and numbers.
struct TypedLineValues {
    int itemno = 0;
    QString itemcode{};
    QString itemtype{};
    std::optional<Decimal> quantity{};
    std::optional<Decimal> unitcost{};
    std::optional<Decimal> extended_cost{};
    QString uom{};
    QString accno{};
    QString warehouse{};
    QString location{};
    QString tax_code{};
};

/// The checks every saved line passes whatever put its values there: a line carrying an amount
/// names its item ("please specify item code for line n"), its numbers fit their columns, and
/// its codes are in their lists (the cells' own messages). The first failure gives its message.
[[nodiscard]] std::expected<void, Error> verify_line_values(const TypedLineValues& line, const DocumentLists& lists);

/// verify_line_values over every line of a document whose line type has the same fields.
template <typename Lines>
[[nodiscard]] std::expected<void, Error> verify_lines_values(const Lines& lines, const DocumentLists& lists)
{
    for (const auto& line : lines)
        if (auto checked = verify_line_values({line.itemno, line.itemcode, line.itemtype, line.quantity, line.unitcost,
                                               line.extended_cost, line.uom, line.accno, line.warehouse, line.location,
                                               line.tax_code},
                                              lists);
            !checked)
            return checked;
    return {};
}
/// The unit cost of an item-master line as the item allows it: given ("please specify unit cost
/// for " + code), not negative (code + ": unit cost is invalid."), with no more decimals than the
/// item's unitcost_decimals (code + " : unit cost decimal place is " + n).
[[nodiscard]] std::expected<void, Error> verify_item_unit_cost(const QString& code, const std::optional<Decimal>& unitcost,
                                                               const Row& item);

/// The units a line may use: every unit (`all_units`), or for a stock item its stock and
/// purchase units and the units it has conversion rules from.
[[nodiscard]] std::expected<Choices, Error> line_unit_choices(Database& db, const Choices& all_units,
                                                              const QString& item_type, const QString& itemcode);

/// The vendor a header names, when it is still in use (not discontinued); otherwise the error
/// "vendor is invalid.".
[[nodiscard]] std::expected<Row, Error> chosen_vendor(Database& db, const QString& vendor_no);
/// The tax code a line of any type but "6" takes when none was typed: the vendor's tax code,
/// else the code marked default; with neither, the error "Default Tax code has not been set"
/// (the line stays untaxed).
[[nodiscard]] std::expected<QString, Error> line_default_tax_code(Database& db, const QString& vendor_tax_code);

} // namespace zelkor
