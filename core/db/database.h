#pragma once

#include "core/db/error.h"
#include "core/db/lock_order.h"
#include "core/db/row.h"
#include "core/db/sql_value.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace zelkor {

class SqliteWriter;
class PostgresStatements;

enum class Engine { Sqlite, Postgres };

/// Where a company database lives: a SQLite file path, or a PostgreSQL URI as libpq reads it,
/// postgresql://[user[:password]@][host][:port][/database][?keyword=value&...]. What the URI leaves out,
/// libpq finds as it always does: in the service file (?service=NAME), the PG* environment, the
/// password file (~/.pgpass or PGPASSFILE), or its own defaults (the local socket, port 5432, the
/// user's name as the database's).
struct ConnectionDescription {
    Engine engine = Engine::Sqlite;
    QString database; ///< the SQLite file; on PostgreSQL empty for libpq's default
    QString host;     ///< empty for libpq's default
    int port = -1;    ///< -1 for libpq's default
    QString user;     ///< empty for libpq's default
    QString password; ///< empty to let libpq look the password up
    /// The URI's other libpq connection keywords (sslmode, service, application_name …), in
    /// libpq's order.
    QList<std::pair<QString, QString>> options;
    /// ReadOnly refuses every write on the connection (a data check that must never write).
    enum class Access { ReadWrite, ReadOnly };
    Access access = Access::ReadWrite;

    static std::optional<ConnectionDescription> parse(const QString& text);
    /// The description without the password or another secret (sslpassword), for logs and titles.
    QString display() const;
    /// The keywords as the QPSQL driver takes them ("key='value';…"), with connect_timeout=10 where
    /// neither the URI, PGCONNECT_TIMEOUT nor a service file may set it.
    QString connect_options() const;
};

/// The warning a program prints once on stderr when the URI it was given carries a password,
/// which every user of the machine can read in its command line; nothing otherwise.
std::optional<QString> password_warning(const ConnectionDescription& where);

/// One open company database. Every statement goes through it with bound values; it caches
/// prepared statements, maps driver errors to Error, and counts statements so that tests can
/// make the n-th one fail.
class Database {
public:
    /// How long a statement waits for a row or a file another user holds before the save gives
    /// up with Error::Kind::Locked.
    static constexpr int LockWaitMilliseconds = 4500;

    [[nodiscard]] static std::expected<std::unique_ptr<Database>, Error> open(const ConnectionDescription& where);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Engine engine() const { return m_where.engine; }
    const ConnectionDescription& where() const { return m_where; }
    QSqlDatabase connection() const;

    [[nodiscard]] std::expected<Rows, Error> select(const QString& sql, const Params& params = {});
    /// The first row, or nothing when the result is empty.
    [[nodiscard]] std::expected<std::optional<Row>, Error> first(const QString& sql, const Params& params = {});
    /// The first column of the first row, or an invalid QVariant when the result is empty.
    [[nodiscard]] std::expected<QVariant, Error> scalar(const QString& sql, const Params& params = {});
    /// Runs a statement that returns no rows; gives the number of rows it changed.
    [[nodiscard]] std::expected<int, Error> execute(const QString& sql, const Params& params = {});
    /// Runs a statement that writes and whose answer the save needs only at its end (an insert,
    /// an update whose rows it does not count). On PostgreSQL, inside a transaction, it is sent
    /// without waiting and travels with the next statement that waits for an answer, or with the
    /// COMMIT: a failure of it fails that statement instead, and the save rolls back whole as it
    /// would have. Elsewhere it runs at once, as execute() does.
    [[nodiscard]] std::expected<void, Error> write(const QString& sql, const Params& params = {});
    /// Runs an UPDATE ... RETURNING and gives the rows it changed as they now are; a write, as
    /// execute() is, for the write recorder.
    [[nodiscard]] std::expected<Rows, Error> update_returning(const QString& sql, const Params& params);
    /// Runs statements that give rows one after another and gives each one's rows. On PostgreSQL
    /// they travel together, with what was sent before, in one round trip: for reads that do not
    /// depend on each other's results. The first failure fails them all.
    [[nodiscard]] std::expected<std::vector<Rows>, Error> select_together(const std::vector<Statement>& statements);
    /// Runs an INSERT and gives the new row's generated `id`.
    [[nodiscard]] std::expected<qint64, Error> insert_returning_id(const QString& insert_sql, const Params& params);
    /// After rows were written with explicit ids: the ids the table generates later continue above
    /// `id` (PostgreSQL's identity does not follow explicit values, SQLite's AUTOINCREMENT does).
    [[nodiscard]] std::expected<void, Error> advance_identity(const QString& table, qint64 id);
    /// Runs statements separated by ";" at the end of a line, without bound values (DDL, seed data).
    [[nodiscard]] std::expected<void, Error> execute_script(const QString& script);

    /// Reads rows and keeps them for this transaction against other writers: PostgreSQL takes
    /// them FOR UPDATE, waiting up to LockWaitMilliseconds for a row another user holds; SQLite
    /// already holds the write lock since the transaction began. Fails with Error::Kind::Locked
    /// when the wait runs out or PostgreSQL finds two saves waiting on each other.
    /// `rank` names the rank of the rows when their table alone does not say it (the header of
    /// the document being edited); see LockRank.
    [[nodiscard]] std::expected<Rows, Error> select_for_update(const QString& sql, const Params& params = {},
                                                               std::optional<LockRank> rank = std::nullopt);

    /// Whether the lock-order recorder of test builds watches this transaction: a caller builds
    /// what it tells locked_keys only then, so that production saves pay nothing for it.
    bool recording_locks() const { return m_watching_locks && in_transaction(); }
    /// Tells the recorder which rows of `table` the last statement locked, by key (see
    /// LockOrderRecorder::keys).
    void locked_keys(const QString& table, const QStringList& keys)
    {
        if (recording_locks())
            m_locks.keys(table, keys);
    }

    bool in_transaction() const { return m_transaction_depth > 0; }

    /// What stops, from another thread, the statement this connection runs at that moment (it
    /// then fails); nothing happens when none runs. Made on the connection's own thread, and
    /// called only while this Database lives.
    [[nodiscard]] std::function<void()> interrupter() const;

    /// Test support: the n-th statement from now (1 = the next) fails as a database error.
    void fail_statement(int n) { m_fail_countdown = n; }
    qint64 statement_count() const { return m_statement_count; }
    /// How many times the connection waited for the server: on PostgreSQL statements sent
    /// together with write() count once, on SQLite, where nothing travels, every statement counts.
    qint64 round_trips() const;
    /// Benchmark support: each statement run by execute() is handed to `recorder` with the number
    /// of rows it changed once it has run, so that a benchmark can write exactly a save's rows
    /// again without the save's work. An empty recorder stops the recording.
    using WriteRecorder = std::function<void(const QString& sql, const Params& params, int changed)>;
    void record_writes(WriteRecorder recorder) { m_write_recorder = std::move(recorder); }

private:
    friend class Transaction;
    friend class ReadSnapshot;
    explicit Database(ConnectionDescription where, QString connection_name);
    [[nodiscard]] std::expected<void, Error> configure();
    std::expected<QSqlQuery*, Error> run(const QString& sql, const Params& params);
    /// Counts the statement and applies test fault injection and the overflow check.
    [[nodiscard]] std::expected<void, Error> admit(const QString& sql, const Params& params);
    [[nodiscard]] std::expected<void, Error> run_plain(const QString& sql);
    [[nodiscard]] std::expected<void, Error> admit_plain(const QString& sql);
    /// BEGIN: on PostgreSQL sent with the transaction's first statement.
    [[nodiscard]] std::expected<void, Error> begin(const QString& sql);
    [[nodiscard]] std::expected<void, Error> commit_plain();
    void roll_back();
    bool injected_failure();
    Error error_of(const QSqlQuery& query, const QString& sql) const;

    ConnectionDescription m_where;
    QString m_connection_name;
    QSqlDatabase m_connection;
    QHash<QString, QSqlQuery*> m_prepared;
    std::unique_ptr<SqliteWriter> m_sqlite_writer; ///< writes on SQLite, bypassing QtSql's binding
    std::unique_ptr<PostgresStatements> m_postgres; ///< every statement with values on PostgreSQL
    int m_transaction_depth = 0;
    qint64 m_statement_count = 0;
    int m_fail_countdown = 0;
    bool m_rollback_only = false;
    WriteRecorder m_write_recorder;
    LockOrderRecorder m_locks;       ///< the locks of the transaction, when test builds watch them
    bool m_watching_locks = false;
    bool m_reading_for_update = false;
    std::optional<LockRank> m_named_rank;
};

/// Brackets one save: begins in the constructor and rolls back in the destructor unless
/// commit() succeeded. Nested transactions join the outer one: their commit does nothing and
/// their rollback leaves the outer transaction to roll back.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    /// False when the transaction could not begin (the database stayed locked).
    bool active() const { return m_began.has_value(); }
    const Error& begin_error() const { return m_began.error(); }
    [[nodiscard]] std::expected<void, Error> commit();
    void rollback();

private:
    Database& m_db;
    std::expected<void, Error> m_began;
    bool m_outer = false;
    bool m_finished = false;
};

/// Brackets reads that must all see one state of the database although others save meanwhile
/// (a data check of a company in use): a read-only transaction, rolled back at the end.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Database& db);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    /// False when the snapshot could not begin.
    bool active() const { return m_began.has_value(); }
    const Error& begin_error() const { return m_began.error(); }

private:
    Database& m_db;
    std::expected<void, Error> m_began;
};

} // namespace zelkor
