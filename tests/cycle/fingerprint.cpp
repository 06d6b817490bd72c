#include "fingerprint.h"

#include <QHash>
#include <QSqlDriver>

#include <sqlite3.h>

#include <stdexcept>

namespace zelkor::cycle {

namespace {

/// Tables a window writes for itself whenever it opens or closes: not the company's data.
const QStringList WindowSettings{QStringLiteral("form_property_table"), QStringLiteral("grid_property"),
                                 QStringLiteral("recent_value_table"), QStringLiteral("report_format_table")};

Rows rows_of(Database& db, const QString& sql)
{
    auto rows = db.select(sql);
    if (!rows)
        throw std::runtime_error("reading a fingerprint: " + rows.error().detail.toStdString());
    return std::move(*rows);
}

QStringList business_tables(Database& db)
{
    const QString sql = db.engine() == Engine::Sqlite
        ? QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name")
        : QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = 'public'"
                         " AND table_type = 'BASE TABLE' ORDER BY table_name");
    QStringList tables;
    for (const Row& row : rows_of(db, sql))
        if (!WindowSettings.contains(Row::to_text(row.value(0)).toLower()))
            tables << Row::to_text(row.value(0));
    return tables;
}

sqlite3* sqlite_handle(Database& db)
{
    const QVariant handle = db.connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw std::runtime_error("reading a fingerprint: no SQLite handle");
    return *static_cast<sqlite3* const*>(handle.constData());
}

/// Folds one row's values, with their types, into a hash.
quint64 row_hash(sqlite3_stmt* statement)
{
    size_t hash = 0;
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
        const auto* bytes = sqlite3_column_blob(statement, column);
        hash = qHashBits(bytes, size_t(sqlite3_column_bytes(statement, column)),
                         qHashMulti(hash, sqlite3_column_type(statement, column), column));
    }
    return quint64(hash) * 0x9E3779B97F4A7C15ull + 1;
}

/// Rows are read straight from the SQLite handle: through QtSql a whole company takes ten times
/// as long.
std::pair<qint64, quint64> sqlite_table(sqlite3* handle, const QString& table)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QStringLiteral("SELECT * FROM %1").arg(table).toUtf8();
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("reading a fingerprint: ") + sqlite3_errmsg(handle));
    qint64 rows = 0;
    quint64 sum = 0;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        ++rows;
        sum += row_hash(statement);
    }
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE)
        throw std::runtime_error(std::string("reading a fingerprint: ") + sqlite3_errmsg(handle));
    return {rows, sum};
}

/// PostgreSQL hashes every row itself and sends the sum only.
std::pair<qint64, quint64> postgres_table(Database& db, const QString& table)
{
    const Rows rows = rows_of(db, QStringLiteral("SELECT COUNT(*) AS rows, COALESCE(SUM(('x' || SUBSTR(MD5(t::TEXT), 1, 15))"
                                                 "::BIT(60)::BIGINT), 0)::TEXT AS hash FROM %1 t")
                                      .arg(table));
    return {rows.front().integer(u"rows"), qHash(rows.front().text(u"hash"))};
}

} // namespace

Fingerprint Fingerprint::of(Database& db, const QStringList& tables)
{
    Fingerprint fingerprint;
    sqlite3* handle = db.engine() == Engine::Sqlite ? sqlite_handle(db) : nullptr;
    for (const QString& table : tables.isEmpty() ? business_tables(db) : tables) {
        const auto [rows, hash] = handle ? sqlite_table(handle, table) : postgres_table(db, table);
        fingerprint.m_tables[table.toLower()] = {rows, hash};
    }
    return fingerprint;
}

QString Fingerprint::difference(const Fingerprint& other) const
{
    QStringList differing;
    for (auto it = m_tables.cbegin(); it != m_tables.cend(); ++it) {
        const Table theirs = other.m_tables.value(it.key());
        if (!(theirs == *it))
            differing << QStringLiteral("%1 %2 -> %3 rows").arg(it.key()).arg(it->rows).arg(theirs.rows);
    }
    return differing.join(QStringLiteral(", "));
}

} // namespace zelkor::cycle
