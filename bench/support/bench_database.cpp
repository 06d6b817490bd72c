#include "bench/support/bench_database.h"

#include "schema/schema.h"

#include <QCoreApplication>
#include <QRandomGenerator>

namespace zelkor::bench {

BenchDatabase::BenchDatabase(Engine engine, bool with_fixture)
{
    if (engine == Engine::Sqlite) {
        m_where.database = m_folder.filePath(QStringLiteral("bench.db"));
    } else {
        const auto admin = ConnectionDescription::parse(qEnvironmentVariable("ZELKOR_BENCH_PG"));
        if (!admin || admin->engine != Engine::Postgres)
            return;
        m_admin = *admin;
        auto server = Database::open(m_admin);
        if (!server)
            return;
        m_where = m_admin;
        m_where.database = QStringLiteral("zelkor_bench_%1_%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(QRandomGenerator::global()->generate() & 0xffff);
        if (!(*server)->execute_script(QStringLiteral("CREATE DATABASE ") + m_where.database))
            return;
    }
    auto db = Database::open(m_where);
    if (!db || !schema::create_tables(**db) || (with_fixture && !schema::load_fixture(**db)))
        return;
    m_db = std::move(*db);
}

BenchDatabase::~BenchDatabase()
{
    m_db.reset();
    if (m_where.engine == Engine::Postgres && !m_where.database.isEmpty()) {
        if (auto server = Database::open(m_admin))
            (void)(*server)->execute_script(QStringLiteral("DROP DATABASE IF EXISTS ") + m_where.database
                                            + QStringLiteral(" WITH (FORCE)"));
    }
}

void raw_floor_setup(Database& db)
{
    (void)db.execute_script(QStringLiteral(
        "CREATE TABLE floor_lines (doc BIGINT, line INTEGER, account TEXT, amount NUMERIC(18,2));\n"
        "CREATE TABLE floor_totals (account TEXT PRIMARY KEY, amount NUMERIC(18,2));\n"
        "INSERT INTO floor_totals VALUES ('A', 0);\nINSERT INTO floor_totals VALUES ('B', 0);\n"
        "INSERT INTO floor_totals VALUES ('C', 0);\n"));
}

void raw_floor_save(Database& db, int inserts, int updates, long long serial)
{
    Transaction tx(db);
    for (int i = 0; i < inserts; ++i)
        (void)db.execute(QStringLiteral("INSERT INTO floor_lines (doc, line, account, amount) VALUES (?, ?, ?, ?)"),
                         {serial, i, QStringLiteral("A"), Decimal("12.34")});
    static const char* const accounts[] = {"A", "B", "C"};
    for (int i = 0; i < updates; ++i)
        (void)db.execute(QStringLiteral("UPDATE floor_totals SET amount = amount + ? WHERE account = ?"),
                         {Decimal("12.34"), accounts[i % 3]});
    (void)tx.commit();
}

void raw_floor_benchmark(benchmark::State& state, Engine engine)
{
    BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    raw_floor_setup(b.db());
    long long serial = 0;
    for (auto _ : state)
        raw_floor_save(b.db(), 20, 3, ++serial);
}

} // namespace zelkor::bench
