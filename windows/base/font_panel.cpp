#include "windows/base/font_panel.h"

#include "windows/base/colour_list.h"


namespace zelkor {

void FontPanel::attach(GridLayout* layout)
{
    m_layout = layout;
    m_chosen = AllColumns;
}

QStringList FontPanel::column_choices() const
{
    QStringList choices{AllColumns};
    if (m_layout)
        for (const ColumnLayout& column : m_layout->columns)
            choices << column.heading;
    return choices;
}

void FontPanel::choose_columns(const QString& choice)
{
    m_chosen = column_choices().contains(choice) ? choice : AllColumns;
}

std::vector<ColumnLayout*> FontPanel::targets() const
{
    std::vector<ColumnLayout*> columns;
    if (!m_layout)
        return columns;
    for (ColumnLayout& column : m_layout->columns)
        if (m_chosen == AllColumns || column.heading == m_chosen)
            columns.push_back(&column);
    if (m_chosen != AllColumns && columns.size() > 1)
        columns.resize(1); // two columns with one heading: the chooser names the first
    return columns;
}

template <typename Change> void FontPanel::change(Change&& apply)
{
    for (ColumnLayout* column : targets())
        apply(*column);
}

void FontPanel::toggle_bold()
{
    change([](ColumnLayout& c) { c.font.bold = !c.font.bold.value_or(false); });
}

void FontPanel::toggle_italic()
{
    change([](ColumnLayout& c) { c.font.italic = !c.font.italic.value_or(false); });
}

void FontPanel::toggle_underline()
{
    change([](ColumnLayout& c) { c.font.underline = !c.font.underline.value_or(false); });
}

void FontPanel::align(Qt::Alignment alignment)
{
    change([alignment](ColumnLayout& c) { c.alignment = alignment | Qt::AlignVCenter; });
}

void FontPanel::set_size(const Decimal& size)
{
    if (size <= Decimal(0))
        return;
    change([&size](ColumnLayout& c) { c.font.size = size; });
}

void FontPanel::set_font_name(const QString& name)
{
    if (name.isEmpty())
        return;
    change([&name](ColumnLayout& c) { c.font.name = name; });
}

bool FontPanel::set_colour(QStringView hex)
{
    const auto value = colour_value(hex);
    if (!value)
        return false;
    change([value](ColumnLayout& c) { c.font.colour = *value; });
    return true;
}

QStringList FontPanel::size_choices()
{
    return {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"};
}

} // namespace zelkor
