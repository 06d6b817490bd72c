#pragma once

#include "services/error.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <vector>

namespace zelkor {

class Database;
struct PickList;

/// How a field or grid column is edited.
enum class FieldKind {
    Text,
    MultiLine,
    Number,   ///< typed as "#,##0.00"-style text, read with Decimal::parse
    Date,     ///< typed in the user's date format
    Check,    ///< value "1" when ticked, "" or "0" when not
    DropDown, ///< free text with a multi-column pick-list
};

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

/// Whether a document window's read mode locks the field. Number boxes that open a document
/// when typed into, and filters, stay open in read mode.
enum class ReadModeLock { Locked, Open };

/// What a window declares about one header field.
struct FieldSpec {
    QString name{};      ///< the table column the value is saved to, or a snake_case name for others
    QString caption{};   ///< the label beside the field
    FieldKind kind = FieldKind::Text;
    int row = 0;       ///< layout row of the header (or of its pane); fields of one row sit side by side
    QString pane{};      ///< empty for the header, else the name of the pane holding the field
    bool read_only = false;
    ReadModeLock lock = ReadModeLock::Locked;
    QString unit{};      ///< the unit of a number, shown after the field ("pt"); empty for none
};

/// A header field: its declaration, the value as typed and its state.
struct Field {
    FieldSpec declaration;
    QString value{};
    bool read_only = false; ///< the window's own read-only state (the mode lock comes on top)
    Choices choices{};        ///< the drop-down's list

    const QString& name() const { return declaration.name; }
    const QString& caption() const { return declaration.caption; }
    FieldKind kind() const { return declaration.kind; }
    /// A ticked check box.
    bool checked() const { return value == QLatin1String("1") || value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0; }
};

/// Whether typed text may keep its line breaks and tabs (multi-line fields, free text) or is one
/// line (codes, numbers, dates, grid cells).
enum class TextLines { Kept, Single };

/// Typed text as it is kept and saved, alike on both engines: control characters (NUL, escapes,
/// ...) removed; line breaks and tabs kept only where the text may have several lines.
QString without_control_characters(const QString& text, TextLines lines = TextLines::Kept);

/// How typing into a field or cell went.
enum class Entry {
    Accepted, ///< the value stays (the checks may have filled in other fields)
    Refused,  ///< the window's check refused it and said why (the check decides what stays)
    ReadOnly, ///< the field or cell cannot be typed into now
    Unknown,  ///< no such field, grid, row or column
};

} // namespace zelkor
