#pragma once

#include "core/db/error.h"
#include "core/db/sql_value.h"

#include <QHash>
#include <QString>

#include <expected>

struct sqlite3;
struct sqlite3_stmt;

namespace zelkor {

/// Sets SQLite's memory for large company files (no page blocks reserved ahead, statement
/// journals kept in memory) before the process's first SQLite connection opens; later calls, or
/// SQLite already in use, change nothing.
void prepare_sqlite_memory();

/// Statements that write, run straight on the SQLite handle of a QSQLITE connection. QtSql
/// spends about a microsecond on every bound value; a save of many wide lines binds thousands,
/// so writes take this path while reads stay with QtSql. Both share the one handle, and so the
/// one transaction.
class SqliteWriter {
public:
    explicit SqliteWriter(sqlite3* handle) : m_handle(handle) {}
    ~SqliteWriter();
    SqliteWriter(const SqliteWriter&) = delete;
    SqliteWriter& operator=(const SqliteWriter&) = delete;

    /// Runs one statement with its values bound; gives the number of rows it changed.
    [[nodiscard]] std::expected<int, Error> execute(const QString& sql, const Params& params);
    /// The row id of the last row inserted on the handle.
    qint64 last_insert_id() const;

private:
    [[nodiscard]] std::expected<sqlite3_stmt*, Error> prepared(const QString& sql);
    Error error(const QString& sql) const;

    sqlite3* m_handle;
    QHash<QString, sqlite3_stmt*> m_statements;
};

} // namespace zelkor
