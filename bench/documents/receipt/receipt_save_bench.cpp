// Saving, editing and voiding a goods receipt of 20 and 6,300 lines against an order of the
// fixture's item mix, into an empty company and into one holding 100,000 receipts and 1,000,000
// layer history rows; beside them the raw floor of the same database writing the bare rows a
// 20-line receipt writes. A 20-line receipt saved with the vendor's bill (its bill, entry and
// payable too) runs beside the floor of its own rows. The statements of each operation are counted.
// A second floor writes exactly the rows the saves write: their recorded statements, run again.
#include "bench/support/bench_database.h"
#include "bench/support/bench_documents.h"
#include "bench/support/recorded_writes.h"

#include "core/clock.h"
#include "documents/order/po_save.h"
#include "documents/receipt/receipt_save.h"
#include "documents/receipt/receipt_verify.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;
using bench::receipt_of;
using bench::saved_order;
using bench::saving_of;
using bench::Stamp;

constexpr int ExistingReceipts = 100000;
constexpr int ExistingHistoryRows = 1000000;

enum class Operation { Save, Edit, Void, SaveWithBill };

/// 100,000 receipts of two lines each, then the stock history of as many inventory documents.
void add_existing_receipts(Database& db)
{
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ")
                                .arg(ExistingReceipts);
    bench::require(db.execute(numbers
                              + QStringLiteral("INSERT INTO PO_receipt_header_table (company, fkey, doctype, docno, vendor_no,"
                                               " receipt_date, currency, period, fyear, payby, sub_total, total)"
                                               " SELECT 1, 'bulk-' || i, 'ro', 'BULK-' || i, 'V100', '2025-06-01', 'USD',"
                                               " 6, '2025', 'Pay Later', 40, 42 FROM n")),
                   "adding receipts");
    bench::require(db.execute(numbers
                              + QStringLiteral("INSERT INTO PO_receipt_transaction_table (company, fkey, itemno, docno,"
                                               " itemcode, itemtype, quantity_received, quantity_open_for_bill, uom, unitcost,"
                                               " extended_cost, accno, warehouse, location, PONO, po_itemno)"
                                               " SELECT 1, 'bulk-' || i, l.itemno, 'BULK-' || i, 'WIDGET', '1', 2, 2, 'box',"
                                               " 10, 20, '1300', 'MAIN', 'A1', 'BULK-PO-' || i, l.itemno FROM n"
                                               " CROSS JOIN (SELECT 1 AS itemno UNION ALL SELECT 2) l")),
                   "adding receipt lines");
    bench::add_stock_history(db, ExistingReceipts, ExistingHistoryRows);
}

/// The same receipt entered with the vendor's bill, paid later less a discount.
void bill_it(Receipt& receipt, long long serial)
{
    ReceiptHeader& header = receipt.header;
    header.vendor_invoice_no = QStringLiteral("BENCH-%1").arg(serial);
    header.vendor_invoice_date = header.receipt_date;
    header.discount_amount = QStringLiteral("5");
}

void receipt_operation(benchmark::State& state, Engine engine, Operation operation)
{
    const int lines = int(state.range(0));
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    if (state.range(1) != 0)
        add_existing_receipts(b.db());
    Database& db = b.db();
    long long serial = 0;
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const DocumentNumber order = saved_order(db, lines);
        Receipt receipt = receipt_of(db, order, lines, ++serial);
        if (operation == Operation::SaveWithBill)
            bill_it(receipt, serial);
        std::expected<void, Error> done;
        if (operation != Operation::Save && operation != Operation::SaveWithBill) {
            auto saved = insert_new_receipt(db, receipt, saving_of(db, receipt));
            bench::require(saved, "saving the receipt");
        }
        const ReceiptSaving saving = saving_of(db, receipt);
        const bool saving_new = operation == Operation::Save || operation == Operation::SaveWithBill;
        const DocumentNumber number{receipt.header.docno, receipt.header.fkey};
        const DocumentVersion version =
            saving_new ? DocumentVersion{} : bench::shown_version(db, QStringLiteral("PO_receipt_header_table"), number);
        const qint64 before = db.statement_count();
        state.ResumeTiming();
        switch (operation) {
        case Operation::Save:
        case Operation::SaveWithBill:
            if (auto saved = insert_new_receipt(db, receipt, saving); !saved)
                done = std::unexpected(saved.error());
            break;
        case Operation::Edit: done = update_receipt(db, receipt, version, saving); break;
        case Operation::Void: done = void_receipt(db, version, Stamp); break;
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

void receipt_save(benchmark::State& state, Engine engine) { receipt_operation(state, engine, Operation::Save); }
void receipt_edit(benchmark::State& state, Engine engine) { receipt_operation(state, engine, Operation::Edit); }
void receipt_void(benchmark::State& state, Engine engine) { receipt_operation(state, engine, Operation::Void); }
void receipt_save_with_bill(benchmark::State& state, Engine engine) { receipt_operation(state, engine, Operation::SaveWithBill); }

/// The rows a receipt of `lines` lines inserts and the rows it updates (with its bill when
/// `billed`), counted once on SQLite.
std::pair<int, int> rows_of_a_receipt(int lines, bool billed = false)
{
    static std::map<std::pair<int, bool>, std::pair<int, int>> counted;
    if (auto found = counted.find({lines, billed}); found != counted.end())
        return found->second;
    bench::BenchDatabase b(Engine::Sqlite);
    Database& db = b.db();
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    const DocumentNumber order = saved_order(db, lines);
    Receipt receipt = receipt_of(db, order, lines, 1);
    if (billed)
        bill_it(receipt, 1);
    const ReceiptSaving saving = saving_of(db, receipt);
    auto rows = [&] {
        qint64 total = 0;
        for (const char* table : {"PO_receipt_header_table", "PO_receipt_transaction_table", "GL_header_table",
                                  "GL_transaction_table", "IN_header_table", "IN_transaction_table", "FIFO_table",
                                  "FIFO_history_table", "Item_onhand_table", "Account_currency_table", "Balance_table",
                                  "Balance_period_table", "PO_invoice_header_table", "PO_invoice_transaction_table",
                                  "AP_header_table", "AP_transaction_table"})
            total += db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QString::fromLatin1(table))->toLongLong();
        return total;
    };
    const qint64 rows_before = rows();
    const qint64 changes_before = db.scalar(QStringLiteral("SELECT total_changes()"))->toLongLong();
    bench::require(insert_new_receipt(db, receipt, saving), "saving the receipt");
    const int inserted = int(rows() - rows_before);
    const int changed = int(db.scalar(QStringLiteral("SELECT total_changes()"))->toLongLong() - changes_before);
    return counted[{lines, billed}] = {inserted, changed - inserted};
}

/// The same database inserting and updating as many bare rows as a 20-line receipt writes, in one
/// transaction: what the save's own work is measured against.
void receipt_floor(benchmark::State& state, Engine engine)
{
    const auto [inserts, updates] = rows_of_a_receipt(int(state.range(0)));
    bench::raw_floor_benchmark(state, engine, inserts, updates);
    state.counters["inserts"] = inserts;
    state.counters["updates"] = updates;
}

/// The floor of the rows a 20-line receipt with its bill writes.
void receipt_with_bill_floor(benchmark::State& state, Engine engine)
{
    const auto [inserts, updates] = rows_of_a_receipt(int(state.range(0)), true);
    bench::raw_floor_benchmark(state, engine, inserts, updates);
    state.counters["inserts"] = inserts;
    state.counters["updates"] = updates;
}

/// What one iteration of the save benchmark writes: its order (set-up) and its receipt.
struct RecordedSave {
    bench::Writes order;
    bench::Writes receipt;
};

constexpr int RecordedIterations = 200;

/// Runs the save benchmark's iterations on a company of its own, recording every statement that
/// writes: the same rows, values and order the measured saves write.
std::vector<RecordedSave> recorded_saves(Engine engine, int lines, bool billed)
{
    bench::BenchDatabase b(engine);
    if (!b.ok())
        return {};
    Database& db = b.db();
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    std::vector<RecordedSave> saves(RecordedIterations);
    for (int index = 0; index < RecordedIterations; ++index) {
        RecordedSave& save = saves[size_t(index)];
        Receipt receipt;
        ReceiptSaving saving;
        save.order = bench::recorded_writes(db, [&] {
            const DocumentNumber order = saved_order(db, lines);
            receipt = receipt_of(db, order, lines, index + 1);
            if (billed)
                bill_it(receipt, index + 1);
            saving = saving_of(db, receipt);
        });
        save.receipt = bench::recorded_writes(db, [&] {
            bench::require(insert_new_receipt(db, receipt, saving), "saving the receipt");
        });
    }
    return saves;
}

/// The floor of exactly the rows the saves write: the recorded statements of each save (its
/// tables, columns, indexes and values) run again in one transaction on a second company that
/// went through the same writes, without the save's reads, checks and computing.
void receipt_rows_floor_of(benchmark::State& state, Engine engine, bool billed)
{
    const std::vector<RecordedSave> saves = recorded_saves(engine, int(state.range(0)), billed);
    bench::BenchDatabase b(engine);
    if (saves.empty() || !b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench::write_again(b.db(), saves[next].order);
        state.ResumeTiming();
        bench::write_again(b.db(), saves[next].receipt);
        ++next;
    }
    state.counters["statements"] = double(saves.front().receipt.size());
}

void receipt_rows_floor(benchmark::State& state, Engine engine) { receipt_rows_floor_of(state, engine, false); }
void receipt_with_bill_rows_floor(benchmark::State& state, Engine engine) { receipt_rows_floor_of(state, engine, true); }

void billed_documents(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"lines", "crowded"})->Args({20, 0})->Iterations(200)->Unit(benchmark::kMillisecond);
}

void short_documents(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"lines", "crowded"})->Args({20, 0})->Args({20, 1})->Iterations(200)->Unit(benchmark::kMillisecond);
}

void long_documents(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"lines", "crowded"})->Args({6300, 0})->Args({6300, 1})->Iterations(3)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(receipt_floor, sqlite, Engine::Sqlite)->ArgName("lines")->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receipt_rows_floor, sqlite, Engine::Sqlite)->Apply(billed_documents);
BENCHMARK_CAPTURE(receipt_save, sqlite, Engine::Sqlite)->Apply(short_documents);
BENCHMARK_CAPTURE(receipt_edit, sqlite, Engine::Sqlite)->Apply(short_documents);
BENCHMARK_CAPTURE(receipt_void, sqlite, Engine::Sqlite)->Apply(short_documents);
BENCHMARK_CAPTURE(receipt_with_bill_floor, sqlite, Engine::Sqlite)->ArgName("lines")->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receipt_with_bill_rows_floor, sqlite, Engine::Sqlite)->Apply(billed_documents);
BENCHMARK_CAPTURE(receipt_save_with_bill, sqlite, Engine::Sqlite)->Apply(billed_documents);
BENCHMARK_CAPTURE(receipt_save, sqlite, Engine::Sqlite)->Apply(long_documents);
BENCHMARK_CAPTURE(receipt_edit, sqlite, Engine::Sqlite)->Apply(long_documents);
BENCHMARK_CAPTURE(receipt_void, sqlite, Engine::Sqlite)->Apply(long_documents);
BENCHMARK_CAPTURE(receipt_floor, pg, Engine::Postgres)->ArgName("lines")->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receipt_rows_floor, pg, Engine::Postgres)->Apply(billed_documents);
BENCHMARK_CAPTURE(receipt_save, pg, Engine::Postgres)->Apply(short_documents);
BENCHMARK_CAPTURE(receipt_edit, pg, Engine::Postgres)->Apply(short_documents);
BENCHMARK_CAPTURE(receipt_void, pg, Engine::Postgres)->Apply(short_documents);
BENCHMARK_CAPTURE(receipt_with_bill_floor, pg, Engine::Postgres)->ArgName("lines")->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receipt_with_bill_rows_floor, pg, Engine::Postgres)->Apply(billed_documents);
BENCHMARK_CAPTURE(receipt_save_with_bill, pg, Engine::Postgres)->Apply(billed_documents);
BENCHMARK_CAPTURE(receipt_save, pg, Engine::Postgres)->Apply(long_documents);
BENCHMARK_CAPTURE(receipt_edit, pg, Engine::Postgres)->Apply(long_documents);
BENCHMARK_CAPTURE(receipt_void, pg, Engine::Postgres)->Apply(long_documents);
