#include "tests/support/test_database.h"

#include "schema/embedded_sql.h"
#include "schema/roles.h"
#include "schema/schema.h"
#include "schema/window_writes.h"

#include <QCryptographicHash>
#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace zelkor::testing {
namespace {

void fail_on(const std::expected<void, Error>& done, const char* what)
{
    if (!done)
        throw std::runtime_error(std::string(what) + ": " + done.error().detail.toStdString());
}

QString schema_version()
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayView(schema::embedded_tables_sql));
    hash.addData(QByteArrayView(schema::embedded_fixture_sql));
    hash.addData(QByteArrayView(schema::embedded_demo_sql));
    // The roles' grants are part of what a PostgreSQL template holds.
    for (const schema::WriteRole& role : schema::write_roles())
        for (const schema::TableWrite& write : role.writes)
            hash.addData((role.suffix + write.table + write.privileges).toUtf8());
    for (const schema::TableWrite& write : schema::settings_writes())
        hash.addData((write.table + write.privileges).toUtf8());
    return QString::fromLatin1(hash.result().toHex().left(12));
}

} // namespace

std::optional<Engine> suite_engine()
{
    const QString name = qEnvironmentVariable("ZELKOR_TEST_ENGINE");
    if (name == u"sqlite")
        return Engine::Sqlite;
    if (name == u"pg")
        return Engine::Postgres;
    return std::nullopt;
}

Engine test_engine()
{
    if (auto engine = suite_engine())
        return *engine;
    throw std::runtime_error("ZELKOR_TEST_ENGINE is missing or unknown (\"" + qEnvironmentVariable("ZELKOR_TEST_ENGINE").toStdString()
                             + "\"): the suite's engine must be sqlite or pg");
}

TestDatabase::TestDatabase(Contents contents)
{
    if (test_engine() == Engine::Postgres)
        create_postgres(contents);
    else
        create_sqlite(contents);
}

TestDatabase::~TestDatabase()
{
    m_restricted.reset();
    m_db.reset();
    if (m_where.engine == Engine::Postgres) {
        auto admin = Database::open(m_admin);
        if (admin) {
            (void)(*admin)->execute_script(QStringLiteral("DROP DATABASE IF EXISTS ") + m_where.database
                                           + QStringLiteral(" WITH (FORCE)"));
            for (const QString& role : m_roles)
                (void)(*admin)->execute_script(QStringLiteral("DROP ROLE IF EXISTS ") + role);
        }
    }
}

Database& TestDatabase::with_rights_of(const QString& form)
{
    if (m_where.engine != Engine::Postgres)
        return *m_db;
    if (!m_restricted) {
        auto prefix = schema::role_prefix(*m_db);
        if (!prefix || prefix->isEmpty())
            throw std::runtime_error("the company has no roles");
        const QString role = (m_where.database + u'_' + form).toLower();
        QString script = QStringLiteral("CREATE ROLE %1 NOLOGIN;\nGRANT %2 TO %1;\n")
                             .arg(role, schema::role_name(*prefix, QString::fromLatin1(schema::SettingsRole)));
        for (const schema::WriteRole* write_role : schema::write_roles_of(form, true, true, true))
            script += QStringLiteral("GRANT %1 TO %2;\n").arg(schema::role_name(*prefix, write_role->suffix), role);
        fail_on(m_db->execute_script(script), "making the window's role");
        m_roles << role;
        m_restricted = open_another();
        fail_on(m_restricted->execute_script(QStringLiteral("SET ROLE ") + role), "taking the window's role");
    }
    return *m_restricted;
}

void TestDatabase::create_sqlite(Contents contents)
{
    if (!m_folder.isValid())
        throw std::runtime_error("no temporary folder");
    m_where.engine = Engine::Sqlite;
    m_where.database = m_folder.filePath(QStringLiteral("company.db"));
    auto db = Database::open(m_where);
    if (!db)
        throw std::runtime_error(db.error().detail.toStdString());
    m_db = std::move(*db);
    if (contents != Contents::Empty)
        fail_on(schema::create_tables(*m_db), "creating tables");
    if (contents == Contents::Fixture)
        fail_on(schema::load_fixture(*m_db), "loading the fixture");
    if (contents == Contents::Demo)
        fail_on(schema::load_demo(*m_db, DemoYear), "loading the demo company");
}

void TestDatabase::create_postgres(Contents contents)
{
    const QString uri = qEnvironmentVariable("ZELKOR_TEST_PG");
    if (uri.isEmpty())
        throw std::runtime_error("the PostgreSQL suite needs ZELKOR_TEST_PG (postgresql://user@host:port/db)");
    m_admin = *ConnectionDescription::parse(uri);
    auto admin = Database::open(m_admin);
    if (!admin)
        throw std::runtime_error(admin.error().detail.toStdString());
    Database& server = **admin;

    // Databases are copied from a template per schema version and contents, built once by
    // whichever test gets there first (an advisory lock keeps the others waiting).
    const QString version = schema_version();
    const QString template_name = QStringLiteral("zelkor_tpl_%1_%2").arg(version).arg(static_cast<int>(contents));
    // Tests of a parallel run queue here while one of them builds a template: wait as long as a
    // test may run, not the lock timeout of a save.
    fail_on(server.execute_script(QStringLiteral("SET lock_timeout = '300s'")), "setting the lock wait");
    fail_on(server.execute_script(QStringLiteral("SELECT pg_advisory_lock(4242)")), "locking");
    auto exists = server.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname = ?"), {template_name});
    if (exists && exists->toLongLong() == 0) {
        const QString building = template_name + QStringLiteral("_build");
        fail_on(server.execute_script(QStringLiteral("DROP DATABASE IF EXISTS ") + building), "dropping");
        fail_on(server.execute_script(QStringLiteral("CREATE DATABASE ") + building), "creating template");
        {
            ConnectionDescription where = m_admin;
            where.database = building;
            auto tpl = Database::open(where);
            if (!tpl)
                throw std::runtime_error(tpl.error().detail.toStdString());
            if (contents != Contents::Empty)
                fail_on(schema::create_tables(**tpl), "creating tables");
            if (contents == Contents::Fixture)
                fail_on(schema::load_fixture(**tpl), "loading the fixture");
            if (contents == Contents::Demo)
                fail_on(schema::load_demo(**tpl, DemoYear), "loading the demo company");
        }
        fail_on(server.execute_script(QStringLiteral("ALTER DATABASE ") + building + QStringLiteral(" RENAME TO ")
                                      + template_name),
                "naming template");
    }
    m_where = m_admin;
    m_where.database = QStringLiteral("zelkor_t_%1_%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QRandomGenerator::global()->generate() & 0xffffff);
    fail_on(server.execute_script(QStringLiteral("CREATE DATABASE ") + m_where.database + QStringLiteral(" TEMPLATE ")
                                  + template_name),
            "creating the test database");
    fail_on(server.execute_script(QStringLiteral("SELECT pg_advisory_unlock(4242)")), "unlocking");
    auto db = Database::open(m_where);
    if (!db)
        throw std::runtime_error(db.error().detail.toStdString());
    m_db = std::move(*db);
}

QStringList TestDatabase::rows(const QString& sql)
{
    auto rows = m_db->select(sql);
    if (!rows)
        throw std::runtime_error(rows.error().detail.toStdString());
    QStringList texts;
    for (const Row& row : *rows) {
        QStringList values;
        for (int i = 0; i < row.size(); ++i)
            values << Row::to_text(row.value(i));
        texts << values.join(u'|');
    }
    return texts;
}

QStringList TestDatabase::snapshot(const QStringList& left_out)
{
    const QString tables_sql = engine() == Engine::Sqlite
        ? QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name")
        : QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = 'public'"
                         " AND table_type = 'BASE TABLE' ORDER BY table_name");
    QStringList lines;
    for (const QString& table : rows(tables_sql)) {
        if (left_out.contains(table, Qt::CaseInsensitive))
            continue;
        QStringList table_rows = rows(QStringLiteral("SELECT * FROM ") + table);
        table_rows.sort();
        for (const QString& row : table_rows)
            lines << table.toLower() + QStringLiteral(": ") + row;
    }
    return lines;
}

QString TestDatabase::location() const
{
    if (m_where.engine == Engine::Sqlite)
        return m_where.database;
    const QString credentials = m_where.password.isEmpty() ? m_where.user : m_where.user + u':' + m_where.password;
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(credentials, m_where.host).arg(m_where.port).arg(m_where.database);
}

std::unique_ptr<Database> TestDatabase::open_another() const
{
    auto db = Database::open(m_where);
    if (!db)
        throw std::runtime_error(db.error().detail.toStdString());
    return std::move(*db);
}

QVariant TestDatabase::scalar(const QString& sql, const Params& params)
{
    auto value = m_db->scalar(sql, params);
    if (!value)
        throw std::runtime_error(value.error().detail.toStdString());
    return *value;
}

Decimal TestDatabase::decimal(const QString& sql, const Params& params) { return Row::to_decimal(scalar(sql, params)); }

QString TestDatabase::text(const QString& sql, const Params& params) { return Row::to_text(scalar(sql, params)); }

qint64 TestDatabase::count(const QString& table_and_condition, const Params& params)
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table_and_condition, params).toLongLong();
}

} // namespace zelkor::testing
