#pragma once

#include "core/db/database.h"
#include "core/db/sql_names.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <expected>
#include <vector>

namespace zelkor {

/// Rows for one table and one column list, written in as few statements as suit the engine: a
/// hundred rows a statement on PostgreSQL, where every statement is a round trip, one on
/// SQLite, where a reused single-row statement is the fastest. Keyword column names are quoted.
class InsertBatch {
public:
    /// `suffix` follows every statement's VALUES list (an ON CONFLICT clause).
    InsertBatch(const QString& table, const QStringList& columns, QString suffix = {});

    /// Appends one row; its values follow the column list.
    void add(Params values);
    bool empty() const { return m_rows == 0; }
    qsizetype size() const { return m_rows; }

    [[nodiscard]] std::expected<void, Error> execute(Database& db) const;

private:
    QString m_prefix;
    QString m_row_placeholders;
    QString m_suffix;
    qsizetype m_columns = 0;
    qsizetype m_rows = 0;
    Params m_values;
};

/// Writes rows built one by one with InsertRow that share one column list (named by the first
/// row; the others may carry values only), in as few statements as InsertBatch would use.
[[nodiscard]] std::expected<void, Error> insert_rows(Database& db, const std::vector<InsertRow>& rows);

/// Runs `UPDATE table SET <set> FROM (VALUES <rows>) AS v WHERE <match>` over `rows` of values
/// (columns v.column1, v.column2, ...), a hundred rows a statement on PostgreSQL and one on
/// SQLite, as InsertBatch does; `row_placeholders` is one row's "(?, CAST(? AS ...), ...)".
[[nodiscard]] std::expected<void, Error> update_from_values(Database& db, const QString& table, const QString& set,
                                                            const QString& match, const QString& row_placeholders,
                                                            const std::vector<Params>& rows);

/// Splits values into chunks that one `IN (?, ...)` list takes, for reads by many keys.
constexpr qsizetype KeysPerStatement = 500;

/// "(?, ?), (?, ?)" for `count` rows of `width` values.
QString placeholder_rows(qsizetype count, qsizetype width);

/// Reads by many keys as statements to send together: `head + "?, ?, ..." + tail` (the list
/// inside the IN parentheses), KeysPerStatement keys a statement, each locking its rows when
/// `locks` says so.
std::vector<Statement> statements_by_keys(const QString& head, const std::vector<QString>& keys, const QString& tail,
                                          bool locks = false);

/// Reads by many keys: runs statements_by_keys' statements together and hands every row to `take`.
template <class Take>
[[nodiscard]] std::expected<void, Error> select_by_keys(Database& db, const QString& head, const std::vector<QString>& keys,
                                                        const QString& tail, Take take)
{
    auto read = db.select_together(statements_by_keys(head, keys, tail));
    if (!read)
        return std::unexpected(read.error());
    for (const Rows& rows : *read)
        for (const Row& row : rows)
            take(row);
    return {};
}

} // namespace zelkor
