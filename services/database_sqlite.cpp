#include "services/database_sqlite.h"

#include <QDate>
#include <QLoggingCategory>

#include <sqlite3.h>

namespace zelkor {
namespace {

Q_LOGGING_CATEGORY(lcSqlite, "zelkor.database")

int bind(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, index, value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QDate: {
        // Stored as ISO text, the same as QtSql writes a date, so that dates sort and compare.
        const QByteArray text = value.toDate().toString(Qt::ISODate).toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    }
}

} // namespace

SqliteWriter::~SqliteWriter()
{
    for (sqlite3_stmt* statement : std::as_const(m_statements))
        sqlite3_finalize(statement);
}

Error SqliteWriter::error(const QString& sql) const
{
    const int code = sqlite3_extended_errcode(m_handle);
    const QString detail = QString::fromUtf8(sqlite3_errmsg(m_handle)) + QStringLiteral(" [") + QString::number(code)
        + QStringLiteral("] in: ") + sql;
    qCWarning(lcSqlite).noquote() << detail;
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED ? Error::locked(detail) : Error::database(detail);
}

[[nodiscard]] std::expected<sqlite3_stmt*, Error> SqliteWriter::prepared(const QString& sql)
{
    if (sqlite3_stmt* cached = m_statements.value(sql))
        return cached;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(m_handle, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &statement, nullptr)
            != SQLITE_OK
        || !statement) {
        Error e = error(sql);
        sqlite3_finalize(statement);
        return std::unexpected(e);
    }
    m_statements.insert(sql, statement);
    return statement;
}

[[nodiscard]] std::expected<int, Error> SqliteWriter::execute(const QString& sql, const Params& params)
{
    auto statement = prepared(sql);
    if (!statement)
        return std::unexpected(statement.error());
    sqlite3_stmt* s = *statement;
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (sqlite3_bind_parameter_count(s) != int(params.size()))
        return std::unexpected(Error::database(QStringLiteral("%1 values for %2 placeholders in: ")
                                                   .arg(params.size())
                                                   .arg(sqlite3_bind_parameter_count(s))
                                               + sql));
    for (size_t i = 0; i < params.size(); ++i)
        if (bind(s, int(i) + 1, params[i].variant()) != SQLITE_OK)
            return std::unexpected(error(sql));
    int rc = sqlite3_step(s);
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(s);
    if (rc != SQLITE_DONE) {
        Error e = error(sql);
        sqlite3_reset(s);
        return std::unexpected(e);
    }
    const int changed = sqlite3_changes(m_handle);
    sqlite3_reset(s);
    return changed;
}

qint64 SqliteWriter::last_insert_id() const { return sqlite3_last_insert_rowid(m_handle); }

} // namespace zelkor
