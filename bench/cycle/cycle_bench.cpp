// One purchasing cycle of 20 lines (a requisition, the order issued from it, the receipt of the
// whole order, the bill of the receipt paid by check and a landed bill of freight over it), each
// document saved in a transaction of its own, beside two floors measured in the same run:
// - cycle_rows_floor, the floor of exactly the rows the cycle writes: every statement that wrote
//   in 100 cycles, recorded with its values, run again bare on a second company, one transaction
//   per document as the cycle's saves are (what happens between the saves is written untimed).
//   The cycle's own reads, checks and computing show against it; the rows count on both sides.
//   On PostgreSQL, pg_sent_together sends each document's rows with its COMMIT, in one round
//   trip: what the rows cost the server, the waits of a statement at a time taken away.
// - cycle_floor, as many bare rows into two scratch tables as a cycle inserts and updates.
// Each save's time and statements are counters of their own (requisition_ms … landed_ms,
// requisition_statements … landed_statements), beside the statements of a whole cycle and the
// times its connection waited for the server (round_trips: on PostgreSQL the writes sent
// together travel with the next statement that waits).
// cycle_crowded runs the same cycle on a copy of a company already holding many cycles (made by
// cycle_company_generator, named by ZELKOR_BENCH_CROWDED_CYCLES on SQLite and
// ZELKOR_BENCH_CROWDED_CYCLES_PG on PostgreSQL), to compare with the empty company's, once its
// connection has run as many cycles untimed.
#include "bench/cycle/cycle_documents.h"
#include "bench/support/recorded_writes.h"

#include "core/clock.h"

#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;
using bench::CycleDocument;
using bench::CycleDocuments;

constexpr int CycleLines = 20;
constexpr int MeasuredCycles = 100;

/// The date every cycle is saved on, its documents dated in its year: the year after the generated
/// company's cycles, as a company of years saves this year's documents. The generator dates its
/// 100,000 cycles in one year, past the five digits of the year's running number; more documents
/// of that year would take six-digit numbers, which sort into the middle of every index on
/// document numbers instead of at their end, as no company's numbering is set up to do.
QDate cycle_day() { return QDate(2027, 3, 15); }

/// The time every cycle is saved at: noon, after the generated company's saves (made at 08:00).
/// The benchmark's clock stands still, and a receipt numbers its cost layers from the current
/// second on, reading the day's later layers; at 08:00 it would read every layer the generator
/// made that day, which a company whose clock moves never does.
QTime cycle_time() { return QTime(12, 0, 0); }

/// Times each save of the cycle, with the benchmark's timing running only while a save does.
class TimingWatch : public bench::SaveWatch {
public:
    TimingWatch(benchmark::State& state, Database& db) : m_state(state), m_db(db) {}
    void saving(CycleDocument) override
    {
        m_statements_before = m_db.statement_count();
        m_round_trips_before = m_db.round_trips();
        m_state.ResumeTiming();
        m_save.start();
    }
    void saved(CycleDocument document) override
    {
        m_nanoseconds[size_t(document)] += m_save.nsecsElapsed();
        m_state.PauseTiming();
        m_statements[size_t(document)] += m_db.statement_count() - m_statements_before;
        m_round_trips += m_db.round_trips() - m_round_trips_before;
    }
    /// The counters of `cycles` cycles: each document's milliseconds and statements, and the
    /// statements of a whole cycle.
    void report(long long cycles) const
    {
        qint64 statements = 0;
        for (CycleDocument document : CycleDocuments) {
            const std::string name = bench::name_of(document);
            m_state.counters[name + "_ms"] = double(m_nanoseconds[size_t(document)]) / 1e6 / double(cycles);
            m_state.counters[name + "_statements"] = double(m_statements[size_t(document)]) / double(cycles);
            statements += m_statements[size_t(document)];
        }
        m_state.counters["statements"] = double(statements) / double(cycles);
        m_state.counters["round_trips"] = double(m_round_trips) / double(cycles);
    }

private:
    benchmark::State& m_state;
    Database& m_db;
    QElapsedTimer m_save;
    std::array<qint64, CycleDocuments.size()> m_nanoseconds{};
    std::array<qint64, CycleDocuments.size()> m_statements{};
    qint64 m_statements_before = 0;
    qint64 m_round_trips = 0;
    qint64 m_round_trips_before = 0;
};

/// Runs the benchmark's cycles on `db`, only the saves timed.
/// `warm_up` cycles run first, untimed.
void time_cycles(benchmark::State& state, Database& db, int warm_up = 0)
{
    bench::PurchasingCycle cycle(db, CycleLines, cycle_day().year());
    for (int done = 0; done < warm_up; ++done)
        cycle.run();
    TimingWatch watch(state, db);
    long long cycles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cycle.run(watch);
        ++cycles;
        state.ResumeTiming();
    }
    watch.report(cycles);
}

void cycle(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    FixedClock clock(cycle_day(), cycle_time());
    time_cycles(state, b.db());
}

/// What one cycle wrote: for each document, the writes since the previous save (the bill
/// window's, none for most) and the save's own.
struct RecordedCycle {
    std::array<bench::Writes, CycleDocuments.size()> before;
    std::array<bench::Writes, CycleDocuments.size()> saves;
};

/// Records every statement that writes, sorting it into the cycle's document it belongs to.
class RecordingWatch : public bench::SaveWatch {
public:
    explicit RecordingWatch(Database& db) : m_db(db)
    {
        db.record_writes([this](const QString& sql, const Params& params, int changed) {
            m_target->push_back({sql, params, changed});
        });
    }
    ~RecordingWatch() override { m_db.record_writes({}); }
    void start_cycle() { m_cycles.emplace_back(); }
    void saving(CycleDocument document) override
    {
        m_cycles.back().before[size_t(document)] = std::move(m_between);
        m_between.clear();
        m_target = &m_cycles.back().saves[size_t(document)];
    }
    void saved(CycleDocument) override { m_target = &m_between; }
    std::vector<RecordedCycle> cycles() && { return std::move(m_cycles); }

private:
    Database& m_db;
    std::vector<RecordedCycle> m_cycles;
    bench::Writes m_between;
    bench::Writes* m_target = &m_between;
};

/// The writes of the cycle benchmark's cycles, made on a company of their own.
std::vector<RecordedCycle> recorded_cycles(Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok())
        return {};
    FixedClock clock(cycle_day(), cycle_time());
    RecordingWatch watch(b.db());
    bench::PurchasingCycle cycle(b.db(), CycleLines, cycle_day().year());
    for (int serial = 1; serial <= MeasuredCycles; ++serial) {
        watch.start_cycle();
        cycle.run(watch);
    }
    return std::move(watch).cycles();
}

void cycle_rows_floor(benchmark::State& state, Engine engine, bench::Sending sending)
{
    const std::vector<RecordedCycle> cycles = recorded_cycles(engine);
    bench::BenchDatabase b(engine);
    if (cycles.empty() || !b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    std::array<qint64, CycleDocuments.size()> nanoseconds{};
    QElapsedTimer write;
    size_t next = 0;
    for (auto _ : state) {
        const RecordedCycle& recorded = cycles.at(next++);
        for (CycleDocument document : CycleDocuments) {
            state.PauseTiming();
            bench::write_again(b.db(), recorded.before[size_t(document)], sending);
            state.ResumeTiming();
            write.start();
            bench::write_again(b.db(), recorded.saves[size_t(document)], sending);
            nanoseconds[size_t(document)] += write.nsecsElapsed();
        }
    }
    size_t statements = 0;
    for (CycleDocument document : CycleDocuments) {
        const std::string name = bench::name_of(document);
        const size_t written = cycles.front().saves[size_t(document)].size();
        state.counters[name + "_ms"] = double(nanoseconds[size_t(document)]) / 1e6 / double(next);
        state.counters[name + "_statements"] = double(written);
        statements += written;
    }
    state.counters["statements"] = double(statements);
}

/// The rows one cycle inserts and the rows it updates, counted once on SQLite.
bench::RowsWritten rows_of_a_cycle()
{
    bench::BenchDatabase b(Engine::Sqlite);
    FixedClock clock(cycle_day(), cycle_time());
    bench::PurchasingCycle cycle(b.db(), CycleLines, cycle_day().year());
    return bench::rows_written(b.db(), [&] { cycle.run(); });
}

/// The same database writing as many bare rows as a cycle, in one transaction per document as
/// the cycle's saves are.
void cycle_floor(benchmark::State& state, Engine engine)
{
    static const bench::RowsWritten counted = rows_of_a_cycle();
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    bench::raw_floor_setup(b.db());
    const int documents = int(CycleDocuments.size());
    long long serial = 0;
    for (auto _ : state)
        for (int document = 0; document < documents; ++document)
            bench::raw_floor_save(b.db(), counted.inserted / documents + (document < counted.inserted % documents ? 1 : 0),
                                  counted.updated / documents + (document < counted.updated % documents ? 1 : 0), ++serial);
    state.counters["inserts"] = counted.inserted;
    state.counters["updates"] = counted.updated;
}

/// The cycle on a copy of the company a generator filled: the SQLite file named by
/// ZELKOR_BENCH_CROWDED_CYCLES, or the PostgreSQL database whose URI ZELKOR_BENCH_CROWDED_CYCLES_PG
/// gives. The generated company stays as it was for the next run.
void cycle_crowded(benchmark::State& state, Engine engine)
{
    const char* named_by = engine == Engine::Sqlite ? "ZELKOR_BENCH_CROWDED_CYCLES" : "ZELKOR_BENCH_CROWDED_CYCLES_PG";
    const QString company = qEnvironmentVariable(named_by);
    if (company.isEmpty() || (engine == Engine::Sqlite && !QFile::exists(company))) {
        const std::string why = std::string("no crowded company: make one with cycle_company_generator and name it in ")
            + named_by;
        state.SkipWithError(why.c_str());
        return;
    }
    const auto copy = bench::BenchDatabase::copy_of(company);
    if (!copy->ok()) {
        state.SkipWithError("the crowded company could not be copied");
        return;
    }
    // A clerk's connection to a company of gigabytes stays open for hours: as many cycles as are
    // measured run first, untimed, so that the connection's page cache holds what the saves walk
    // as it would by then, rather than the pages of a file just opened. The empty company's
    // cycle runs cold: its file is all in the cache at once.
    FixedClock clock(cycle_day(), cycle_time());
    time_cycles(state, copy->db(), MeasuredCycles);
}

void measured_cycles(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgName("lines")->Arg(CycleLines)->Iterations(MeasuredCycles)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(cycle_floor, sqlite, Engine::Sqlite)->Apply(measured_cycles);
BENCHMARK_CAPTURE(cycle_rows_floor, sqlite, Engine::Sqlite, bench::Sending::OneByOne)->Apply(measured_cycles);
BENCHMARK_CAPTURE(cycle, sqlite, Engine::Sqlite)->Apply(measured_cycles);
BENCHMARK_CAPTURE(cycle_crowded, sqlite, Engine::Sqlite)->Apply(measured_cycles);
BENCHMARK_CAPTURE(cycle_floor, pg, Engine::Postgres)->Apply(measured_cycles);
BENCHMARK_CAPTURE(cycle_rows_floor, pg, Engine::Postgres, bench::Sending::OneByOne)->Apply(measured_cycles);
BENCHMARK_CAPTURE(cycle_rows_floor, pg_sent_together, Engine::Postgres, bench::Sending::Together)->Apply(measured_cycles);
BENCHMARK_CAPTURE(cycle, pg, Engine::Postgres)->Apply(measured_cycles);
BENCHMARK_CAPTURE(cycle_crowded, pg, Engine::Postgres)->Apply(measured_cycles);
