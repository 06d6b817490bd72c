// The master windows on a large company: 10,000 charges opened, all of them saved after an
// edit, and printed; and the check that a charge or a ship-via is unused before it is deleted,
// over 1,000,000 document lines and 100,000 document headers.
#include "bench/support/bench_windows.h"

#include "core/clock.h"
#include "windows/masters/POform_misccharge.h"
#include "windows/masters/POform_shipvia.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

constexpr int Charges = 10000;
constexpr int LinesPerTable = 250000; // four line tables: 1,000,000 lines
constexpr int Headers = 100000;

QString numbers_to(int count)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
}

void add_charges(Database& db)
{
    bench::require(db.execute(numbers_to(Charges)
                                  + QStringLiteral("INSERT INTO Vendor_miscellaneous_charge_table (itemcode, Description,"
                                                   " account, tax_code) SELECT 'CHG' || (100000 + i), 'Charge ' || i,"
                                                   " '5200', 'ST' FROM n")),
                   "adding charges");
}

/// Lines naming the fixture's charges and items, and order headers naming its ship-vias.
void add_documents(Database& db)
{
    for (const char* table : {"PR_transaction_table", "PO_transaction_table", "PO_receipt_transaction_table",
                              "PO_invoice_transaction_table"})
        bench::require(db.execute(numbers_to(LinesPerTable)
                                      + QStringLiteral("INSERT INTO %1 (company, fkey, itemno, docno, itemcode, itemtype)"
                                                       " SELECT 1, 'bulk-' || (i / 10), i, 'BULK-' || (i / 10),"
                                                       " CASE WHEN i % 2 = 0 THEN 'FREIGHT' ELSE 'WIDGET' END,"
                                                       " CASE WHEN i % 2 = 0 THEN '6' ELSE '1' END FROM n")
                                            .arg(QLatin1String(table))),
                       table);
    bench::require(db.execute(numbers_to(Headers)
                                  + QStringLiteral("INSERT INTO PO_header_table (company, fkey, doctype, docno, vendor_no,"
                                                   " shipvia) SELECT 1, 'bulk-' || i, 'po', 'BULK-' || i, 'V100',"
                                                   " CASE WHEN i % 2 = 0 THEN 'UPS' ELSE 'FEDEX' END FROM n")),
                   "adding order headers");
}


void open_charges(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok())
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    add_charges(b.db());
    ScriptedPrompter prompter;
    for (auto _ : state) {
        auto window = bench::opened<POform_misccharge>(b.db(), {}, prompter);
        benchmark::DoNotOptimize(window->master_grid()->row_count());
    }
}

void save_all_charges(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok())
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    add_charges(b.db());
    ScriptedPrompter prompter;
    auto window = bench::opened<POform_misccharge>(b.db(), {}, prompter);
    Grid& grid = *window->master_grid();
    const int description = grid.required_column(QStringLiteral("description"));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window->execute(CommandId::EditMode);
        ++round;
        for (int row = 0; row < grid.row_count(); ++row)
            grid.set_cell(row, description, QStringLiteral("Charge %1 edit %2").arg(row).arg(round));
        state.ResumeTiming();
        if (!window->execute(CommandId::Save) || prompter.last() != QStringLiteral("Update complete"))
            return state.SkipWithError("save failed");
    }
    state.counters["rows"] = grid.row_count();
}

void print_charges(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok())
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    add_charges(b.db());
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    auto window = bench::opened<POform_misccharge>(b.db(), folder.path(), prompter);
    for (auto _ : state)
        if (!window->execute(CommandId::Preview))
            return state.SkipWithError("print failed");
}

/// Deletes an unused charge or ship-via; its check reads every table that could name it.
template <class Window>
void delete_unused(benchmark::State& state, Engine engine, const QString& insert_unused)
{
    bench::BenchDatabase b(engine);
    if (!b.ok())
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    add_documents(b.db());
    ScriptedPrompter prompter;
    auto window = bench::opened<Window>(b.db(), {}, prompter);
    for (auto _ : state) {
        state.PauseTiming();
        bench::require(b.db().execute(insert_unused), "adding the unused row");
        if constexpr (std::is_same_v<Window, POform_misccharge>) {
            window->reload();
            window->master_grid()->set_current(0, 0);
        } else {
            window->type_into(QStringLiteral("shipvia_id"), QStringLiteral("AAA"));
        }
        prompter.answer_yes();
        state.ResumeTiming();
        if (!window->execute(CommandId::Delete))
            return state.SkipWithError("delete refused");
    }
}

void delete_unused_charge(benchmark::State& state, Engine engine)
{
    delete_unused<POform_misccharge>(state, engine,
                                     QStringLiteral("INSERT INTO Vendor_miscellaneous_charge_table (itemcode, Description,"
                                                    " account, tax_code) VALUES ('AAA', 'unused', '5200', 'ST')"));
}

void delete_unused_shipvia(benchmark::State& state, Engine engine)
{
    delete_unused<POform_shipvia>(state, engine,
                                  QStringLiteral("INSERT INTO Shipvia_table (shipvia_id, Description) VALUES ('AAA', 'unused')"));
}

} // namespace

BENCHMARK_CAPTURE(open_charges, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(save_all_charges, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(print_charges, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(delete_unused_charge, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(delete_unused_shipvia, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(open_charges, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(save_all_charges, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(print_charges, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(delete_unused_charge, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(delete_unused_shipvia, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
