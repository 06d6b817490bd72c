// Exact arithmetic and the raw database floor that document saves are compared with.
#include "bench/support/bench_database.h"

#include "core/money/decimal.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

void decimal_tax_arithmetic(benchmark::State& state)
{
    const Decimal amount("1234.56"), rate("0.075"), one(1);
    for (auto _ : state) {
        Decimal tax = (amount / (one + rate) * rate).round2();
        benchmark::DoNotOptimize(tax);
    }
}
BENCHMARK(decimal_tax_arithmetic);

void raw_floor(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine, false);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    bench::raw_floor_setup(b.db());
    long long serial = 0;
    for (auto _ : state)
        bench::raw_floor_save(b.db(), 20, 3, ++serial);
}
BENCHMARK_CAPTURE(raw_floor, sqlite_20_inserts_3_updates, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(raw_floor, postgres_20_inserts_3_updates, Engine::Postgres)->Unit(benchmark::kMillisecond);

} // namespace
