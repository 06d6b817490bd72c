#include "core/db/database_postgres.h"

#include <QDate>
#include <QLoggingCategory>
#include <QSqlField>
#include <QSqlRecord>

#include <libpq-fe.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace zelkor {
namespace {

Q_LOGGING_CATEGORY(lcPostgres, "zelkor.database")

// Type numbers of the PostgreSQL catalogue the module's columns use.
constexpr Oid BoolOid = 16;
constexpr Oid Int8Oid = 20;
constexpr Oid Int2Oid = 21;
constexpr Oid Int4Oid = 23;
constexpr Oid Float4Oid = 700;
constexpr Oid Float8Oid = 701;
constexpr Oid NumericOid = 1700;
constexpr Oid DateOid = 1082;

/// At most this many statements wait in the pipeline: their answers, a few bytes each, must fit
/// the socket's buffers while the connection is still sending, or both sides would wait.
constexpr size_t MostSent = 256;

/// The text form of a bound value; an empty optional for NULL.
std::optional<QByteArray> text_of(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? QByteArray("true") : QByteArray("false");
    case QMetaType::QDate: return value.toDate().toString(Qt::ISODate).toUtf8();
    default: return value.toString().toUtf8();
    }
}

/// How a column of this type is handed over: numbers exact as text (NUMERIC), dates as QDate.
QMetaType field_type(Oid type)
{
    switch (type) {
    case BoolOid: return QMetaType::fromType<bool>();
    case Int8Oid:
    case Int2Oid:
    case Int4Oid: return QMetaType::fromType<qlonglong>();
    case Float4Oid:
    case Float8Oid:
    case NumericOid: return QMetaType::fromType<double>();
    case DateOid: return QMetaType::fromType<QDate>();
    default: return QMetaType::fromType<QString>();
    }
}

QVariant value_of(const char* text, Oid type)
{
    const QString value = QString::fromUtf8(text);
    switch (type) {
    case BoolOid: return text[0] == 't';
    case Int8Oid:
    case Int2Oid:
    case Int4Oid: return value.toLongLong();
    case Float4Oid:
    case Float8Oid: return value.toDouble();
    case DateOid: return QDate::fromString(value, Qt::ISODate);
    default: return value; // NUMERIC stays exact text; the row reads it as a Decimal
    }
}

Rows rows_of(PGresult* result)
{
    const int columns = PQnfields(result);
    QSqlRecord fields;
    std::vector<Oid> types;
    for (int column = 0; column < columns; ++column) {
        types.push_back(PQftype(result, column));
        fields.append(QSqlField(QString::fromUtf8(PQfname(result, column)), field_type(types.back())));
    }
    const auto shape = std::make_shared<const RowShape>(fields);
    Rows rows;
    const int count = PQntuples(result);
    rows.reserve(size_t(count));
    for (int row = 0; row < count; ++row) {
        std::vector<QVariant> values;
        values.reserve(size_t(columns));
        for (int column = 0; column < columns; ++column)
            values.push_back(PQgetisnull(result, row, column)
                                 ? QVariant(fields.field(column).metaType())
                                 : value_of(PQgetvalue(result, row, column), types[size_t(column)]));
        rows.emplace_back(shape, std::move(values));
    }
    return rows;
}

bool is_lock_state(const QByteArray& state)
{
    // lock_not_available (a lock timeout or NOWAIT) and deadlock_detected.
    return state == "55P03" || state == "40P01";
}

/// The values as libpq takes them: texts, a null pointer for NULL; `texts` keeps them alive.
std::vector<const char*> values_of(const Params& params, std::vector<std::optional<QByteArray>>& texts)
{
    texts.reserve(params.size());
    for (const SqlValue& param : params)
        texts.push_back(text_of(param.variant()));
    std::vector<const char*> values;
    values.reserve(texts.size());
    for (const auto& text : texts)
        values.push_back(text ? text->constData() : nullptr);
    return values;
}

bool succeeded(ExecStatusType status) { return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK; }

} // namespace

void PostgresStatements::ResultDeleter::operator()(PGresult* result) const { PQclear(result); }

QString PostgresStatements::numbered_placeholders(const QString& sql)
{
    QString numbered;
    numbered.reserve(sql.size() + 16);
    QChar quote;
    int number = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            numbered += u'$' + QString::number(++number);
            continue;
        }
        numbered += c;
    }
    return numbered;
}

void PostgresStatements::count_round_trip()
{
    ++m_round_trips;
    // ZELKOR_SQL_TRACE=1 marks each wait among the statements it prints.
    static const bool trace = qEnvironmentVariableIsSet("ZELKOR_SQL_TRACE");
    if (trace)
        std::fprintf(stderr, "-- waits for the server\n");
}

Error PostgresStatements::error_of(PGresult* result, const QString& sql) const
{
    const QByteArray state = result ? QByteArray(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QByteArray();
    const QString message = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(m_handle)).trimmed();
    // The statement is logged with its placeholders only: values never reach the log.
    const QString detail = message + QStringLiteral(" [") + QString::fromLatin1(state) + QStringLiteral("] in: ") + sql;
    qCWarning(lcPostgres).noquote() << detail;
    return is_lock_state(state) ? Error::locked(detail) : Error::database(detail);
}

std::expected<QByteArray, Error> PostgresStatements::prepared(const QString& sql, int count)
{
    if (auto known = m_statements.constFind(sql); known != m_statements.constEnd())
        return *known;
    const QByteArray name = "zelkor_" + QByteArray::number(++m_named);
    count_round_trip();
    Result result(PQprepare(m_handle, name.constData(), numbered_placeholders(sql).toUtf8().constData(), count, nullptr));
    if (!result || PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        return std::unexpected(error_of(result.get(), sql));
    m_statements.insert(sql, name);
    return name;
}

template <typename Read>
auto PostgresStatements::run(const QString& sql, const Params& params, Read&& read) -> decltype(read(nullptr))
{
    if (sending()) {
        if (auto queued = queue(sql, params); !queued)
            return std::unexpected(queued.error());
        auto last = answers(1);
        if (!last)
            return std::unexpected(last.error());
        return read(last->back().get());
    }
    auto name = prepared(sql, int(params.size()));
    if (!name)
        return std::unexpected(name.error());
    std::vector<std::optional<QByteArray>> texts;
    const std::vector<const char*> values = values_of(params, texts);
    count_round_trip();
    Result result(PQexecPrepared(m_handle, name->constData(), int(values.size()), values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (!succeeded(status))
        return std::unexpected(error_of(result.get(), sql));
    return read(result.get());
}

std::expected<void, Error> PostgresStatements::enter_pipeline(const QString& sql)
{
    if (PQpipelineStatus(m_handle) == PQ_PIPELINE_ON)
        return {};
    if (PQenterPipelineMode(m_handle) != 1)
        return std::unexpected(error_of(nullptr, sql));
    return {};
}

std::expected<void, Error> PostgresStatements::queue(const QString& sql, const Params& params)
{
    if (auto entered = enter_pipeline(sql); !entered)
        return entered;
    auto known = m_statements.constFind(sql);
    QByteArray name;
    if (known != m_statements.constEnd()) {
        name = *known;
    } else {
        name = "zelkor_" + QByteArray::number(++m_named);
        if (PQsendPrepare(m_handle, name.constData(), numbered_placeholders(sql).toUtf8().constData(), int(params.size()),
                          nullptr)
            != 1)
            return std::unexpected(error_of(nullptr, sql));
        // Known from now on: the statements after it in the pipeline use the name. Should the
        // prepare fail, answers() forgets the name again.
        m_statements.insert(sql, name);
        m_sent.push_back({sql, true});
    }
    std::vector<std::optional<QByteArray>> texts;
    const std::vector<const char*> values = values_of(params, texts);
    if (PQsendQueryPrepared(m_handle, name.constData(), int(values.size()), values.data(), nullptr, nullptr, 0) != 1)
        return std::unexpected(error_of(nullptr, sql));
    m_sent.push_back({sql, false});
    return {};
}

std::expected<std::vector<PostgresStatements::Result>, Error> PostgresStatements::answers(size_t kept)
{
    const QString last_sql = m_sent.empty() ? QString() : m_sent.back().sql;
    count_round_trip();
    if (PQpipelineSync(m_handle) != 1) {
        m_sent.clear();
        return std::unexpected(error_of(nullptr, last_sql));
    }
    std::optional<Error> failure;
    // Only the last `kept` statements' results are kept: the writes before them have none to give.
    size_t answering = 0;
    for (const Sent& sent : m_sent)
        answering += sent.prepares ? 0 : 1;
    std::vector<Result> results;
    for (const Sent& sent : m_sent) {
        Result result(PQgetResult(m_handle));
        if (!result) { // the connection broke: nothing more will come
            failure = failure.value_or(error_of(nullptr, sent.sql));
            break;
        }
        const ExecStatusType status = PQresultStatus(result.get());
        const bool ok = sent.prepares ? status == PGRES_COMMAND_OK : succeeded(status);
        if (!ok && sent.prepares)
            m_statements.remove(sent.sql);
        // A statement after the failing one was skipped (PGRES_PIPELINE_ABORTED): the first
        // failure is the cause, and the one reported.
        if (!ok && !failure)
            failure = error_of(result.get(), sent.sql);
        while (PGresult* end = PQgetResult(m_handle)) // the null that ends a statement's results
            PQclear(end);
        if (!sent.prepares && answering-- <= kept)
            results.push_back(std::move(result));
    }
    m_sent.clear();
    // The answer to the sync itself, then the connection leaves pipeline mode for the next
    // statement alone or the next pipeline.
    while (PGresult* rest = PQgetResult(m_handle)) {
        const bool sync = PQresultStatus(rest) == PGRES_PIPELINE_SYNC;
        PQclear(rest);
        if (sync)
            break;
    }
    if (PQexitPipelineMode(m_handle) != 1 && !failure)
        failure = error_of(nullptr, last_sql);
    if (failure)
        return std::unexpected(*failure);
    return results;
}

std::expected<std::vector<Rows>, Error> PostgresStatements::select_together(const std::vector<Statement>& statements)
{
    for (const Statement& statement : statements) {
        if (auto queued = queue(statement.sql, statement.params); !queued)
            return std::unexpected(queued.error());
    }
    auto results = answers(statements.size());
    if (!results)
        return std::unexpected(results.error());
    std::vector<Rows> rows;
    rows.reserve(results->size());
    for (const Result& result : *results)
        rows.push_back(rows_of(result.get()));
    return rows;
}

std::expected<void, Error> PostgresStatements::send(const QString& sql, const Params& params)
{
    if (auto queued = queue(sql, params); !queued)
        return queued;
    if (m_sent.size() >= MostSent)
        return flush();
    return {};
}

std::expected<void, Error> PostgresStatements::send_command(const QString& sql)
{
    if (auto entered = enter_pipeline(sql); !entered)
        return entered;
    if (PQsendQueryParams(m_handle, sql.toUtf8().constData(), 0, nullptr, nullptr, nullptr, nullptr, 0) != 1)
        return std::unexpected(error_of(nullptr, sql));
    m_sent.push_back({sql, false});
    return {};
}

std::expected<void, Error> PostgresStatements::command(const QString& sql)
{
    if (sending()) {
        if (auto sent = send_command(sql); !sent)
            return sent;
        return flush();
    }
    count_round_trip();
    Result result(PQexec(m_handle, sql.toUtf8().constData()));
    if (!result || !succeeded(PQresultStatus(result.get())))
        return std::unexpected(error_of(result.get(), sql));
    return {};
}

std::expected<void, Error> PostgresStatements::flush()
{
    if (!sending())
        return {};
    if (auto answered = answers(0); !answered)
        return std::unexpected(answered.error());
    return {};
}

std::expected<Rows, Error> PostgresStatements::select(const QString& sql, const Params& params)
{
    return run(sql, params, [](PGresult* result) -> std::expected<Rows, Error> { return rows_of(result); });
}

std::expected<int, Error> PostgresStatements::execute(const QString& sql, const Params& params)
{
    return run(sql, params,
               [](PGresult* result) -> std::expected<int, Error> { return QByteArray(PQcmdTuples(result)).toInt(); });
}

} // namespace zelkor
