#pragma once

#include "core/db/database.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <expected>

namespace zelkor {

/// A column or table name as it must be written in SQL for both engines: unquoted, unless it
/// is a keyword of either engine (`default`, `delete`, `user`, ...), which is double-quoted in
/// lower case.
QString sql_name(QStringView name);

/// "?, ?, ?" for an IN list of `count` values.
QString placeholder_list(qsizetype count);

/// Who created a row and when: the date_created, time_created and user_created columns of every
/// document, line and posting row.
struct Created {
    QDate date{};
    QString time{}; ///< "hh:mm:ss"
    QString user{};
};

/// Builds "INSERT INTO table (columns) VALUES (?, ...)" from column/value pairs, quoting
/// keyword column names. The same columns in the same order give the same text, so the
/// database reuses its prepared statement.
class InsertRow {
public:
    /// Whether the row names its columns, or only carries values for the columns of the row
    /// written before it in a batch (insert_rows): a document's many lines name them once.
    enum class Columns { Named, AsFirstRow };

    explicit InsertRow(QString table, Columns columns = Columns::Named) : m_table(std::move(table)), m_named(columns == Columns::Named) {}
    InsertRow& set(QStringView column, SqlValue value);
    /// Sets date_created, time_created and user_created.
    InsertRow& set_created(const Created& created);
    QString sql() const;
    const Params& params() const { return m_params; }
    [[nodiscard]] std::expected<void, Error> execute(Database& db) const;
    /// For tables with a generated `id` column.
    [[nodiscard]] std::expected<qint64, Error> execute_returning_id(Database& db) const;

private:
    QString m_table;
    bool m_named = true;
    QStringList m_columns;
    Params m_params;
};

/// Builds "UPDATE table SET a = ?, b = ? WHERE <condition>" with bound values.
class UpdateRow {
public:
    explicit UpdateRow(QString table) : m_table(std::move(table)) {}
    UpdateRow& set(QStringView column, SqlValue value);
    /// The condition's `?` placeholders take `params` in order, after the SET values.
    UpdateRow& where(QString condition, Params params);
    QString sql() const;
    [[nodiscard]] std::expected<int, Error> execute(Database& db) const;

private:
    QString m_table;
    QStringList m_columns;
    Params m_params;
    QString m_condition;
    Params m_condition_params;
};

} // namespace zelkor
