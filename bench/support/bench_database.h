#pragma once

#include "core/db/database.h"
#include "core/document_versions.h"
#include "core/numbering.h"
#include "windows/base/host_settings.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace zelkor::bench {

/// A company database for a benchmark: a SQLite file in a temporary folder, or a new
/// database on the PostgreSQL server named by ZELKOR_BENCH_PG. Tables and fixture data loaded.
class BenchDatabase {
public:
    BenchDatabase(Engine engine, bool with_fixture = true);
    /// A copy of an existing company, so that it stays as it was for the next run: of a SQLite
    /// file, in a temporary folder; of a PostgreSQL database (named by its URI), a new database on
    /// the server named by ZELKOR_BENCH_PG made from it as a template. The copy's tables are the
    /// company's; `ok()` is false when it cannot be made.
    static std::unique_ptr<BenchDatabase> copy_of(const QString& company);
    ~BenchDatabase();
    Database& db() { return *m_db; }
    bool ok() const { return m_db != nullptr; }

private:
    BenchDatabase() = default;
    /// A database of its own on the server named by ZELKOR_BENCH_PG, empty or made from `template_name`.
    bool create_on_server(const QString& template_name = {});

    QTemporaryDir m_folder;
    ConnectionDescription m_admin;
    ConnectionDescription m_where;
    std::unique_ptr<Database> m_db;
};

/// Has `release` run when the benchmark program's main returns, while Qt's application and its
/// database connections still stand: what a benchmark keeps for the whole program (a company
/// filled once, a PostgreSQL database to drop) is let go there, never by a static's destructor.
void release_at_exit(std::function<void()> release);
/// Runs what release_at_exit was given, the newest first: main's last step.
void release_kept();

/// Stops the benchmark program when a set-up step failed: a figure measured on half a data set
/// would mislead.
template <typename T>
void require(const std::expected<T, Error>& done, const char* what)
{
    if (!done) {
        std::fprintf(stderr, "%s failed: %s %s\n", what, qPrintable(done.error().message), qPrintable(done.error().detail));
        std::abort();
    }
}

/// An item of the fixture as a document line names it: a mix of stock items (FIFO, LIFO,
/// standard cost, moving average, each in its purchase unit) and a non-stock item.
struct FixtureItem {
    const char* item;
    const char* type;
    const char* uom;
    const char* warehouse;
    const char* location;
};
inline constexpr FixtureItem FixtureItems[] = {{"WIDGET", "1", "box", "MAIN", "A1"}, {"BOLT", "1", "box", "MAIN", "A2"},
                                               {"PAINT", "1", "can", "MAIN", "A1"},  {"GLUE", "1", "kg", "EAST", "E1"},
                                               {"MANUAL", "2", "each", "MAIN", "A1"}};
/// The settings the administrator's windows open with on a benchmark's company.
inline HostSettings window_settings(Database& db, const QString& data_path)
{
    HostSettings settings;
    settings.cnx = settings.dbe = settings.abcdb = &db;
    settings.BASE_CURRENCY = QStringLiteral("USD");
    settings.ZELKOR_USER = QStringLiteral("ADMIN");
    settings.ZELKOR_PATH = data_path;
    settings.ZELKOR_DATE_FORMAT = QStringLiteral("dd/mm/yyyy");
    settings.ZELKOR_NO_PERIODS = QStringLiteral("12");
    return settings;
}

/// A company that has been receiving for years: `documents` receipts' inventory documents of two
/// lines each and `history_rows` layer history rows of the fixture's FIFO and LIFO items, dated
/// the year before, written set-based (and, on PostgreSQL, analysed as autovacuum would have).
void add_stock_history(Database& db, int documents, int history_rows);

/// A company that has been billing for years: `bills` bills of two lines each, with their
/// payables, and `journal_lines` journal lines over one entry per bill, dated the year before,
/// written set-based (and, on PostgreSQL, analysed as autovacuum would have).
void add_bill_history(Database& db, int bills, int journal_lines);

/// The rows an operation inserts and the rows it updates.
struct RowsWritten {
    int inserted = 0;
    int updated = 0;
};
/// Runs `operation` on a SQLite database and counts what it wrote: the rows of every table
/// before and after, and SQLite's count of changed rows.
RowsWritten rows_written(Database& db, const std::function<void()>& operation);

/// The raw floor of a save: `inserts` bare inserts and `updates` bare updates in one transaction,
/// into scratch tables of the same database.
void raw_floor_setup(Database& db);
void raw_floor_save(Database& db, int inserts, int updates, long long serial);
/// The raw floor of a save of `inserts` inserts and `updates` updates (20 and 3 unless given) as
/// a benchmark, to run beside a save's.
void raw_floor_benchmark(benchmark::State& state, Engine engine, int inserts = 20, int updates = 3);

/// A saved document as a window shows it: its number, key and the version it has now.
DocumentVersion shown_version(Database& db, const QString& header_table, const DocumentNumber& document);

} // namespace zelkor::bench
