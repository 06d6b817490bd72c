#include "core/choices.h"

#include "core/db/database.h"
#include "core/db/row.h"
#include "core/master_lookups.h"

namespace zelkor {

namespace {

// Twips to pixels at the 96 dpi the lists were laid out for (1440 twips an inch).
int pixels_of(int twips) { return twips * 96 / 1440; }

std::vector<QStringList> texts_of(const Rows& rows, const std::vector<int>& columns)
{
    std::vector<QStringList> texts;
    texts.reserve(rows.size());
    for (const Row& row : rows) {
        QStringList line;
        for (int column : columns)
            line << (column < row.size() ? Row::to_text(row.value(column)) : QString());
        texts.push_back(line);
    }
    return texts;
}

} // namespace

QString Choices::value_of(int row) const
{
    if (row < 0 || row >= int(rows.size()) || bound_column >= rows[size_t(row)].size())
        return {};
    return rows[size_t(row)].at(bound_column);
}

int Choices::find(const QString& value) const
{
    for (int row = 0; row < int(rows.size()); ++row)
        if (value_of(row).compare(value, Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

QString Choices::lookup(const QString& value, int column) const
{
    const int row = find(value);
    if (row < 0 || column < 0 || column >= rows[size_t(row)].size())
        return {};
    return rows[size_t(row)].at(column);
}

QString Choices::display_text(const QString& value) const
{
    const QString name = name_column >= 0 ? lookup(value, name_column).trimmed() : QString();
    if (name.isEmpty() || name.compare(value.trimmed(), Qt::CaseInsensitive) == 0)
        return value;
    return value + QStringLiteral(" \u2014 ") + name;
}

Choices Choices::of(const QStringList& values)
{
    Choices choices;
    for (const QString& value : values)
        choices.rows.push_back({value});
    return choices;
}

[[nodiscard]] std::expected<Choices, Error> Choices::load(Database& db, const PickList& list)
{
    auto rows = list.load(db);
    if (!rows)
        return std::unexpected(rows.error());
    Choices choices;
    std::vector<int> columns;
    for (const auto& column : list.columns()) {
        columns.push_back(column.index);
        choices.captions << column.caption;
        choices.widths.push_back(pixels_of(column.width_twips));
    }
    if (columns.empty())
        columns.push_back(0);
    choices.rows = texts_of(*rows, columns);
    return choices;
}

[[nodiscard]] std::expected<Choices, Error> Choices::query(Database& db, const QString& sql, const QStringList& captions,
                                             int bound_column)
{
    auto rows = db.select(sql);
    if (!rows)
        return std::unexpected(rows.error());
    Choices choices;
    choices.bound_column = bound_column;
    const int width = rows->empty() ? int(captions.size()) : rows->front().size();
    std::vector<int> columns;
    for (int column = 0; column < width; ++column) {
        columns.push_back(column);
        choices.captions << (column < captions.size() ? captions[column]
                                                      : rows->empty() ? QString() : rows->front().column_name(column));
    }
    choices.rows = texts_of(*rows, columns);
    return choices;
}

} // namespace zelkor
