#include "core/db/database.h"

#include "core/db/database_postgres.h"
#include "core/db/database_sqlite.h"

#include <QAtomicInt>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace zelkor {
namespace {

Q_LOGGING_CATEGORY(lcDatabase, "zelkor.database")

QString next_connection_name()
{
    static QAtomicInt counter;
    return QStringLiteral("zelkor-%1").arg(counter.fetchAndAddRelaxed(1));
}

bool is_lock_error(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    // PostgreSQL: lock_not_available, deadlock_detected; SQLite: SQLITE_BUSY, SQLITE_LOCKED.
    return code == u"55P03" || code == u"40P01" || code == u"5" || code == u"6";
}

/// The connection keywords libpq itself keeps out of sight (password, sslpassword).
bool is_secret(const QString& keyword)
{
    static const QStringList secrets = [] {
        QStringList names;
        char* refused = nullptr;
        // An empty connection string gives every keyword libpq knows, each with how to show it.
        if (PQconninfoOption* keywords = PQconninfoParse("", &refused)) {
            for (const PQconninfoOption* option = keywords; option->keyword; ++option)
                if (option->dispchar && option->dispchar[0] == '*')
                    names << QString::fromLatin1(option->keyword);
            PQconninfoFree(keywords);
        }
        PQfreemem(refused);
        return names;
    }();
    return secrets.contains(keyword);
}

/// A value as libpq's connection strings quote it.
QString quoted_value(QString value)
{
    value.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + value + u'\'';
}

} // namespace

std::optional<ConnectionDescription> ConnectionDescription::parse(const QString& text)
{
    ConnectionDescription d;
    if (text.startsWith(u"postgresql://") || text.startsWith(u"postgres://")) {
        // libpq reads the URI itself, so that it means here what it means to psql: the same
        // keywords, the same percent-decoding, and nothing filled in that libpq would look up.
        char* refused = nullptr;
        std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> given(PQconninfoParse(text.toUtf8().constData(), &refused),
                                                                            PQconninfoFree);
        PQfreemem(refused);
        if (!given)
            return std::nullopt;
        d.engine = Engine::Postgres;
        for (const PQconninfoOption* option = given.get(); option->keyword; ++option) {
            if (!option->val)
                continue;
            const QByteArray keyword(option->keyword);
            const QString value = QString::fromUtf8(option->val);
            if (keyword == "host") {
                d.host = value;
            } else if (keyword == "port") {
                // One port of one host: a list of hosts to try in turn is not taken.
                bool number = false;
                d.port = value.toInt(&number);
                if (!number || d.port <= 0 || d.port > 65535)
                    return std::nullopt;
            } else if (keyword == "user") {
                d.user = value;
            } else if (keyword == "password") {
                d.password = value;
            } else if (keyword == "dbname") {
                d.database = value;
            } else {
                // The QPSQL driver turns every ";" of its options into a space, quoted or not.
                if (value.contains(u';'))
                    return std::nullopt;
                d.options.append({QString::fromLatin1(keyword), value});
            }
        }
        if (d.host.contains(u','))
            return std::nullopt;
        return d;
    }
    if (text.trimmed().isEmpty())
        return std::nullopt;
    d.engine = Engine::Sqlite;
    d.database = text;
    return d;
}

QString ConnectionDescription::display() const
{
    if (engine == Engine::Sqlite)
        return database;
    QString shown = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        shown += user + u'@';
    // A socket folder cannot stand where the URI's host does; it is shown as its keyword.
    const bool socket = host.startsWith(u'/');
    if (!socket)
        shown += host.contains(u':') ? u'[' + host + u']' : host;
    if (port > 0)
        shown += u':' + QString::number(port);
    shown += u'/' + database;
    QStringList keywords;
    if (socket)
        keywords << QStringLiteral("host=") + host;
    for (const auto& [keyword, value] : options)
        if (!is_secret(keyword))
            keywords << keyword + u'=' + value;
    if (!keywords.isEmpty())
        shown += u'?' + keywords.join(u'&');
    return shown;
}

QString ConnectionDescription::connect_options() const
{
    // A connection waits at most 10 seconds for an unreachable server, unless the user said how
    // long: in the URI, in PGCONNECT_TIMEOUT, or possibly in the service file's entry.
    bool timeout_given = !qEnvironmentVariableIsEmpty("PGCONNECT_TIMEOUT") || !qEnvironmentVariableIsEmpty("PGSERVICE");
    QStringList keywords;
    for (const auto& [keyword, value] : options) {
        keywords << keyword + u'=' + quoted_value(value);
        timeout_given = timeout_given || keyword == u"connect_timeout" || keyword == u"service";
    }
    if (!timeout_given)
        keywords.prepend(QStringLiteral("connect_timeout=10"));
    return keywords.join(u';');
}

std::optional<QString> password_warning(const ConnectionDescription& where)
{
    const bool secret = !where.password.isEmpty()
        || std::ranges::any_of(where.options, [](const auto& option) { return is_secret(option.first); });
    if (where.engine != Engine::Postgres || !secret)
        return std::nullopt;
    return QStringLiteral("warning: the password in the database URI is visible to every user of this machine (ps); "
                          "use a password file (~/.pgpass), a service file or PGPASSWORD instead");
}

Database::Database(ConnectionDescription where, QString connection_name)
    : m_where(std::move(where)), m_connection_name(std::move(connection_name))
{
}

Database::~Database()
{
    m_sqlite_writer.reset();
    m_postgres.reset();
    qDeleteAll(m_prepared);
    m_prepared.clear();
    m_connection.close();
    m_connection = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection_name);
}

std::function<void()> Database::interrupter() const
{
    const QVariant handle = m_connection.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        sqlite3* raw = *static_cast<sqlite3* const*>(handle.constData());
        return [raw] { sqlite3_interrupt(raw); };
    }
    if (handle.isValid() && qstrcmp(handle.typeName(), "pg_conn*") == 0) {
        // The cancel request travels on a connection of its own, so it may be sent from any thread.
        std::shared_ptr<PGcancel> cancel(PQgetCancel(*static_cast<pg_conn* const*>(handle.constData())), PQfreeCancel);
        return [cancel] {
            char reason[256];
            if (cancel)
                PQcancel(cancel.get(), reason, int(sizeof reason));
        };
    }
    return [] {};
}

[[nodiscard]] std::expected<std::unique_ptr<Database>, Error> Database::open(const ConnectionDescription& where)
{
    std::unique_ptr<Database> db(new Database(where, next_connection_name()));
    const bool sqlite = where.engine == Engine::Sqlite;
    if (sqlite)
        prepare_sqlite_memory();
    db->m_connection = QSqlDatabase::addDatabase(sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"),
                                                 db->m_connection_name);
    QSqlDatabase& c = db->m_connection;
    c.setDatabaseName(where.database);
    const bool read_only = where.access == ConnectionDescription::Access::ReadOnly;
    if (sqlite) {
        c.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(LockWaitMilliseconds)
                            + (read_only ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    } else {
        c.setHostName(where.host);
        c.setPort(where.port);
        c.setUserName(where.user);
        c.setPassword(where.password);
        c.setConnectOptions(where.connect_options());
        // NUMERIC columns come back as exact text instead of doubles.
        c.setNumericalPrecisionPolicy(QSql::HighPrecision);
    }
    if (!c.open())
        return std::unexpected(Error::database(c.lastError().text()));
    if (auto configured = db->configure(); !configured)
        return std::unexpected(configured.error());
    const QVariant handle = c.driver()->handle();
    if (sqlite) {
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
            if (auto* raw = *static_cast<sqlite3* const*>(handle.constData()))
                db->m_sqlite_writer = std::make_unique<SqliteWriter>(raw);
    } else {
        if (!handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
            return std::unexpected(Error::database(QStringLiteral("the PostgreSQL driver gives no connection handle")));
        db->m_postgres = std::make_unique<PostgresStatements>(*static_cast<pg_conn* const*>(handle.constData()));
    }
    return db;
}

[[nodiscard]] std::expected<void, Error> Database::configure()
{
    const bool read_only = m_where.access == ConnectionDescription::Access::ReadOnly;
    QStringList settings = engine() == Engine::Sqlite
        ? QStringList{QStringLiteral("PRAGMA foreign_keys = ON"), QStringLiteral("PRAGMA trusted_schema = OFF"),
                      QStringLiteral("PRAGMA cell_size_check = ON"),
                      // A company file of years holds gigabytes: 64 MB of its pages (the default
                      // is 2 MB) keeps the indexes a save walks in the connection's memory.
                      QStringLiteral("PRAGMA cache_size = -65536")}
        : QStringList{QStringLiteral("SET lock_timeout = '%1ms'").arg(LockWaitMilliseconds),
                      QStringLiteral("SET client_min_messages = warning")};
    // The journal mode is the file's own: a reader leaves it as the writers set it.
    if (engine() == Engine::Sqlite && !read_only)
        // The log is copied into the file every 10,000 pages (40 MB) instead of 1,000: the pages
        // every save changes (counters, balances, the ends of indexes) are copied once per
        // checkpoint, and a large file's checkpoints, which wait for its disk, come a tenth as often.
        settings = QStringList{QStringLiteral("PRAGMA journal_mode = WAL"), QStringLiteral("PRAGMA synchronous = NORMAL"),
                               QStringLiteral("PRAGMA wal_autocheckpoint = 10000")}
            + settings;
    if (engine() == Engine::Postgres && read_only)
        settings << QStringLiteral("SET default_transaction_read_only = on");
    for (const QString& sql : settings) {
        QSqlQuery q(m_connection);
        if (!q.exec(sql))
            return std::unexpected(Error::database(q.lastError().text()));
    }
    return {};
}

QSqlDatabase Database::connection() const { return m_connection; }

bool Database::injected_failure()
{
    if (m_fail_countdown > 0 && --m_fail_countdown == 0)
        return true;
    return false;
}

Error Database::error_of(const QSqlQuery& query, const QString& sql) const
{
    const QSqlError e = query.lastError();
    const QString detail = e.text() + QStringLiteral(" [") + e.nativeErrorCode() + QStringLiteral("] in: ") + sql;
    qCWarning(lcDatabase).noquote() << detail;
    return is_lock_error(e) ? Error::locked(detail) : Error::database(detail);
}

namespace {

/// ZELKOR_SQL_TRACE=1 prints every statement a connection runs, for counting a save's round trips.
void trace_statement(const QString& sql)
{
    static const bool trace = qEnvironmentVariableIsSet("ZELKOR_SQL_TRACE");
    if (trace)
        std::fprintf(stderr, "sql %s\n", qPrintable(sql.simplified()));
}

} // namespace

[[nodiscard]] std::expected<void, Error> Database::admit(const QString& sql, const Params& params)
{
    ++m_statement_count;
    trace_statement(sql);
    if (m_watching_locks && in_transaction())
        m_locks.statement(sql, m_reading_for_update, m_named_rank);
    if (injected_failure())
        return std::unexpected(Error::database(QStringLiteral("injected failure in: ") + sql));
    for (const SqlValue& p : params) {
        if (p.is_overflow())
            return std::unexpected(Error::invalid(QStringLiteral("number is too large")));
        // Neither engine may be handed a NUL inside a text (PostgreSQL refuses it, SQLite would
        // keep a text that reads back cut): both refuse it alike.
        if (p.variant().typeId() == QMetaType::QString && p.variant().toString().contains(QChar(0)))
            return std::unexpected(Error::invalid(QStringLiteral("A text holds a character that cannot be stored.")));
    }
    return {};
}

[[nodiscard]] std::expected<QSqlQuery*, Error> Database::run(const QString& sql, const Params& params)
{
    if (auto admitted = admit(sql, params); !admitted)
        return std::unexpected(admitted.error());
    QSqlQuery* query = m_prepared.value(sql);
    if (!query) {
        auto fresh = std::make_unique<QSqlQuery>(m_connection);
        fresh->setForwardOnly(true);
        if (!fresh->prepare(sql))
            return std::unexpected(error_of(*fresh, sql));
        query = fresh.release();
        m_prepared.insert(sql, query);
    }
    for (qsizetype i = 0; i < static_cast<qsizetype>(params.size()); ++i)
        query->bindValue(static_cast<int>(i), params[static_cast<size_t>(i)].variant());
    if (!query->exec()) {
        Error e = error_of(*query, sql);
        query->finish();
        return std::unexpected(e);
    }
    return query;
}

[[nodiscard]] std::expected<void, Error> Database::admit_plain(const QString& sql)
{
    ++m_statement_count;
    trace_statement(sql);
    if (m_watching_locks && in_transaction())
        m_locks.statement(sql, m_reading_for_update, m_named_rank);
    if (injected_failure())
        return std::unexpected(Error::database(QStringLiteral("injected failure in: ") + sql));
    return {};
}

[[nodiscard]] std::expected<void, Error> Database::run_plain(const QString& sql)
{
    if (auto admitted = admit_plain(sql); !admitted)
        return admitted;
    if (m_postgres) {
        // A script's statement may hold several; it runs alone, after the answers of what was sent.
        if (auto answered = m_postgres->flush(); !answered)
            return answered;
        return m_postgres->command(sql);
    }
    QSqlQuery q(m_connection);
    if (!q.exec(sql))
        return std::unexpected(error_of(q, sql));
    return {};
}

[[nodiscard]] std::expected<void, Error> Database::begin(const QString& sql)
{
    if (!m_postgres)
        return run_plain(sql);
    if (auto admitted = admit_plain(sql); !admitted)
        return admitted;
    return m_postgres->send_command(sql);
}

[[nodiscard]] std::expected<void, Error> Database::commit_plain()
{
    static const QString commit = QStringLiteral("COMMIT");
    if (!m_postgres)
        return run_plain(commit);
    if (auto admitted = admit_plain(commit); !admitted)
        return admitted;
    // The COMMIT travels with what was sent; should any of it have failed, the server skips
    // the COMMIT with everything after the failure, and the transaction is rolled back.
    return m_postgres->command(commit);
}

void Database::roll_back()
{
    static const QString rollback = QStringLiteral("ROLLBACK");
    // A failed ROLLBACK leaves nothing to do: the connection discards the transaction anyway.
    if (m_postgres) {
        // What was sent is answered first: a ROLLBACK behind a failed statement would be skipped.
        (void)m_postgres->flush();
        if (auto done = m_postgres->command(rollback); !done)
            qCWarning(lcDatabase).noquote() << "rollback failed:" << done.error().detail;
        return;
    }
    QSqlQuery q(m_connection);
    if (!q.exec(rollback))
        qCWarning(lcDatabase).noquote() << "rollback failed:" << q.lastError().text();
}

qint64 Database::round_trips() const { return m_postgres ? m_postgres->round_trips() : m_statement_count; }

namespace {

/// The query's current row; `shape` is taken from the first row read and shared by the rest.
Row current_row(const QSqlQuery& query, std::shared_ptr<const RowShape>& shape)
{
    if (!shape)
        shape = std::make_shared<const RowShape>(query.record());
    std::vector<QVariant> values;
    values.reserve(size_t(shape->count()));
    for (int column = 0; column < shape->count(); ++column)
        values.push_back(query.value(column));
    return Row(shape, std::move(values));
}

} // namespace

[[nodiscard]] std::expected<Rows, Error> Database::select(const QString& sql, const Params& params)
{
    if (m_postgres) {
        if (auto admitted = admit(sql, params); !admitted)
            return std::unexpected(admitted.error());
        return m_postgres->select(sql, params);
    }
    auto query = run(sql, params);
    if (!query)
        return std::unexpected(query.error());
    Rows rows;
    QSqlQuery* q = *query;
    std::shared_ptr<const RowShape> shape;
    while (q->next())
        rows.push_back(current_row(*q, shape));
    const bool failed = q->lastError().isValid();
    Error e = failed ? error_of(*q, sql) : Error{};
    q->finish();
    if (failed)
        return std::unexpected(e);
    return rows;
}

[[nodiscard]] std::expected<std::optional<Row>, Error> Database::first(const QString& sql, const Params& params)
{
    if (m_postgres) {
        auto rows = select(sql, params);
        if (!rows)
            return std::unexpected(rows.error());
        return rows->empty() ? std::optional<Row>() : std::optional<Row>(std::move(rows->front()));
    }
    auto query = run(sql, params);
    if (!query)
        return std::unexpected(query.error());
    QSqlQuery* q = *query;
    std::optional<Row> row;
    std::shared_ptr<const RowShape> shape;
    if (q->next())
        row = current_row(*q, shape);
    q->finish();
    return row;
}

[[nodiscard]] std::expected<QVariant, Error> Database::scalar(const QString& sql, const Params& params)
{
    if (m_postgres) {
        auto rows = select(sql, params);
        if (!rows)
            return std::unexpected(rows.error());
        return rows->empty() || rows->front().size() == 0 ? QVariant() : rows->front().value(0);
    }
    auto query = run(sql, params);
    if (!query)
        return std::unexpected(query.error());
    QSqlQuery* q = *query;
    QVariant value;
    if (q->next())
        value = q->value(0);
    q->finish();
    return value;
}

[[nodiscard]] std::expected<int, Error> Database::execute(const QString& sql, const Params& params)
{
    std::expected<int, Error> affected;
    if (m_sqlite_writer || m_postgres) {
        if (auto admitted = admit(sql, params); !admitted)
            return std::unexpected(admitted.error());
        affected = m_sqlite_writer ? m_sqlite_writer->execute(sql, params) : m_postgres->execute(sql, params);
    } else {
        auto query = run(sql, params);
        if (!query)
            return std::unexpected(query.error());
        affected = (*query)->numRowsAffected();
        (*query)->finish();
    }
    if (affected && m_write_recorder)
        m_write_recorder(sql, params, *affected);
    return affected;
}

[[nodiscard]] std::expected<void, Error> Database::write(const QString& sql, const Params& params)
{
    // A benchmark recording the writes needs each one's count of changed rows as it runs.
    if (!m_postgres || !in_transaction() || m_write_recorder) {
        auto done = execute(sql, params);
        if (!done)
            return std::unexpected(done.error());
        return {};
    }
    if (auto admitted = admit(sql, params); !admitted)
        return admitted;
    return m_postgres->send(sql, params);
}

[[nodiscard]] std::expected<Rows, Error> Database::update_returning(const QString& sql, const Params& params)
{
    auto rows = select(sql, params);
    if (rows && m_write_recorder)
        m_write_recorder(sql, params, int(rows->size()));
    return rows;
}

[[nodiscard]] std::expected<std::vector<Rows>, Error> Database::select_together(const std::vector<Statement>& statements)
{
    std::vector<Rows> answers;
    if (statements.empty())
        return answers;
    if (!m_postgres) {
        for (const Statement& statement : statements) {
            auto rows = statement.writes  ? update_returning(statement.sql, statement.params)
                        : statement.locks ? select_for_update(statement.sql, statement.params)
                                          : select(statement.sql, statement.params);
            if (!rows)
                return std::unexpected(rows.error());
            answers.push_back(std::move(*rows));
        }
        return answers;
    }
    std::vector<Statement> sent = statements;
    for (Statement& statement : sent) {
        Q_ASSERT_X(!statement.locks || in_transaction(), "select_together", "rows are only kept inside a transaction");
        m_reading_for_update = statement.locks;
        auto admitted = admit(statement.sql, statement.params);
        m_reading_for_update = false;
        if (!admitted)
            return std::unexpected(admitted.error());
        if (statement.locks)
            statement.sql += QStringLiteral(" FOR UPDATE");
    }
    auto together = m_postgres->select_together(sent);
    if (together && m_write_recorder) {
        for (size_t i = 0; i < sent.size(); ++i) {
            if (sent[i].writes)
                m_write_recorder(sent[i].sql, sent[i].params, int((*together)[i].size()));
        }
    }
    return together;
}

[[nodiscard]] std::expected<void, Error> Database::advance_identity(const QString& table, qint64 id)
{
    if (engine() == Engine::Sqlite)
        return {};
    // The sequence only moves forward; a later id above `id` is kept.
    const QString sql = QStringLiteral("SELECT setval(pg_get_serial_sequence(?, 'id'), ?)"
                                       " WHERE COALESCE(pg_sequence_last_value(pg_get_serial_sequence(?, 'id')::regclass), 0) < ?");
    const Params params{table.toLower(), id, table.toLower(), id};
    // Nothing waits for the sequence inside a save: it travels with the next statement that
    // waits, or with the COMMIT, as write() sends.
    if (m_postgres && in_transaction() && !m_write_recorder) {
        if (auto admitted = admit(sql, params); !admitted)
            return admitted;
        return m_postgres->send(sql, params);
    }
    auto moved = select(sql, params);
    if (!moved)
        return std::unexpected(moved.error());
    return {};
}

[[nodiscard]] std::expected<qint64, Error> Database::insert_returning_id(const QString& insert_sql, const Params& params)
{
    if (m_sqlite_writer) {
        auto inserted = execute(insert_sql, params);
        if (!inserted)
            return std::unexpected(inserted.error());
        return m_sqlite_writer->last_insert_id();
    }
    if (m_postgres) {
        auto rows = select(insert_sql + QStringLiteral(" RETURNING id"), params);
        if (!rows)
            return std::unexpected(rows.error());
        return rows->empty() ? qint64(0) : rows->front().integer(u"id");
    }
    const bool postgres = engine() == Engine::Postgres;
    auto query = run(postgres ? insert_sql + QStringLiteral(" RETURNING id") : insert_sql, params);
    if (!query)
        return std::unexpected(query.error());
    QSqlQuery* q = *query;
    qint64 id = 0;
    if (postgres) {
        if (q->next())
            id = q->value(0).toLongLong();
    } else {
        id = q->lastInsertId().toLongLong();
    }
    q->finish();
    return id;
}

[[nodiscard]] std::expected<void, Error> Database::execute_script(const QString& script)
{
    static const QRegularExpression separator(QStringLiteral(";[ \\t]*(\\r?\\n|$)"));
    static const QRegularExpression comment_line(QStringLiteral("^\\s*--[^\\n]*$"),
                                                 QRegularExpression::MultilineOption);
    QString text = script;
    text.remove(comment_line);
    for (const QString& part : text.split(separator, Qt::SkipEmptyParts)) {
        const QString statement = part.trimmed();
        if (statement.isEmpty())
            continue;
        if (auto done = run_plain(statement); !done)
            return done;
    }
    return {};
}

[[nodiscard]] std::expected<Rows, Error> Database::select_for_update(const QString& sql, const Params& params,
                                                                   std::optional<LockRank> rank)
{
    Q_ASSERT_X(in_transaction(), "select_for_update", "rows are only kept inside a transaction");
    m_reading_for_update = true;
    m_named_rank = rank;
    // One round trip on PostgreSQL: a lock still held when lock_timeout runs out fails the
    // statement, and with it the save, which rolls back whole.
    auto rows = engine() == Engine::Sqlite ? select(sql, params) : select(sql + QStringLiteral(" FOR UPDATE"), params);
    m_reading_for_update = false;
    m_named_rank.reset();
    return rows;
}

Transaction::Transaction(Database& db) : m_db(db)
{
    if (m_db.m_transaction_depth > 0) {
        ++m_db.m_transaction_depth;
        return;
    }
    m_outer = true;
    // SQLite takes the write lock at once, so that a save never fails halfway on a busy file;
    // the busy timeout makes the wait bounded.
    m_began = m_db.begin(m_db.engine() == Engine::Sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    if (m_began) {
        m_db.m_transaction_depth = 1;
        m_db.m_rollback_only = false;
        m_db.m_watching_locks = LockOrderRecorder::active();
        m_db.m_locks.begin();
    } else {
        m_finished = true;
    }
}

Transaction::~Transaction()
{
    if (!m_finished)
        rollback();
}

[[nodiscard]] std::expected<void, Error> Transaction::commit()
{
    Q_ASSERT(!m_finished);
    if (!m_outer) {
        m_finished = true;
        --m_db.m_transaction_depth;
        return {};
    }
    if (m_db.m_rollback_only) {
        rollback();
        return std::unexpected(Error::database(QStringLiteral("an inner step rolled back")));
    }
    auto committed = m_db.commit_plain();
    if (!committed) {
        rollback();
        return committed;
    }
    m_finished = true;
    m_db.m_transaction_depth = 0;
    return {};
}

void Transaction::rollback()
{
    if (m_finished)
        return;
    m_finished = true;
    if (!m_outer) {
        --m_db.m_transaction_depth;
        m_db.m_rollback_only = true;
        return;
    }
    m_db.roll_back();
    m_db.m_transaction_depth = 0;
    m_db.m_rollback_only = false;
}

ReadSnapshot::ReadSnapshot(Database& db) : m_db(db)
{
    Q_ASSERT_X(!m_db.in_transaction(), "ReadSnapshot", "a snapshot is read outside any save");
    // SQLite's deferred BEGIN takes its snapshot at the first read and keeps it; PostgreSQL keeps
    // one snapshot for the whole transaction at REPEATABLE READ.
    m_began = m_db.run_plain(m_db.engine() == Engine::Sqlite
                                 ? QStringLiteral("BEGIN")
                                 : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
}

ReadSnapshot::~ReadSnapshot()
{
    if (m_began)
        m_db.roll_back();
}

} // namespace zelkor
