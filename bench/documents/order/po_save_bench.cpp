// Saving a purchase order: 20 and 500 lines, into an empty order book and into one holding
// 100,000 orders, next to the raw floor of the same database (20 inserts + 3 updates).
#include "bench/support/bench_database.h"
#include "bench/support/bench_documents.h"

#include "core/clock.h"
#include "documents/order/po_save.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

constexpr int ExistingOrders = 100000;

/// 100,000 orders of two lines each, written set-based in two statements.
void add_existing_orders(Database& db)
{
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ")
                                .arg(ExistingOrders);
    bench::require(db.execute(numbers
               + QStringLiteral("INSERT INTO PO_header_table (company, fkey, doctype, docno, vendor_no, order_date, currency,"
                                " payment_term, sub_total, tax_total, total) SELECT 1, 'bulk-' || i, 'po', 'BULK-' || i,"
                                " 'V100', '2026-02-01', 'USD', '30', 100, 5, 105 FROM n")), "adding orders");
    bench::require(db.execute(numbers
               + QStringLiteral("INSERT INTO PO_transaction_table (company, fkey, itemno, docno, itemcode, itemtype, quantity,"
                                " quantity_open, uom, unitcost, extended_cost, accno, warehouse, location)"
                                " SELECT 1, 'bulk-' || i, l.itemno, 'BULK-' || i, 'BOLT', '1', 1, 0, 'pcs', 50, 50, '1300',"
                                " 'MAIN', 'A2' FROM n CROSS JOIN (SELECT 1 AS itemno UNION ALL SELECT 2) l")), "adding order lines");
}

void order_save(benchmark::State& state, Engine engine)
{
    const int lines = int(state.range(0));
    const bool crowded = state.range(1) != 0;
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    FixedClock clock(QDate(2026, 3, 15));
    if (crowded)
        add_existing_orders(b.db());
    const Order prepared = bench::order_of(b.db(), lines);
    for (auto _ : state) {
        Order order = prepared;
        if (!insert_new_po(b.db(), order, {QStringLiteral("ADMIN"), QStringLiteral("bench")})) {
            state.SkipWithError("save failed");
            return;
        }
    }
    state.counters["lines/s"] = benchmark::Counter(double(lines) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void raw_floor(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    bench::raw_floor_setup(b.db());
    long long serial = 0;
    for (auto _ : state)
        bench::raw_floor_save(b.db(), 20, 3, ++serial);
}

} // namespace

BENCHMARK_CAPTURE(raw_floor, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(order_save, sqlite, Engine::Sqlite)
    ->ArgNames({"lines", "crowded"})
    ->Args({20, 0})->Args({20, 1})->Args({500, 0})->Args({500, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(raw_floor, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(order_save, pg, Engine::Postgres)
    ->ArgNames({"lines", "crowded"})
    ->Args({20, 0})->Args({20, 1})->Args({500, 0})->Args({500, 1})
    ->Unit(benchmark::kMillisecond);
