// The cost of posting a 20-line journal entry with its balances, to compare with the raw floor
// (raw_floor in services_bench.cpp, the same run), on an empty ledger and on one that already
// holds a million journal lines: a posting must cost the same whatever the ledger's size.
#include "bench/support/bench_database.h"

#include "ledger/ledger_posting.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zelkor;

constexpr int LinesPerOldEntry = 20;

// Ten debits over asset, expense and allocated accounts; ten vendors' credits on the clearing
// account: twenty journal lines touching twelve balance rows, current earnings included.
LedgerEntry twenty_line_entry()
{
    LedgerEntry entry;
    const char* const debits[] = {"1300", "1400", "1450", "1500", "5100", "5200", "6000", "6200", "6510", "6520"};
    for (const char* account : debits)
        entry.add(QString::fromLatin1(account), Decimal("12.34"), Decimal("12.34"), QStringLiteral("USD"));
    for (int vendor = 1; vendor <= 10; ++vendor)
        entry.add(QStringLiteral("2050"), Decimal("12.34"), Decimal("12.34"), QStringLiteral("USD"),
                  QStringLiteral("V%1").arg(vendor));
    return entry;
}

JournalDocument bench_document()
{
    JournalDocument d;
    d.description = QStringLiteral("Receipt RO-26-00001");
    d.remark = QStringLiteral("Receipt no. RO-26-00001");
    d.source = QStringLiteral("PO-RECEIPT");
    d.source_form = QStringLiteral("Receipt Entry");
    d.source_docno = QStringLiteral("RO-26-00001");
    d.date = QDate(2026, 3, 15);
    d.currency = QStringLiteral("USD");
    d.user = QStringLiteral("ADMIN");
    return d;
}

// Fills the journal with `lines` lines in entries of twenty, set-based: one statement per table.
bool fill_journal(Database& db, int lines)
{
    if (lines == 0)
        return true;
    const QString numbers = db.engine() == Engine::Postgres
        ? QStringLiteral("SELECT i FROM generate_series(1, %1) AS n(i)")
        : QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) SELECT i FROM n");
    const int entries = lines / LinesPerOldEntry;
    const QString headers = QStringLiteral(
        "INSERT INTO GL_header_table (company, fkey, doctype, docno, gldate, period, fyear, currency, Source)"
        " SELECT 1, 'old-' || i, 'gl', 'OLD-' || i, CAST('2026-02-01' AS DATE), 2, '2026', 'USD', 'BENCH' FROM (%1) AS n");
    const QString journal = QStringLiteral(
        "INSERT INTO GL_transaction_table (company, fkey, lineno, doctype, docno, gldate, period, fyear, accno,"
        " acccode, amount, base_amount, currency, ledgertype, Source)"
        " SELECT 1, 'old-' || ((i - 1) / 20 + 1), (i - 1) % 20 + 1, 'gl', 'OLD-' || ((i - 1) / 20 + 1),"
        " CAST('2026-02-01' AS DATE), 2, '2026', CASE i % 4 WHEN 0 THEN '6000' WHEN 1 THEN '1300' WHEN 2 THEN '2050'"
        " ELSE '1400' END, '1300', 1, 1, 'USD', 'A', 'BENCH' FROM (%1) AS n");
    Transaction tx(db);
    if (!db.execute(headers.arg(numbers.arg(entries))) || !db.execute(journal.arg(numbers.arg(lines))))
        return false;
    if (!tx.commit())
        return false;
    return bool(db.execute_script(QStringLiteral("ANALYZE")));
}

void post_twenty_lines(benchmark::State& state, Engine engine, int existing_lines)
{
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    if (!fill_journal(b.db(), existing_lines)) {
        state.SkipWithError("could not fill the journal");
        return;
    }
    const LedgerEntry entry = twenty_line_entry();
    const JournalDocument document = bench_document();
    const qint64 statements_before = b.db().statement_count();
    for (auto _ : state) {
        Transaction tx(b.db());
        auto posted = post_entry(b.db(), document, entry);
        if (!posted || !tx.commit()) {
            state.SkipWithError(posted ? "commit failed" : qPrintable(posted.error().detail + posted.error().message));
            return;
        }
    }
    state.counters["statements/posting"] = benchmark::Counter(
        static_cast<double>(b.db().statement_count() - statements_before), benchmark::Counter::kAvgIterations);
}

BENCHMARK_CAPTURE(post_twenty_lines, sqlite_empty_ledger, Engine::Sqlite, 0)
    ->Unit(benchmark::kMillisecond)->Iterations(3000);
BENCHMARK_CAPTURE(post_twenty_lines, sqlite_1M_journal_lines, Engine::Sqlite, 1'000'000)
    ->Unit(benchmark::kMillisecond)->Iterations(3000);
BENCHMARK_CAPTURE(post_twenty_lines, postgres_empty_ledger, Engine::Postgres, 0)
    ->Unit(benchmark::kMillisecond)->Iterations(500);
BENCHMARK_CAPTURE(post_twenty_lines, postgres_1M_journal_lines, Engine::Postgres, 1'000'000)
    ->Unit(benchmark::kMillisecond)->Iterations(500);

} // namespace

namespace {

// The same rows a 20-line posting writes, written bare: one header, the twenty lines in one
// statement and one update per balance row. What the posting costs beyond this is the module's
// own work (checks, look-ups, locks); the rest is the database's.
void raw_ledger_rows(benchmark::State& state, Engine engine)
{
    bench::BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    const char* const accounts[] = {"1300", "1400", "1450", "1500", "5100", "5200", "6000", "6200", "6510", "6520", "2050", "3900"};
    QString lines_sql = QStringLiteral("INSERT INTO GL_transaction_table (company, fkey, lineno, doctype, docno, gldate,"
                                       " period, fyear, accno, acccode, amount, base_amount, currency, ledgertype,"
                                       " vendor_no, Description, Source, source_form, source_docno) VALUES ");
    for (int i = 0; i < 20; ++i)
        lines_sql += (i ? QStringLiteral(", ") : QString()) + QStringLiteral("(1, ?, ?, 'gl', ?, ?, 3, '2026', ?, ?, ?, ?,"
                                                                             " 'USD', 'A', ?, ?, 'PO-RECEIPT', 'Receipt Entry', ?)");
    long long serial = 0;
    for (auto _ : state) {
        ++serial;
        const QString key = QStringLiteral("raw-%1").arg(serial);
        Transaction tx(b.db());
        (void)b.db().execute(QStringLiteral("INSERT INTO GL_header_table (company, fkey, doctype, docno, gldate, period,"
                                            " fyear, currency, Source) VALUES (1, ?, 'gl', ?, ?, 3, '2026', 'USD', 'PO-RECEIPT')"),
                             {key, key, QDate(2026, 3, 15)});
        Params params;
        for (int i = 0; i < 20; ++i)
            for (const SqlValue& v : Params{key, i + 1, key, QDate(2026, 3, 15), accounts[i % 11], accounts[i % 11],
                                            Decimal("12.34"), Decimal("12.34"), QStringLiteral("V1"),
                                            QStringLiteral("Receipt RO-26-00001"), QStringLiteral("RO-26-00001")})
                params.push_back(v);
        (void)b.db().execute(lines_sql, params);
        for (const char* account : accounts) {
            (void)b.db().execute(QStringLiteral("UPDATE Balance_table SET amount = amount + ?, base_amount = base_amount + ?"
                                                " WHERE company = 1 AND ledgertype = 'A' AND accno = ? AND currency = 'USD'"),
                                 {Decimal("12.34"), Decimal("12.34"), account});
            (void)b.db().execute(QStringLiteral("UPDATE Balance_period_table SET period3 = period3 + ?"
                                                " WHERE company = 1 AND fyear = '2026' AND ledgertype = 'A' AND accno = ?"
                                                " AND currency = 'USD'"),
                                 {Decimal("12.34"), account});
        }
        (void)tx.commit();
    }
}
BENCHMARK_CAPTURE(raw_ledger_rows, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(raw_ledger_rows, postgres, Engine::Postgres)->Unit(benchmark::kMillisecond);

} // namespace
