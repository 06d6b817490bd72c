// One purchasing cycle of 20 lines (a requisition, the order issued from it, the receipt of the
// whole order) beside the raw floor of the same database writing the bare rows the cycle
// writes. The statements of a cycle are counted. Bills and landed bills join the cycle here.
#include "bench/support/bench_database.h"
#include "bench/support/bench_documents.h"

#include "forms/purchasing/po_save.h"
#include "forms/purchasing/pr_save.h"
#include "services/clock.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

/// A requisition of `count` lines of the fixture's item mix, with the lines' tax elements.
struct Requisition {
    PrHeader header;
    std::vector<PrLine> lines;
    TaxElementStore taxes;
};

Requisition requisition_of(Database& db, int count)
{
    Requisition requisition;
    requisition.header.vendor_no = QStringLiteral("V100");
    requisition.header.order_date = QDate(2026, 2, 20);
    requisition.header.currency = QStringLiteral("USD");
    requisition.header.shipto = QStringLiteral("MAIN");
    for (int itemno = 1; itemno <= count; ++itemno) {
        const bench::FixtureItem& item = bench::FixtureItems[(itemno - 1) % std::size(bench::FixtureItems)];
        PrLine line;
        line.itemno = itemno;
        line.itemcode = QString::fromLatin1(item.item);
        line.itemtype = QString::fromLatin1(item.type);
        line.description = line.itemcode;
        line.uom = QString::fromLatin1(item.uom);
        line.quantity = Decimal(2);
        line.unitcost = Decimal(10);
        line.extended_cost = Decimal(20);
        line.tax_code = QStringLiteral("ST");
        line.accno = QStringLiteral("1300");
        line.warehouse = QString::fromLatin1(item.warehouse);
        line.location = QString::fromLatin1(item.location);
        auto tax = get_fulltax_detail(db, requisition.taxes, itemno, Decimal(20), line.tax_code, TaxIncluded::No);
        bench::require(tax, "tax");
        line.tax_amount = tax->tax_amount;
        line.net_cost = tax->net_cost;
        requisition.lines.push_back(line);
    }
    return requisition;
}

/// Where a cycle's time goes, document by document.
struct SaveTimes {
    qint64 requisition = 0;
    qint64 order = 0;
    qint64 receipt = 0;
};

/// Runs one cycle; the documents are built with the timing paused, their saves timed.
void run_cycle(benchmark::State& state, Database& db, int lines, long long serial, SaveTimes& times)
{
    QElapsedTimer save;
    state.PauseTiming();
    Requisition requisition = requisition_of(db, lines);
    state.ResumeTiming();
    save.start();
    auto issued = insert_new_pr(db, requisition.header, requisition.lines, requisition.taxes, bench::Stamp);
    times.requisition += save.nsecsElapsed();
    state.PauseTiming();
    bench::require(issued, "saving the requisition");
    Order order = bench::order_of(db, lines);
    for (OrderLine& line : order.lines) {
        line.prno = issued->docno;
        line.pr_itemno = line.itemno;
    }
    state.ResumeTiming();
    save.start();
    auto ordered = insert_new_po(db, order, bench::Stamp);
    times.order += save.nsecsElapsed();
    state.PauseTiming();
    bench::require(ordered, "saving the order");
    Receipt receipt = bench::receipt_of(db, *ordered, lines, serial);
    const ReceiptSaving saving = bench::saving_of(db, receipt);
    state.ResumeTiming();
    save.start();
    bench::require(insert_new_receipt(db, receipt, saving), "saving the receipt");
    times.receipt += save.nsecsElapsed();
}

void cycle(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    long long serial = 0;
    SaveTimes times;
    const qint64 before = b.db().statement_count();
    for (auto _ : state)
        run_cycle(state, b.db(), int(state.range(0)), ++serial, times);
    state.counters["statements"] = double(b.db().statement_count() - before) / double(serial);
    const double per_cycle_ms = 1e6 * double(serial);
    state.counters["requisition_ms"] = double(times.requisition) / per_cycle_ms;
    state.counters["order_ms"] = double(times.order) / per_cycle_ms;
    state.counters["receipt_ms"] = double(times.receipt) / per_cycle_ms;
}

/// The rows one cycle inserts and the rows it updates, counted once on SQLite.
std::pair<int, int> rows_of_a_cycle(int lines)
{
    bench::BenchDatabase b(Engine::Sqlite);
    Database& db = b.db();
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    auto rows = [&] {
        qint64 total = 0;
        auto tables = db.select(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"
                                               " AND name NOT LIKE 'sqlite_%'"));
        bench::require(tables, "tables");
        for (const Row& table : *tables)
            total += db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table.text(u"name"))->toLongLong();
        return total;
    };
    const qint64 rows_before = rows();
    const qint64 changes_before = db.scalar(QStringLiteral("SELECT total_changes()"))->toLongLong();
    Requisition requisition = requisition_of(db, lines);
    auto issued = insert_new_pr(db, requisition.header, requisition.lines, requisition.taxes, bench::Stamp);
    bench::require(issued, "saving the requisition");
    Order order = bench::order_of(db, lines);
    for (OrderLine& line : order.lines) {
        line.prno = issued->docno;
        line.pr_itemno = line.itemno;
    }
    auto ordered = insert_new_po(db, order, bench::Stamp);
    bench::require(ordered, "saving the order");
    Receipt receipt = bench::receipt_of(db, *ordered, lines, 1);
    bench::require(insert_new_receipt(db, receipt, bench::saving_of(db, receipt)), "saving the receipt");
    const int inserted = int(rows() - rows_before);
    const int changed = int(db.scalar(QStringLiteral("SELECT total_changes()"))->toLongLong() - changes_before);
    return {inserted, changed - inserted};
}

/// The same database writing as many bare rows as a cycle, in one transaction per document as
/// the cycle's three saves are: what the cycle's own work is measured against.
void cycle_floor(benchmark::State& state, Engine engine)
{
    static const std::pair<int, int> counted = rows_of_a_cycle(int(state.range(0)));
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    bench::raw_floor_setup(b.db());
    const auto [inserts, updates] = counted;
    long long serial = 0;
    for (auto _ : state)
        for (int document = 0; document < 3; ++document)
            bench::raw_floor_save(b.db(), inserts / 3 + (document < inserts % 3 ? 1 : 0),
                                  updates / 3 + (document < updates % 3 ? 1 : 0), ++serial);
    state.counters["inserts"] = inserts;
    state.counters["updates"] = updates;
}

void twenty_lines(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgName("lines")->Arg(20)->Iterations(200)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(cycle_floor, sqlite, Engine::Sqlite)->Apply(twenty_lines);
BENCHMARK_CAPTURE(cycle, sqlite, Engine::Sqlite)->Apply(twenty_lines);
BENCHMARK_CAPTURE(cycle_floor, pg, Engine::Postgres)->Apply(twenty_lines);
BENCHMARK_CAPTURE(cycle, pg, Engine::Postgres)->Apply(twenty_lines);
