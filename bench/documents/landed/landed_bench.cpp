// A landed bill spread over one receipt of 6,300 FIFO lines, half of whose layers have been
// partly issued since: its save (shares, inventory adjustment, every layer raised, entry and
// payable) and its void (every layer taken back, a correction entry for the stock issued).
#include "bench/support/bench_bills.h"
#include "bench/support/bench_database.h"
#include "bench/support/bench_documents.h"

#include "core/clock.h"
#include "documents/landed/landed_posting.h"
#include "documents/order/po_save.h"
#include "documents/receipt/receipt_save.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

enum class Operation { Save, Void };

/// An order and its receipt of `lines` widget lines (FIFO, two boxes each), saved.
DocumentNumber received_widgets(Database& db, int lines, long long serial)
{
    Order order = bench::order_of(db, lines);
    for (OrderLine& line : order.lines) {
        line.itemcode = QStringLiteral("WIDGET");
        line.itemtype = QStringLiteral("1");
        line.uom = QStringLiteral("box");
        line.warehouse = QStringLiteral("MAIN");
        line.location = QStringLiteral("A1");
    }
    auto ordered = insert_new_po(db, order, bench::Stamp);
    bench::require(ordered, "saving the order");
    Receipt receipt = bench::receipt_of(db, *ordered, lines, serial);
    for (ReceiptLine& line : receipt.lines) {
        line.itemcode = QStringLiteral("WIDGET");
        line.itemtype = QStringLiteral("1");
        line.uom = line.po_uom = QStringLiteral("box");
        line.warehouse = QStringLiteral("MAIN");
        line.location = QStringLiteral("A1");
    }
    auto saved = insert_new_receipt(db, receipt, bench::saving_of(db, receipt));
    bench::require(saved, "saving the receipt");
    return {receipt.header.docno, receipt.header.fkey};
}

/// Issues half of every other layer of the receipt, as sales would have, with the history rows
/// and on-hand change that record it.
void issue_half_of_half_the_layers(Database& db, const QString& receipt)
{
    const QString chosen = QStringLiteral("SELECT id FROM FIFO_table WHERE receipt_no = ? AND id % 2 = 0");
    bench::require(db.execute(QStringLiteral("INSERT INTO FIFO_history_table (company, itemcode, warehouse, cost_method,"
                                             " lot_id, receipt_no, receipt_date, docno, Date, unitcost, quantity, amount,"
                                             " uom, negative_lot, Source, Reverse)"
                                             " SELECT company, itemcode, warehouse, cost_method, lot_id, receipt_no,"
                                             " receipt_date, 'SO-BENCH', receipt_date, unitcost, -quantity / 2, -amount / 2,"
                                             " uom, FALSE, 'SO', FALSE FROM FIFO_table WHERE id IN (")
                                  + chosen + u')',
                              {receipt}),
                   "recording the issues");
    auto taken = db.scalar(QStringLiteral("SELECT SUM(quantity / 2) FROM FIFO_table WHERE id IN (") + chosen + u')', {receipt});
    auto value = db.scalar(QStringLiteral("SELECT SUM(amount / 2) FROM FIFO_table WHERE id IN (") + chosen + u')', {receipt});
    bench::require(taken, "issued quantity");
    bench::require(value, "issued value");
    bench::require(db.execute(QStringLiteral("UPDATE FIFO_table SET quantity = quantity / 2, amount = amount / 2"
                                             " WHERE id IN (")
                                  + chosen + u')',
                              {receipt}),
                   "issuing");
    bench::require(db.execute(QStringLiteral("UPDATE Item_onhand_table SET quantity = quantity - ?, Value = Value - ?"
                                             " WHERE itemcode = 'WIDGET' AND warehouse = 'MAIN' AND location = 'A1'"),
                              {Row::to_decimal(*taken), Row::to_decimal(*value)}),
                   "on hand");
}

void landed_operation(benchmark::State& state, Engine engine, Operation operation)
{
    const int lines = int(state.range(0));
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    FixedClock clock(QDate(2026, 12, 20), QTime(8, 0, 0));
    Database& db = b.db();
    long long serial = 0;
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const DocumentNumber receipt = received_widgets(db, lines, ++serial);
        issue_half_of_half_the_layers(db, receipt.docno);
        const LandedBill landed = bench::freight_over(receipt.docno, serial, QDate(2026, 12, 20));
        DocumentNumber bill;
        if (operation == Operation::Void) {
            auto saved = save_new_landed_bill(db, landed, bench::FreightAccounts, bench::Stamp);
            bench::require(saved, "saving the landed bill");
            bill = *saved;
        }
        const qint64 before = db.statement_count();
        std::expected<void, Error> done;
        state.ResumeTiming();
        if (operation == Operation::Save) {
            if (auto saved = save_new_landed_bill(db, landed, bench::FreightAccounts, bench::Stamp); !saved)
                done = std::unexpected(saved.error());
        } else {
            const DocumentVersion shown{QStringLiteral("PO_invoice_header_table"), bill.fkey, bill.docno, 0};
            done = void_landed_bill(db, shown, QStringLiteral("5100"), bench::Stamp);
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

void landed_save(benchmark::State& state, Engine engine) { landed_operation(state, engine, Operation::Save); }
void landed_void(benchmark::State& state, Engine engine) { landed_operation(state, engine, Operation::Void); }

void long_receipt(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgName("lines")->Arg(6300)->Iterations(3)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(landed_save, sqlite, Engine::Sqlite)->Apply(long_receipt);
BENCHMARK_CAPTURE(landed_void, sqlite, Engine::Sqlite)->Apply(long_receipt);
BENCHMARK_CAPTURE(landed_save, pg, Engine::Postgres)->Apply(long_receipt);
BENCHMARK_CAPTURE(landed_void, pg, Engine::Postgres)->Apply(long_receipt);
