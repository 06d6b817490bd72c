#include "windows/base/colour_list.h"

namespace zelkor {

std::optional<qint64> colour_value(QStringView hex)
{
    if (hex.size() != 6)
        return std::nullopt;
    const QString digits = hex.toString().toUpper();
    qint64 value = 0;
    for (int pair = 0; pair < 3; ++pair) {
        bool ok = false;
        const int component = digits.mid(pair * 2, 2).toInt(&ok, 16);
        if (!ok || digits.mid(pair * 2, 2).startsWith(u'+') || digits.mid(pair * 2, 2).startsWith(u'-'))
            return std::nullopt;
        value += qint64(component) << (8 * pair);
    }
    return value;
}

QString colour_hex(qint64 value)
{
    const auto component = [value](int shift) { return int((value >> shift) & 0xff); };
    return QStringLiteral("%1%2%3")
        .arg(component(0), 2, 16, QLatin1Char('0'))
        .arg(component(8), 2, 16, QLatin1Char('0'))
        .arg(component(16), 2, 16, QLatin1Char('0'));
}

Choices colour_choices()
{
    const auto text = [](std::string_view view) { return QString::fromLatin1(view.data(), qsizetype(view.size())); };
    Choices choices;
    choices.captions = {QStringLiteral("Colour"), QStringLiteral("Name")};
    choices.rows.reserve(colour_list.size());
    for (const ColourEntry& entry : colour_list)
        choices.rows.push_back({text(entry.hex), text(entry.name)});
    choices.name_column = 1;
    choices.swatch_column = 0;
    return choices;
}

std::optional<ColourEntry> find_colour(QStringView name)
{
    for (const ColourEntry& entry : colour_list)
        if (name.compare(QLatin1StringView(entry.name.data(), qsizetype(entry.name.size())), Qt::CaseInsensitive) == 0)
            return entry;
    return std::nullopt;
}

} // namespace zelkor
