#pragma once

#include "core/db/error.h"
#include "core/db/row.h"
#include "core/db/sql_value.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <expected>
#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;

namespace zelkor {

/// Statements with values, run straight on the libpq connection of a QPSQL connection. The Qt
/// driver writes bound values, quoted, into the text of an EXECUTE statement, so a value could
/// break the statement and the whole text, values and all, reached the log. Here every value
/// travels apart from the statement (PQexecPrepared), and a failing statement is logged without
/// its values. Both share the one connection, and so the one transaction.
///
/// Statements whose answer nobody waits for (a save's inserts and updates, its BEGIN) are sent
/// without waiting, in libpq's pipeline mode: the server runs them in order as they arrive, and
/// their outcome is read with the next statement that waits for an answer (a read, the COMMIT),
/// so that all of them cost one round trip. The first failure among them fails that statement;
/// the server skips everything after a failure up to the answer, so nothing after it is written.
class PostgresStatements {
public:
    explicit PostgresStatements(pg_conn* handle) : m_handle(handle) {}
    PostgresStatements(const PostgresStatements&) = delete;
    PostgresStatements& operator=(const PostgresStatements&) = delete;

    /// Runs a statement that gives rows, after what was sent.
    [[nodiscard]] std::expected<Rows, Error> select(const QString& sql, const Params& params);
    /// Runs a statement that gives none, after what was sent; gives the number of rows it changed.
    [[nodiscard]] std::expected<int, Error> execute(const QString& sql, const Params& params);
    /// Runs the statements one after another, after what was sent, in one round trip; gives each
    /// one's rows, or the first failure.
    [[nodiscard]] std::expected<std::vector<Rows>, Error> select_together(const std::vector<Statement>& statements);
    /// Sends a statement without waiting for its answer (see the class).
    [[nodiscard]] std::expected<void, Error> send(const QString& sql, const Params& params);
    /// Sends a statement without values (BEGIN) without waiting for its answer.
    [[nodiscard]] std::expected<void, Error> send_command(const QString& sql);
    /// Runs a statement without values (COMMIT, ROLLBACK) after what was sent.
    [[nodiscard]] std::expected<void, Error> command(const QString& sql);
    /// Waits for the answers of what was sent; the first failure among them.
    [[nodiscard]] std::expected<void, Error> flush();
    /// Whether statements were sent whose answers are not read yet.
    bool sending() const { return !m_sent.empty(); }
    /// How many times the connection waited for the server: a statement alone, or a batch sent
    /// together with the statement whose answer ended it.
    qint64 round_trips() const { return m_round_trips; }

    /// The statement text with its `?` placeholders numbered as PostgreSQL wants them ($1, $2 …);
    /// question marks inside quoted literals and names stay as they are.
    static QString numbered_placeholders(const QString& sql);

private:
    struct ResultDeleter {
        void operator()(pg_result* result) const;
    };
    using Result = std::unique_ptr<pg_result, ResultDeleter>;
    /// A statement sent whose answer is still to be read.
    struct Sent {
        QString sql;
        bool prepares = false; ///< the statement that prepares `sql` under its name
    };

    /// Runs the statement and hands its result to `read`; the result is freed afterwards.
    template <typename Read>
    auto run(const QString& sql, const Params& params, Read&& read) -> decltype(read(nullptr));
    [[nodiscard]] std::expected<QByteArray, Error> prepared(const QString& sql, int count);
    /// Puts a statement with values into the pipeline, prepared first when it is new.
    [[nodiscard]] std::expected<void, Error> queue(const QString& sql, const Params& params);
    [[nodiscard]] std::expected<void, Error> enter_pipeline(const QString& sql);
    /// Ends the pipeline: asks for the answers of everything sent and reads them; gives the
    /// results of the last `kept` statements, or the first failure.
    [[nodiscard]] std::expected<std::vector<Result>, Error> answers(size_t kept);
    Error error_of(pg_result* result, const QString& sql) const;
    /// Counts one wait for the server's answer.
    void count_round_trip();

    pg_conn* m_handle;
    QHash<QString, QByteArray> m_statements; ///< statement text -> its prepared name
    int m_named = 0;                         ///< statements prepared so far, for the next name
    std::vector<Sent> m_sent;
    qint64 m_round_trips = 0;
};

} // namespace zelkor
