#pragma once

#include "windows/base/grid_layout.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zelkor {

/// The font panel of a window: a column chooser, font, size and colour pickers and the style
/// commands, acting on the layout of one grid. The view re-applies the layout after each change.
class FontPanel {
public:
    static inline const QString AllColumns = QStringLiteral("all columns");

    /// The panel acts on this layout (it must outlive the panel's use).
    void attach(GridLayout* layout);
    GridLayout* layout() const { return m_layout; }

    /// "all columns" followed by the headings of the grid's columns.
    QStringList column_choices() const;
    /// Chooses the target: "all columns" or one heading. An unknown text targets all columns.
    void choose_columns(const QString& choice);
    const QString& chosen() const { return m_chosen; }

    void toggle_bold();
    void toggle_italic();
    void toggle_underline();
    void align(Qt::Alignment alignment);
    void set_size(const Decimal& size);
    void set_font_name(const QString& name);
    /// The colour picker's choice as six hexadecimal digits; false (and nothing changes) when the
    /// text is not a colour.
    bool set_colour(QStringView hex);

    /// The sizes the size picker offers.
    static QStringList size_choices();

private:
    std::vector<ColumnLayout*> targets() const;
    template <typename Change> void change(Change&& apply);

    GridLayout* m_layout = nullptr;
    QString m_chosen = AllColumns;
};

} // namespace zelkor
