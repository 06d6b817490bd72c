#pragma once

#include "core/db/error.h"
#include "core/db/row.h"
#include "core/db/sql_value.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <expected>

struct pg_conn;
struct pg_result;

namespace zelkor {

/// Statements with values, run straight on the libpq connection of a QPSQL connection. The Qt
/// driver writes bound values, quoted, into the text of an EXECUTE statement, so a value could
/// break the statement and the whole text, values and all, reached the log. Here every value
/// travels apart from the statement (PQexecPrepared), and a failing statement is logged without
/// its values. Both share the one connection, and so the one transaction.
class PostgresStatements {
public:
    explicit PostgresStatements(pg_conn* handle) : m_handle(handle) {}
    PostgresStatements(const PostgresStatements&) = delete;
    PostgresStatements& operator=(const PostgresStatements&) = delete;

    /// Runs a statement that gives rows.
    [[nodiscard]] std::expected<Rows, Error> select(const QString& sql, const Params& params);
    /// Runs a statement that gives none; gives the number of rows it changed.
    [[nodiscard]] std::expected<int, Error> execute(const QString& sql, const Params& params);

    /// The statement text with its `?` placeholders numbered as PostgreSQL wants them ($1, $2 …);
    /// question marks inside quoted literals and names stay as they are.
    static QString numbered_placeholders(const QString& sql);

private:
    /// Runs the statement and hands its result to `read`; the result is freed afterwards.
    template <typename Read>
    auto run(const QString& sql, const Params& params, Read&& read) -> decltype(read(nullptr));
    [[nodiscard]] std::expected<QByteArray, Error> prepared(const QString& sql, int count);
    Error error_of(pg_result* result, const QString& sql) const;

    pg_conn* m_handle;
    QHash<QString, QByteArray> m_statements; ///< statement text -> its prepared name
};

} // namespace zelkor
