// Writing the payable of a bill of 2,000 lines over five tax codes (its start, its header and
// lines, the owing balance, in one transaction) into an empty company and into one holding
// 100,000 payables and 100,000 receivable lines: the line ids are found above both tables, and
// the time must not grow with them.
#include "bench/support/bench_database.h"

#include "core/clock.h"
#include "payables/payables.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

constexpr int ExistingPayables = 100000;

const AuditStamp Stamp{QStringLiteral("ADMIN"), QStringLiteral("bench"), QDate(2026, 3, 15), QStringLiteral("08:00:00")};

void add_existing_payables(Database& db)
{
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ")
                                .arg(ExistingPayables);
    bench::require(db.execute(numbers
                              + QStringLiteral("INSERT INTO AP_header_table (company, fkey, doctype, docno, vendor_no, invoice_no,"
                                               " invoice_date, currency, Source, period, fyear, void)"
                                               " SELECT 1, 'bulk-ip-' || i, 'ip', 'BULK-IP-' || i, 'V200', 'BULK-' || i,"
                                               " '2025-06-01', 'USD', 'PO-BILL', 6, '2025', FALSE FROM n")),
                   "adding payables");
    bench::require(db.execute(numbers
                              + QStringLiteral("INSERT INTO AP_transaction_table (company, fkey, pay_item, doctype, docno,"
                                               " vendor_no, invoice_no, currency, tax_code, gross_amount, open_amount,"
                                               " ap_accno, void) SELECT 1, 'bulk-ip-' || i, 1, 'ip', 'BULK-IP-' || i, 'V200',"
                                               " 'BULK-' || i, 'USD', 'ST', 105, 105, '2000', FALSE FROM n")),
                   "adding payable lines");
    bench::require(db.execute(numbers
                              + QStringLiteral("INSERT INTO AR_transaction_table (company, fkey, doctype, docno, customer_no,"
                                               " invoice_no, currency, gross_amount, open_amount, void)"
                                               " SELECT 1, 'bulk-ar-' || i, 'ar', 'AR-' || i, 'C1', 'AR-' || i, 'USD', 50, 50,"
                                               " FALSE FROM n")),
                   "adding receivable lines");
    // Statistics as autovacuum would have gathered them (as the stock history does); autovacuum
    // may be at the new rows already, so this waits for it rather than the save's lock timeout.
    if (db.engine() == Engine::Postgres)
        bench::require(db.execute_script(QStringLiteral("SET lock_timeout = 0;\nVACUUM ANALYZE;\n")
                                         + QStringLiteral("SET lock_timeout = '%1ms';\n").arg(Database::LockWaitMilliseconds)),
                       "gathering statistics");
}

/// A bill of `count` lines of 10.00 each, cycling through the fixture's five purchase tax codes.
PayableBill bill_of(Database& db, int count)
{
    PayableBill bill;
    bill.vendor_no = QStringLiteral("V100");
    bill.invoice_date = QDate(2026, 3, 15);
    bill.currency = QStringLiteral("USD");
    bill.payment_term = QStringLiteral("30");
    bill.source = QStringLiteral("PO-BILL");
    bill.source_form = QStringLiteral("P/O Bill Entry");
    bill.period = {QStringLiteral("2026"), 3};
    bill.discount = QStringLiteral("25");
    bill.stamp = Stamp;
    const QStringList codes{"ST", "GP", "VAT50", "CAP", "EXEMPT"};
    for (int line = 0; line < count; ++line) {
        const QString& code = codes[line % codes.size()];
        auto authorities = tax_code_authorities(db, code);
        bench::require(authorities, "tax authorities");
        const Decimal amount(10);
        TaxElements elements = tax_elements(line + 1, amount, *authorities, TaxIncluded::No);
        const LineTaxTotals totals = line_tax_totals(elements, amount, TaxIncluded::No);
        bill.lines.push_back({QStringLiteral("ITEM"), code, amount, totals.tax_amount, totals.net_cost, false, elements});
    }
    return bill;
}

void payable_of_a_bill(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    Database& db = b.db();
    if (state.range(1) != 0)
        add_existing_payables(db);
    PayableBill bill = bill_of(db, int(state.range(0)));
    long long serial = 0;
    qint64 statements = 0;
    for (auto _ : state) {
        bill.invoice_no = QStringLiteral("BENCH-%1").arg(++serial);
        const qint64 before = db.statement_count();
        Transaction tx(db);
        auto plan = start_payable(db, bill);
        bench::require(plan, "starting the payable");
        auto created = create_payable(db, bill, *plan, QStringLiteral("2000"));
        bench::require(created, "creating the payable");
        bench::require(raise_owing_balance(db, bill.vendor_no, created->open_amount), "raising the owing balance");
        bench::require(tx.commit(), "committing");
        statements += db.statement_count() - before;
    }
    state.counters["statements"] = double(statements) / double(serial);
    state.counters["lines/s"] = benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

void payables(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"lines", "crowded"})->Args({2000, 0})->Args({2000, 1})->Iterations(100)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(payable_of_a_bill, sqlite, Engine::Sqlite)->Apply(payables);
BENCHMARK_CAPTURE(payable_of_a_bill, pg, Engine::Postgres)->Apply(payables);
