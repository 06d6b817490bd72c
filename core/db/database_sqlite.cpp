#include "core/db/database_sqlite.h"

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

// Two settings of SQLite's own memory, which a large company file needs and which are the
// process's, so they may only be made before SQLite starts: once, before the first connection.
// - Every page cache SQLite makes starts with a block of twenty pages, and so does the temporary
//   b-tree behind each IN list, VALUES table and RETURNING of a statement. When a connection holds
//   tens of megabytes of a large file's pages, the C library hands that block out as fresh memory
//   and takes it back at the statement's end: ten to thirty page faults a statement, which made
//   saves on a company of years half as slow again as on a new one. Without the block, pages come
//   one at a time from memory already in use.
// - A statement that writes many rows keeps the pages it changes, to undo it alone, in a
//   statement journal; past 64 KiB (sixteen index pages of a large file) SQLite moves the journal
//   to a temporary file. A megabyte keeps the statements of a save in memory.
void prepare_sqlite_memory()
{
    static const bool set = [] {
        if (sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0) == SQLITE_OK
            && sqlite3_config(SQLITE_CONFIG_STMTJRNL_SPILL, 1024 * 1024) == SQLITE_OK)
            return true;
        qCDebug(lcSqlite) << "SQLite was started before the company opened: its memory settings stay as they were";
        return false;
    }();
    (void)set;
}

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
