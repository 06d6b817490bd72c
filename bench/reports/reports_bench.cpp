// The inquiries and the tax report on a large company: 1,000 vendors, 100,000 orders, receipts
// and bills of ten lines each (1,000,000 lines of each kind) over three years. One vendor's month,
// the first unfiltered page, its count and totals, a page deep in the list, one tax period, and
// 10,000 lines found and printed.
#include "bench/support/bench_windows.h"

#include "core/clock.h"
#include "reports/POreport_po_transaction.h"
#include "reports/POreport_purchase_tax.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace zelkor;

constexpr int Vendors = 1000;
constexpr int Documents = 100000;
constexpr int LinesPerDocument = 10;

QString numbers_to(int count)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
}

/// The date of document i: three years from January 1, 2024, a document a little over every
/// eleven minutes.
QString date_of(Engine engine, const QString& i)
{
    return engine == Engine::Sqlite ? QStringLiteral("date('2024-01-01', '+' || (%1 % 1095) || ' days')").arg(i)
                                    : QStringLiteral("DATE '2024-01-01' + (%1 % 1095)").arg(i);
}

void add_vendors(Database& db)
{
    bench::require(db.execute(numbers_to(Vendors)
                                  + QStringLiteral("INSERT INTO Vendor_table (vendor_no, vendor_name, vendor_group)"
                                                   " SELECT 'V' || (1000 + i), 'Vendor ' || i,"
                                                   " CASE WHEN i <= 10 THEN 'BULK10' END FROM n")),
                   "adding vendors");
}

/// Headers and ten lines each of one kind of document.
void add_documents(Database& db, Engine engine, const QString& header, const QString& lines, const QString& prefix,
                   const QString& date_column)
{
    const QString date = date_of(engine, QStringLiteral("i"));
    bench::require(db.execute(numbers_to(Documents)
                                  + QStringLiteral("INSERT INTO %1 (company, fkey, doctype, docno, vendor_no, %2, currency)"
                                                   " SELECT 1, '%3-' || i, '%3', '%3-' || (1000000 + i), 'V' || (1000 + i %"
                                                   " 1000 + 1), %4, 'USD' FROM n")
                                        .arg(header, date_column, prefix, date)),
                   "adding headers");
    // Line i belongs to document (i - 1) / 10 + 1; its date, year and period follow that document's.
    const QString document = QStringLiteral("((i - 1) / %1 + 1)").arg(LinesPerDocument);
    const QString line_date = date_of(engine, document);
    const bool dated_lines = lines != QLatin1String("PO_transaction_table");
    QString columns = QStringLiteral("company, fkey, itemno, docno, vendor_no, currency, itemcode, itemtype, quantity,"
                                     " unitcost, extended_cost, tax_amount, tax_code, accno");
    QString values = QStringLiteral("1, '%1-' || %2, (i - 1) %% %3 + 1, '%1-' || (1000000 + %2), 'V' || (1000 + %2 %% 1000 + 1),"
                                    " 'USD', 'ITEM' || (i %% 5000), '1', 1 + i %% 7, 2.5, 2.5 * (1 + i %% 7), 0.5, 'ST', '1300'")
                         .arg(prefix, document)
                         .arg(LinesPerDocument)
                         .replace(QStringLiteral("%%"), QStringLiteral("%"));
    if (dated_lines) {
        const QString year = engine == Engine::Sqlite ? QStringLiteral("strftime('%Y', %1)").arg(line_date)
                                                      : QStringLiteral("to_char(%1, 'YYYY')").arg(line_date);
        const QString period = engine == Engine::Sqlite ? QStringLiteral("CAST(strftime('%m', %1) AS INTEGER)").arg(line_date)
                                                        : QStringLiteral("CAST(to_char(%1, 'MM') AS INTEGER)").arg(line_date);
        columns += QStringLiteral(", %1, fyear, period, tax_authority1, taxable_amount1, tax_rate1, tax_amount1,"
                                  " tax_authority2, taxable_amount2, tax_rate2, tax_amount2")
                       .arg(date_column);
        values += QStringLiteral(", %1, %2, %3, 'STATE', 10, 5, 0.5, 'CITY', 10, 8, CASE WHEN i % 2 = 0 THEN 0.8 ELSE 0 END")
                      .arg(line_date, year, period);
    }
    bench::require(db.execute(numbers_to(Documents * LinesPerDocument)
                                  + QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM n").arg(lines, columns, values)),
                   "adding lines");
}

/// One company database per engine, filled once for every benchmark of the program.
Database* company(Engine engine)
{
    static std::map<Engine, std::unique_ptr<bench::BenchDatabase>> companies;
    if (companies.empty())
        bench::release_at_exit([] { companies.clear(); });
    auto& slot = companies[engine];
    if (!slot) {
        slot = std::make_unique<bench::BenchDatabase>(engine);
        if (!slot->ok())
            return nullptr;
        Database& db = slot->db();
        add_vendors(db);
        add_documents(db, engine, QStringLiteral("PO_header_table"), QStringLiteral("PO_transaction_table"),
                      QStringLiteral("po"), QStringLiteral("order_date"));
        add_documents(db, engine, QStringLiteral("PO_receipt_header_table"), QStringLiteral("PO_receipt_transaction_table"),
                      QStringLiteral("ro"), QStringLiteral("receipt_date"));
        add_documents(db, engine, QStringLiteral("PO_invoice_header_table"), QStringLiteral("PO_invoice_transaction_table"),
                      QStringLiteral("vi"), QStringLiteral("invoice_date"));
        if (engine == Engine::Postgres)
            bench::require(db.execute_script(QStringLiteral("ANALYZE;")), "analysing");
    }
    return slot->ok() ? &slot->db() : nullptr;
}


void run_orders(benchmark::State& state, Engine engine, const std::vector<std::pair<QString, QString>>& filters)
{
    Database* db = company(engine);
    if (!db)
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    ScriptedPrompter prompter;
    auto window = bench::opened<POreport_po_transaction>(*db, {}, prompter);
    for (const auto& [field, value] : filters)
        window->set_field(field, value);
    for (auto _ : state)
        if (!window->run_inquiry() || !window->wait_for_totals())
            return state.SkipWithError("the inquiry failed");
    state.counters["rows"] = double(window->selected_rows());
}

/// What the clerk waits for after "Find" with no filter: the first page, the count started in
/// the background (and cancelled here, so that each run starts afresh).
void unfiltered_window(benchmark::State& state, Engine engine)
{
    Database* db = company(engine);
    if (!db)
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    ScriptedPrompter prompter;
    auto window = bench::opened<POreport_po_transaction>(*db, {}, prompter);
    for (auto _ : state) {
        if (!window->run_inquiry())
            return state.SkipWithError("the inquiry failed");
        window->cancel_background_work();
    }
    state.counters["rows"] = double(window->results().row_count());
}

void one_vendor_one_month(benchmark::State& state, Engine engine)
{
    run_orders(state, engine, {{"vendor_no", "V1042"}, {"date_range", "1"}, {"from_date", "01/03/2025"},
                               {"to_date", "31/03/2025"}});
}

/// The unfiltered list as the order inquiry reads it: its first page, its count and totals, and
/// a page nine tenths of the way down.
enum class Part { FirstPage, Totals, DeepPage };

void unfiltered_orders(benchmark::State& state, Engine engine, Part part)
{
    Database* db = company(engine);
    if (!db)
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    ScriptedPrompter prompter;
    auto window = bench::opened<POreport_po_transaction>(*db, {}, prompter);
    ReportSelection selection;
    selection.where.add(QStringLiteral("+PO_transaction_table.company = 1"));
    selection.where.add(QStringLiteral("PO_header_table.order_date IS NOT NULL"));
    selection.order = window->query().default_order;
    const int deep = Documents * 9 / 10;
    const std::vector<SqlValue> after{QStringLiteral("po-%1").arg(1000000 + deep), LinesPerDocument,
                                      QStringLiteral("po-%1").arg(deep)};
    const SqlText sql = part == Part::Totals ? totals_query(window->query(), selection, engine)
                        : page_query(window->query(), selection,
                                     part == Part::DeepPage ? std::optional(after) : std::nullopt,
                                     ReportWindow::PageRows + 1, engine);
    size_t rows = 0;
    for (auto _ : state) {
        auto read = db->select(sql.text(), sql.params());
        if (!read)
            return state.SkipWithError("reading failed");
        rows = read->size();
    }
    state.counters["rows"] = double(rows);
}

void tax_one_period(benchmark::State& state, Engine engine)
{
    Database* db = company(engine);
    if (!db)
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    ScriptedPrompter prompter;
    auto window = bench::opened<POreport_purchase_tax>(*db, {}, prompter);
    window->set_field("fyear", "2025");
    window->set_field("period", "3");
    window->set_field("tax_authority", "All");
    for (auto _ : state)
        if (!window->run_inquiry() || !window->wait_for_totals())
            return state.SkipWithError("the report failed");
    state.counters["rows"] = double(window->selected_rows());
}

void find_and_print(benchmark::State& state, Engine engine)
{
    Database* db = company(engine);
    if (!db)
        return state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    auto window = bench::opened<POreport_po_transaction>(*db, folder.path(), prompter);
    window->set_field("group_name", "BULK10");
    for (auto _ : state)
        if (!window->run_inquiry() || !window->execute(CommandId::Preview))
            return state.SkipWithError("find or print failed");
    state.counters["rows"] = double(window->selected_rows());
}

} // namespace

BENCHMARK_CAPTURE(one_vendor_one_month, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(unfiltered_orders, sqlite_first_page, Engine::Sqlite, Part::FirstPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(unfiltered_orders, sqlite_count_and_totals, Engine::Sqlite, Part::Totals)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(unfiltered_orders, sqlite_deep_page, Engine::Sqlite, Part::DeepPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(unfiltered_window, sqlite_until_first_page, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(tax_one_period, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(find_and_print, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(one_vendor_one_month, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(unfiltered_orders, pg_first_page, Engine::Postgres, Part::FirstPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(unfiltered_orders, pg_count_and_totals, Engine::Postgres, Part::Totals)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(unfiltered_orders, pg_deep_page, Engine::Postgres, Part::DeepPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(unfiltered_window, pg_until_first_page, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(tax_one_period, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(find_and_print, pg, Engine::Postgres)->Unit(benchmark::kMillisecond);
