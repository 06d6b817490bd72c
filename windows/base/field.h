#pragma once

#include "core/choices.h"
#include "core/db/error.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <vector>

namespace zelkor {

/// How a field or grid column is edited.
enum class FieldKind {
    Text,
    MultiLine,
    Number,   ///< typed as "#,##0.00"-style text, read with Decimal::parse
    Date,     ///< typed in the user's date format
    Check,    ///< value "1" when ticked, "" or "0" when not
    DropDown, ///< free text with a multi-column pick-list
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
