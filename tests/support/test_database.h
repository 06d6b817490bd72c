#pragma once

#include "core/db/database.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace zelkor::testing {

/// What a test database holds: nothing, the tables, the compact fixture, or the demo company
/// with its fiscal years around 2026 (the demo's items, vendors and opening stock).
enum class Contents { Empty, Tables, Fixture, Demo };

/// The year the demo company of Contents::Demo is loaded for.
inline constexpr int DemoYear = 2026;

/// A fresh company database for one test: a SQLite file in a temporary folder, or, when the
/// test runs in the PostgreSQL suite (ZELKOR_TEST_ENGINE=pg), a new database on the server
/// named by ZELKOR_TEST_PG, copied from a template built once per schema version. It is
/// removed again when the object goes away.
class TestDatabase {
public:
    explicit TestDatabase(Contents contents = Contents::Fixture);
    ~TestDatabase();

    Database& db() { return *m_db; }
    /// Where to open further connections to the same database (concurrency tests).
    const ConnectionDescription& where() const { return m_where; }
    /// The database as a program's --db option takes it: the SQLite file, or a postgresql:// URI.
    QString location() const;
    std::unique_ptr<Database> open_another() const;
    /// The connection a window of `form` works on. On PostgreSQL a connection of its own that
    /// holds only what the company's roles grant for the update, print and design rights of
    /// `form`, so that the server refuses a save that writes anything else; on SQLite db().
    Database& with_rights_of(const QString& form);
    Engine engine() const { return m_where.engine; }

    /// Shorthands for assertions: the first column of the first row.
    QVariant scalar(const QString& sql, const Params& params = {});
    Decimal decimal(const QString& sql, const Params& params = {});
    QString text(const QString& sql, const Params& params = {});
    qint64 count(const QString& table_and_condition, const Params& params = {});
    /// Every row of a query as its values joined by "|", to compare whole tables before and after.
    QStringList rows(const QString& sql);
    /// Every row of every table but `left_out`, as "table: values" texts in a stable order: two
    /// snapshots are equal exactly when nothing was written in between.
    QStringList snapshot(const QStringList& left_out = {});

private:
    void create_sqlite(Contents contents);
    void create_postgres(Contents contents);

    QTemporaryDir m_folder;
    ConnectionDescription m_where;
    ConnectionDescription m_admin;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Database> m_restricted; ///< the connection of with_rights_of
    QStringList m_roles;                    ///< roles made for this test, dropped with the database
};

/// The engine the suite was started for (ZELKOR_TEST_ENGINE, "sqlite" or "pg"); nothing when
/// it is missing or unknown.
std::optional<Engine> suite_engine();
/// The engine of the running suite; a missing or unknown engine is a broken test run and throws.
Engine test_engine();

} // namespace zelkor::testing
