#include "windows/masters/master_table.h"

#include "core/db/sql_names.h"
#include "windows/base/field.h"
#include "windows/print/grid_report.h"

namespace zelkor {

namespace {

QString column_list(const MasterTable& table)
{
    QStringList names;
    for (const MasterColumn& column : table.columns)
        names << sql_name(column.column);
    return names.join(QStringLiteral(", "));
}

QString key_condition(const MasterTable& table)
{
    return sql_name(table.key().column) + QStringLiteral(" = ?");
}

} // namespace

int MasterTable::column_of_field(const QString& field) const
{
    for (int index = 0; index < int(columns.size()); ++index)
        if (!columns[size_t(index)].field.isEmpty() && columns[size_t(index)].field.compare(field, Qt::CaseInsensitive) == 0)
            return index;
    return -1;
}

SqlValue stored_value(const QString& text)
{
    const QString kept = without_control_characters(text);
    return kept.isEmpty() ? SqlValue(std::nullopt) : SqlValue(kept);
}

[[nodiscard]] std::expected<Rows, Error> load_master_rows(Database& db, const MasterTable& table)
{
    return db.select(QStringLiteral("SELECT ") + column_list(table) + QStringLiteral(" FROM ") + table.table
                     + QStringLiteral(" ORDER BY ") + sql_name(table.key().column));
}

[[nodiscard]] std::expected<std::optional<Row>, Error> master_row(Database& db, const MasterTable& table,
                                                                  const QString& key)
{
    return db.first(QStringLiteral("SELECT ") + column_list(table) + QStringLiteral(" FROM ") + table.table
                        + QStringLiteral(" WHERE ") + key_condition(table),
                    {key});
}

[[nodiscard]] std::expected<QStringList, Error> master_keys(Database& db, const MasterTable& table)
{
    const QString key = sql_name(table.key().column);
    auto rows = db.select(QStringLiteral("SELECT ") + key + QStringLiteral(" FROM ") + table.table
                          + QStringLiteral(" ORDER BY ") + key);
    if (!rows)
        return std::unexpected(rows.error());
    QStringList keys;
    for (const Row& row : *rows)
        keys << Row::to_text(row.value(0));
    return keys;
}

[[nodiscard]] std::expected<bool, Error> lock_master_row(Database& db, const MasterTable& table, const QString& key)
{
    auto rows = db.select_for_update(QStringLiteral("SELECT ") + sql_name(table.key().column) + QStringLiteral(" FROM ")
                                         + table.table + QStringLiteral(" WHERE ") + key_condition(table),
                                     {key});
    if (!rows)
        return std::unexpected(rows.error());
    return !rows->empty();
}

[[nodiscard]] std::expected<void, Error> insert_master_row(Database& db, const MasterTable& table,
                                                           const MasterValues& values,
                                                           const std::vector<std::pair<QString, SqlValue>>& extra)
{
    InsertRow insert(table.table);
    for (int index = 0; index < int(table.columns.size()); ++index)
        insert.set(table.columns[size_t(index)].column, stored_value(values.value(index)));
    for (const auto& [column, value] : extra)
        insert.set(column, value);
    return insert.execute(db);
}

[[nodiscard]] std::expected<int, Error> update_master_row(Database& db, const MasterTable& table,
                                                          const MasterValues& values)
{
    UpdateRow update(table.table);
    for (int index = 1; index < int(table.columns.size()); ++index)
        update.set(table.columns[size_t(index)].column, stored_value(values.value(index)));
    return update.where(key_condition(table), {values.value(0)}).execute(db);
}

[[nodiscard]] std::expected<void, Error> update_master_rows(Database& db, const MasterTable& table,
                                                            const std::vector<MasterValues>& rows)
{
    constexpr size_t RowsPerStatement = 250;
    const int width = int(table.columns.size());
    // VALUES names its columns column1, column2, ... on both engines; column1 is the key.
    QStringList assignments;
    for (int index = 1; index < width; ++index)
        assignments << sql_name(table.columns[size_t(index)].column) + QStringLiteral(" = v.column%1").arg(index + 1);
    const QString row_placeholders = u'(' + QStringList(width, QStringLiteral("?")).join(QStringLiteral(", ")) + u')';
    for (size_t first = 0; first < rows.size(); first += RowsPerStatement) {
        const size_t last = std::min(rows.size(), first + RowsPerStatement);
        Params params;
        QStringList values;
        for (size_t row = first; row < last; ++row) {
            values << row_placeholders;
            params.push_back(rows[row].value(0));
            for (int index = 1; index < width; ++index)
                params.push_back(stored_value(rows[row].value(index)));
        }
        const QString sql = QStringLiteral("UPDATE ") + table.table + QStringLiteral(" SET ") + assignments.join(QStringLiteral(", "))
                            + QStringLiteral(" FROM (VALUES ") + values.join(QStringLiteral(", ")) + QStringLiteral(") AS v WHERE ")
                            + table.table + u'.' + sql_name(table.key().column) + QStringLiteral(" = v.column1");
        if (auto updated = db.execute(sql, params); !updated)
            return std::unexpected(updated.error());
    }
    return {};
}

[[nodiscard]] std::expected<std::optional<QString>, Error> first_reference(Database& db, const MasterTable& table,
                                                                           const QString& key)
{
    for (const MasterReference& reference : table.references) {
        Params params{key};
        params.insert(params.end(), reference.params.begin(), reference.params.end());
        QString sql = QStringLiteral("SELECT ") + reference.document + QStringLiteral(" FROM ") + reference.table
                      + QStringLiteral(" WHERE ") + reference.column + QStringLiteral(" = ?");
        if (!reference.condition.isEmpty())
            sql += QStringLiteral(" AND (") + reference.condition + u')';
        // Ordering by the indexed column keeps a prepared plan on the index even when a few
        // codes fill most of the table: a scan would have to sort what it finds.
        auto row = db.first(sql + QStringLiteral(" ORDER BY ") + reference.column + QStringLiteral(" LIMIT 1"), params);
        if (!row)
            return std::unexpected(row.error());
        if (*row)
            return std::optional<QString>(Row::to_text((*row)->value(0)));
    }
    return std::optional<QString>();
}

[[nodiscard]] std::expected<void, Error> delete_master_row(Database& db, const MasterTable& table, const QString& key)
{
    auto deleted = db.execute(QStringLiteral("DELETE FROM ") + table.table + QStringLiteral(" WHERE ")
                                  + key_condition(table),
                              {key});
    if (!deleted)
        return std::unexpected(deleted.error());
    return {};
}

} // namespace zelkor
