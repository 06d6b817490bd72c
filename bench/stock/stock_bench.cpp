// Stock effects of receipts: receiving and reversing 20 and 6,300 lines, into an empty company
// and into one holding 100,000 inventory documents and 1,000,000 layer history rows; issuing
// from 10 to 10,000 layers. Beside them, the raw floor of the same database (20 inserts + 3
// updates in one transaction).
#include "bench/support/bench_database.h"

#include "core/clock.h"
#include "stock/layer_issue.h"
#include "stock/stock_receipt.h"
#include "stock/stock_reversal.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

constexpr int ExistingDocuments = 100000;
constexpr int ExistingHistoryRows = 1000000;

QString numbers(int count)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
}

std::vector<StockReceiptLine> receipt_lines(int count)
{
    std::vector<StockReceiptLine> lines;
    for (int index = 0; index < count; ++index) {
        const bench::FixtureItem& item = bench::FixtureItems[index % std::size(bench::FixtureItems)];
        StockReceiptLine line;
        line.itemcode = QString::fromLatin1(item.item);
        line.itemtype = QString::fromLatin1(item.type);
        line.uom = QString::fromLatin1(item.uom);
        line.warehouse = QString::fromLatin1(item.warehouse);
        line.location = QString::fromLatin1(item.location);
        line.quantity = Decimal(2);
        line.extended_cost = Decimal("21.50");
        lines.push_back(line);
    }
    return lines;
}

/// A receipt on a day of its own, so that the layers of a long run never fill a day's lot ids.
StockReceipt receipt_on(long long serial)
{
    StockReceipt receipt;
    receipt.receipt_no = QStringLiteral("RO-%1").arg(serial);
    receipt.date = QDate(2026, 1, 1).addDays(serial % 700);
    receipt.period = {QString::number(receipt.date.year()), receipt.date.month()};
    receipt.currency = QStringLiteral("USD");
    receipt.stamp = {QStringLiteral("ADMIN"), QStringLiteral("bench")};
    return receipt;
}

[[nodiscard]] std::expected<QString, Error> receive(Database& db, const std::vector<StockReceiptLine>& lines, long long serial)
{
    Transaction tx(db);
    auto received = receive_into_stock(db, receipt_on(serial), lines);
    if (!received)
        return std::unexpected(received.error());
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    return (*received)->document.fkey;
}

[[nodiscard]] std::expected<void, Error> reverse(Database& db, const QString& fkey)
{
    Transaction tx(db);
    auto reversed = reverse_document_stock(db, fkey, {QStringLiteral("ADMIN"), QStringLiteral("bench")});
    if (!reversed)
        return std::unexpected(reversed.error());
    return tx.commit();
}

bool prepare(benchmark::State& state, bench::BenchDatabase& b)
{
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return false;
    }
    if (state.range(1) != 0)
        bench::add_stock_history(b.db(), ExistingDocuments, ExistingHistoryRows);
    return true;
}

/// Receives (and, when `reversing`, reverses) receipts of the benchmark's line count on a new
/// day each; the timed operation's statements are counted.
void receipt_stock(benchmark::State& state, Engine engine, bool reversing)
{
    bench::BenchDatabase b(engine);
    if (!prepare(state, b))
        return;
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    const auto lines = receipt_lines(int(state.range(0)));
    long long serial = 0;
    qint64 statements = 0;
    for (auto _ : state) {
        if (reversing)
            state.PauseTiming();
        qint64 before = b.db().statement_count();
        auto received = receive(b.db(), lines, ++serial);
        if (reversing) {
            state.ResumeTiming();
            before = b.db().statement_count();
        }
        auto done = received ? (reversing ? reverse(b.db(), *received) : std::expected<void, Error>())
                             : std::unexpected(received.error());
        if (!done) {
            state.SkipWithError(qPrintable(done.error().detail + done.error().message));
            return;
        }
        statements += b.db().statement_count() - before;
    }
    state.counters["statements"] = double(statements) / double(serial);
    state.counters["lines/s"] = benchmark::Counter(double(lines.size()), benchmark::Counter::kIsIterationInvariantRate);
}

void receipt_receive(benchmark::State& state, Engine engine) { receipt_stock(state, engine, false); }
void receipt_reverse(benchmark::State& state, Engine engine) { receipt_stock(state, engine, true); }

/// `count` layers of 2 pieces worth 5.00 of WIDGET in MAIN, and the on-hand row that holds them.
void add_layers(Database& db, int count)
{
    bench::require(db.execute(numbers(count)
                              + QStringLiteral("INSERT INTO FIFO_table (company, itemcode, warehouse, cost_method, lot_id,"
                                               " receipt_no, receipt_date, unitcost, quantity, amount, uom, negative_lot, \"delete\")"
                                               " SELECT 1, 'WIDGET', 'MAIN', 'FIFO', '2026' || (100000000 + i), 'BULK',"
                                               " '2026-01-01', 2.5, 2, 5, 'pcs', FALSE, FALSE FROM n")),
                   "adding layers");
    bench::require(db.execute(QStringLiteral("DELETE FROM Item_onhand_table WHERE itemcode = 'WIDGET'")), "emptying on hand");
    bench::require(db.execute(QStringLiteral("INSERT INTO Item_onhand_table (company, itemcode, warehouse, location,"
                                             " quantity, Value, order_quantity, po_quantity, stock_uom) VALUES"
                                             " (1, 'WIDGET', 'MAIN', 'A1', ?, ?, 0, 0, 'pcs')"),
                              {Decimal(2 * count), Decimal(5 * count)}),
                   "adding on hand");
}

void layer_issue(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    const int count = int(state.range(0));
    long long serial = 0;
    for (auto _ : state) {
        state.PauseTiming();
        add_layers(b.db(), count);
        state.ResumeTiming();
        Transaction tx(b.db());
        auto issued = issue_from_layers(b.db(), {{"WIDGET", "MAIN", "A1"}, Decimal(2 * count - 1), Decimal(1)},
                                        {QStringLiteral("VI-%1").arg(++serial), QStringLiteral("PO-BILL"), QDate(2026, 3, 15)});
        if (!issued || !tx.commit()) {
            state.SkipWithError("issue failed");
            return;
        }
        state.PauseTiming();
        bench::require(b.db().execute(QStringLiteral("DELETE FROM FIFO_table WHERE itemcode = 'WIDGET'")), "clearing layers");
        state.ResumeTiming();
    }
    state.counters["per layer"] = benchmark::Counter(double(count), benchmark::Counter::kIsIterationInvariantRate
                                                                        | benchmark::Counter::kInvert);
}

void raw_floor(benchmark::State& state, Engine engine) { bench::raw_floor_benchmark(state, engine); }

void documents(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"lines", "crowded"})->Args({20, 0})->Args({20, 1})->Args({6300, 0})->Args({6300, 1});
    benchmark->Unit(benchmark::kMillisecond);
}

void layer_counts(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgName("layers")->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(raw_floor, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receipt_receive, sqlite, Engine::Sqlite)->Apply(documents);
BENCHMARK_CAPTURE(receipt_reverse, sqlite, Engine::Sqlite)->Apply(documents);
BENCHMARK_CAPTURE(layer_issue, sqlite, Engine::Sqlite)->Apply(layer_counts);
BENCHMARK_CAPTURE(raw_floor, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receipt_receive, pg, Engine::Postgres)->Apply(documents);
BENCHMARK_CAPTURE(receipt_reverse, pg, Engine::Postgres)->Apply(documents);
BENCHMARK_CAPTURE(layer_issue, pg, Engine::Postgres)->Apply(layer_counts);
