#pragma once

#include "core/db/error.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <vector>

namespace zelkor {

class Database;
struct PickList;

/// The rows of a drop-down list: several columns, one of which (the bound column) gives the value
/// that is typed into the field when a row is chosen.
struct Choices {
    QStringList captions{};           ///< column headings; may be empty for a one-column list
    std::vector<int> widths{};        ///< column widths in pixels (0 = hidden column), may be empty
    std::vector<QStringList> rows{};  ///< one entry per row, one text per column
    int bound_column = 0;
    /// The column naming a chosen code ("2% 10, net 30" for "210"), which a view shows beside
    /// the code; -1 where the code speaks for itself. The value stays the code.
    int name_column = -1;
    /// A column of six hexadecimal digits (red, green, blue) that a view shows as a colour
    /// swatch; -1 for none.
    int swatch_column = -1;

    bool empty() const { return rows.empty(); }
    /// The value a row gives (its bound column).
    QString value_of(int row) const;
    /// The first row whose bound column equals `value` (case-insensitive), or -1.
    int find(const QString& value) const;
    /// The text of `column` in the row whose bound column is `value`; empty when none.
    QString lookup(const QString& value, int column) const;
    /// The value as a view shows it once chosen: "code — name" where the list names its codes
    /// and knows this one, else the value itself.
    QString display_text(const QString& value) const;

    /// A one-column list of the given texts.
    static Choices of(const QStringList& values);
    /// Reads a shared pick-list from the database; widths come from its layout string.
    [[nodiscard]] static std::expected<Choices, Error> load(Database& db, const PickList& list);
    /// Reads any query: every selected column becomes a list column, headed by `captions`
    /// (or by the column names when empty).
    [[nodiscard]] static std::expected<Choices, Error> query(Database& db, const QString& sql, const QStringList& captions = {},
                                               int bound_column = 0);
};

} // namespace zelkor
