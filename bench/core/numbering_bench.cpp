// Number-taking under contention: several users saving documents of the same type at once,
// each save one transaction that takes the counters and commits.
#include "bench/support/bench_database.h"

#include "core/numbering.h"

#include <QThread>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <vector>

namespace {

using namespace zelkor;

constexpr int SavesPerUser = 40;

/// One user: opens a connection, waits for the start, then saves `SavesPerUser` documents.
void save_documents(const ConnectionDescription& where, std::latch& ready, std::latch& start, std::atomic<int>& failed)
{
    auto db = Database::open(where);
    ready.count_down();
    start.wait();
    if (!db) {
        failed += SavesPerUser;
        return;
    }
    for (int save = 0; save < SavesPerUser; ++save) {
        Transaction tx(**db);
        if (!tx.active() || !issue_document_number(**db, QStringLiteral("po"), QStringLiteral("2026")) || !tx.commit())
            ++failed;
    }
}

void numbers_under_contention(benchmark::State& state, Engine engine)
{
    const int users = static_cast<int>(state.range(0));
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    std::atomic<int> failed{0};
    for (auto _ : state) {
        std::latch ready(users), start(1);
        std::vector<QThread*> threads;
        for (int i = 0; i < users; ++i) {
            threads.push_back(QThread::create([&] { save_documents(b.db().where(), ready, start, failed); }));
            threads.back()->start();
        }
        ready.wait();
        const auto began = std::chrono::steady_clock::now();
        start.count_down();
        for (QThread* thread : threads) {
            thread->wait();
            delete thread;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    }
    state.SetItemsProcessed(state.iterations() * users * SavesPerUser);
    state.counters["failed"] = failed.load();
}
BENCHMARK_CAPTURE(numbers_under_contention, sqlite, Engine::Sqlite)
    ->Arg(1)->Arg(4)->Arg(8)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(numbers_under_contention, postgres, Engine::Postgres)
    ->Arg(1)->Arg(4)->Arg(8)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
