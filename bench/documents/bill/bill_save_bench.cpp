// Saving and voiding a vendor bill of a whole goods receipt of 20 and 2,000 lines, into an empty
// company and into one holding 100,000 bills and 1,000,000 journal lines, and saving the bill of
// a 6,300-line receipt into an empty company; beside them the raw
// floor of the same database writing as many bare rows as a 20-line bill writes, and the floor
// of exactly its rows (its recorded writes run again). The bill is taken from
// its receipt by the bill window, as a clerk's Enter Bill does; only the save (or the void) is
// timed. The statements of each operation are counted.
#include "bench/support/bench_bills.h"
#include "bench/support/bench_database.h"
#include "bench/support/bench_documents.h"
#include "bench/support/recorded_writes.h"

#include "core/clock.h"
#include "documents/bill/bill_save.h"
#include "documents/bill/bill_void.h"

#include <benchmark/benchmark.h>

#include <map>
#include <optional>

namespace {

using namespace zelkor;

constexpr int ExistingBills = 100000;
constexpr int ExistingJournalLines = 1000000;

enum class Operation { Save, Void };

/// A receipt of every line of a new order of `lines` lines, saved by the receipt's routine.
QString saved_receipt(Database& db, int lines, long long serial)
{
    const DocumentNumber order = bench::saved_order(db, lines);
    Receipt receipt = bench::receipt_of(db, order, lines, serial);
    auto saved = insert_new_receipt(db, receipt, bench::saving_of(db, receipt));
    bench::require(saved, "saving the receipt");
    return saved->docno;
}

/// The bill of the whole receipt as the bill window hands it to its save, from a window opened
/// for it.
CheckedBill bill_of(Database& db, const QString& receipt, long long serial)
{
    return bench::BillWindow(db).bill_of(receipt, serial);
}

void bill_operation(benchmark::State& state, Engine engine, Operation operation)
{
    const int lines = int(state.range(0));
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    Database& db = b.db();
    if (state.range(1) != 0)
        bench::add_bill_history(db, ExistingBills, ExistingJournalLines);
    long long serial = 0;
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++serial;
        const CheckedBill bill = bill_of(db, saved_receipt(db, lines, serial), serial);
        DocumentVersion version;
        if (operation == Operation::Void) {
            auto saved = save_new_bill(db, bill, bench::Stamp);
            bench::require(saved, "saving the bill");
            version = bench::shown_version(db, QStringLiteral("PO_invoice_header_table"), *saved);
        }
        const qint64 before = db.statement_count();
        state.ResumeTiming();
        std::expected<void, Error> done;
        if (operation == Operation::Save) {
            if (auto saved = save_new_bill(db, bill, bench::Stamp); !saved)
                done = std::unexpected(saved.error());
        } else {
            done = void_shown_bill(db, version, bench::Stamp);
        }
        state.PauseTiming();
        if (!done) {
            state.SkipWithError(qPrintable(done.error().message + u' ' + done.error().detail));
            return;
        }
        statements += db.statement_count() - before;
        state.ResumeTiming();
    }
    state.counters["statements"] = double(statements) / double(serial);
    state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsIterationInvariantRate);
}

void bill_save(benchmark::State& state, Engine engine) { bill_operation(state, engine, Operation::Save); }
void bill_void(benchmark::State& state, Engine engine) { bill_operation(state, engine, Operation::Void); }

/// The rows a bill of a `lines`-line receipt inserts and updates, counted once on SQLite.
bench::RowsWritten rows_of_a_bill(int lines)
{
    static std::map<int, bench::RowsWritten> counted;
    if (auto found = counted.find(lines); found != counted.end())
        return found->second;
    bench::BenchDatabase b(Engine::Sqlite);
    Database& db = b.db();
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    const CheckedBill bill = bill_of(db, saved_receipt(db, lines, 1), 1);
    return counted[lines] = bench::rows_written(db, [&] { bench::require(save_new_bill(db, bill, bench::Stamp), "saving the bill"); });
}

/// The same database inserting and updating as many bare rows as a 20-line bill writes, in one
/// transaction: what the save's own work is measured against.
void bill_floor(benchmark::State& state, Engine engine)
{
    const bench::RowsWritten rows = rows_of_a_bill(int(state.range(0)));
    bench::raw_floor_benchmark(state, engine, rows.inserted, rows.updated);
    state.counters["inserts"] = rows.inserted;
    state.counters["updates"] = rows.updated;
}

/// What one iteration of the save benchmark writes: its order, receipt and the bill window's
/// reading (set-up), and its bill.
struct RecordedBill {
    bench::Writes setup;
    bench::Writes bill;
};

constexpr int RecordedBills = 100;

/// Runs the save benchmark's iterations on a company of its own, recording every statement that
/// writes: the same rows, values and order the measured saves write.
std::vector<RecordedBill> recorded_bills(Engine engine, int lines)
{
    bench::BenchDatabase b(engine);
    if (!b.ok())
        return {};
    Database& db = b.db();
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    std::vector<RecordedBill> bills(RecordedBills);
    for (int serial = 1; serial <= RecordedBills; ++serial) {
        RecordedBill& recorded = bills[size_t(serial - 1)];
        std::optional<CheckedBill> bill;
        recorded.setup = bench::recorded_writes(db, [&] { bill = bill_of(db, saved_receipt(db, lines, serial), serial); });
        recorded.bill = bench::recorded_writes(db, [&] { bench::require(save_new_bill(db, *bill, bench::Stamp), "saving the bill"); });
    }
    return bills;
}

/// The floor of exactly the rows the saves write: the recorded statements of each save run again
/// in one transaction on a second company that went through the same writes, without the save's
/// reads, checks and computing.
void bill_rows_floor(benchmark::State& state, Engine engine)
{
    const std::vector<RecordedBill> bills = recorded_bills(engine, int(state.range(0)));
    bench::BenchDatabase b(engine);
    if (bills.empty() || !b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench::write_again(b.db(), bills[next].setup);
        state.ResumeTiming();
        bench::write_again(b.db(), bills[next].bill);
        ++next;
    }
    state.counters["statements"] = double(bills.front().bill.size());
}

void short_bills(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"lines", "crowded"})->Args({20, 0})->Args({20, 1})->Iterations(100)->Unit(benchmark::kMillisecond);
}

void long_bills(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"lines", "crowded"})->Args({2000, 0})->Args({2000, 1})->Iterations(3)->Unit(benchmark::kMillisecond);
}

/// The bill of the longest receipt the receipt benchmark saves.
void longest_bill(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"lines", "crowded"})->Args({6300, 0})->Iterations(2)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(bill_floor, sqlite, Engine::Sqlite)->ArgName("lines")->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bill_rows_floor, sqlite, Engine::Sqlite)->ArgName("lines")->Arg(20)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bill_save, sqlite, Engine::Sqlite)->Apply(short_bills);
BENCHMARK_CAPTURE(bill_void, sqlite, Engine::Sqlite)->Apply(short_bills);
BENCHMARK_CAPTURE(bill_save, sqlite, Engine::Sqlite)->Apply(long_bills);
BENCHMARK_CAPTURE(bill_void, sqlite, Engine::Sqlite)->Apply(long_bills);
BENCHMARK_CAPTURE(bill_save, sqlite, Engine::Sqlite)->Apply(longest_bill);
BENCHMARK_CAPTURE(bill_floor, pg, Engine::Postgres)->ArgName("lines")->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bill_rows_floor, pg, Engine::Postgres)->ArgName("lines")->Arg(20)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bill_save, pg, Engine::Postgres)->Apply(short_bills);
BENCHMARK_CAPTURE(bill_void, pg, Engine::Postgres)->Apply(short_bills);
BENCHMARK_CAPTURE(bill_save, pg, Engine::Postgres)->Apply(long_bills);
BENCHMARK_CAPTURE(bill_void, pg, Engine::Postgres)->Apply(long_bills);
BENCHMARK_CAPTURE(bill_save, pg, Engine::Postgres)->Apply(longest_bill);
