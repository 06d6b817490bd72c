#include "bench/support/bench_database.h"

#include "schema/schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <vector>

#include <unistd.h>

namespace zelkor::bench {

BenchDatabase::BenchDatabase(Engine engine, bool with_fixture)
{
    if (engine == Engine::Sqlite)
        m_where.database = m_folder.filePath(QStringLiteral("bench.db"));
    else if (!create_on_server())
        return;
    auto db = Database::open(m_where);
    if (!db || !schema::create_tables(**db) || (with_fixture && !schema::load_fixture(**db)))
        return;
    m_db = std::move(*db);
}

bool BenchDatabase::create_on_server(const QString& template_name)
{
    const auto admin = ConnectionDescription::parse(qEnvironmentVariable("ZELKOR_BENCH_PG"));
    if (!admin || admin->engine != Engine::Postgres)
        return false;
    m_admin = *admin;
    auto server = Database::open(m_admin);
    if (!server)
        return false;
    m_where = m_admin;
    m_where.database = QStringLiteral("zelkor_bench_%1_%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QRandomGenerator::global()->generate() & 0xffff);
    // A template is copied file by file: logged page by page (the server's default), a company of
    // gigabytes would fill the server's log and keep it writing long after.
    const QString quoted = QString(template_name).replace(QStringLiteral("\""), QStringLiteral("\"\""));
    const QString made_from =
        template_name.isEmpty() ? QString() : QStringLiteral(" TEMPLATE \"%1\" STRATEGY = FILE_COPY").arg(quoted);
    if ((*server)->execute_script(QStringLiteral("CREATE DATABASE ") + m_where.database + made_from))
        return true;
    m_where.database.clear();
    return false;
}

namespace {

/// Waits until the file is on disk.
bool written_out(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

} // namespace

std::unique_ptr<BenchDatabase> BenchDatabase::copy_of(const QString& company)
{
    std::unique_ptr<BenchDatabase> copy(new BenchDatabase);
    const auto described = ConnectionDescription::parse(company);
    if (!described)
        return copy;
    if (described->engine == Engine::Postgres) {
        if (!copy->create_on_server(described->database))
            return copy;
        // The copy's files are written out before it is timed (when the server runs here).
        ::sync();
    } else {
        copy->m_where.database = copy->m_folder.filePath(QStringLiteral("company.db"));
        // A company whose generator was stopped still has its last saves in the write-ahead log.
        const QString log = company + QStringLiteral("-wal");
        if (!QFile::copy(company, copy->m_where.database)
            || (QFile::exists(log) && !QFile::copy(log, copy->m_where.database + QStringLiteral("-wal"))))
            return copy;
        // The copy's gigabytes sit in the system's cache until written out; written out now, so
        // that the first checkpoint's flush of the file does not wait for them in a timed save.
        if (!written_out(copy->m_where.database))
            return copy;
    }
    if (auto db = Database::open(copy->m_where))
        copy->m_db = std::move(*db);
    return copy;
}

namespace {

std::vector<std::function<void()>>& kept()
{
    static std::vector<std::function<void()>> releases;
    return releases;
}

} // namespace

void release_at_exit(std::function<void()> release) { kept().push_back(std::move(release)); }

void release_kept()
{
    while (!kept().empty()) {
        const std::function<void()> release = std::move(kept().back());
        kept().pop_back();
        release();
    }
}

BenchDatabase::~BenchDatabase()
{
    m_db.reset();
    if (m_where.engine == Engine::Postgres && !m_where.database.isEmpty()) {
        if (auto server = Database::open(m_admin))
            (void)(*server)->execute_script(QStringLiteral("DROP DATABASE IF EXISTS ") + m_where.database
                                            + QStringLiteral(" WITH (FORCE)"));
    }
}

namespace {

QString numbers(int count)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
}

} // namespace

void add_stock_history(Database& db, int documents, int history_rows)
{
    require(db.execute(numbers(documents)
                       + QStringLiteral("INSERT INTO IN_header_table (company, fkey, doctype, docno, trandate, Description,"
                                        " period, fyear, currency, Source, source_form, source_docno, void)"
                                        " SELECT 1, 'bulk-' || i, 'ir', 'BULK-' || i, '2025-06-01', 'Receipt', 6, '2025',"
                                        " 'USD', 'PO-RECEIPT', 'Receipt Entry', 'BULK-' || i, FALSE FROM n")),
            "adding inventory documents");
    require(db.execute(numbers(documents)
                       + QStringLiteral("INSERT INTO IN_transaction_table (company, fkey, lineno, doctype, docno, trandate,"
                                        " itemcode, warehouse, location, quantity, uom, unitcost, extended_cost,"
                                        " stock_uom, stock_uom_quantity, stock_value, Source, source_docno)"
                                        " SELECT 1, 'bulk-' || i, l.lineno, 'ir', 'BULK-' || i, '2025-06-01',"
                                        " 'WIDGET', 'MAIN', 'A1', 1, 'pcs', 2, 2, 'pcs', 1, 2, 'PO-RECEIPT', 'BULK-' || i"
                                        " FROM n CROSS JOIN (SELECT 1 AS lineno UNION ALL SELECT 2) l")),
            "adding inventory lines");
    require(db.execute(numbers(history_rows)
                       + QStringLiteral("INSERT INTO FIFO_history_table (company, itemcode, warehouse, cost_method, lot_id,"
                                        " receipt_no, receipt_date, docno, Date, unitcost, quantity, amount, uom,"
                                        " negative_lot, Source, Reverse) SELECT 1, CASE i % 2 WHEN 0 THEN 'WIDGET'"
                                        " ELSE 'BOLT' END, 'MAIN', 'FIFO', '2025' || (100000000 + i), 'BULK-' || (i % %1),"
                                        " '2025-06-01', 'BULK-' || (i % %1), '2025-06-01', 2, 1, 2, 'pcs',"
                                        " FALSE, 'PO-RECEIPT', FALSE FROM n")
                             .arg(documents)),
            "adding layer history");
    // A PostgreSQL company that grew to this size has been vacuumed and analysed by autovacuum
    // along the way; measuring while it still works through a million fresh rows, or before the
    // planner has statistics to choose between the history's indexes, would measure the bulk
    // load. SQLite gathers no statistics by itself, so its plans are measured without.
    if (db.engine() == Engine::Postgres)
        require(db.execute_script(QStringLiteral("VACUUM ANALYZE")), "gathering statistics");
}

void add_bill_history(Database& db, int bills, int journal_lines)
{
    const int lines_per_entry = std::max(1, journal_lines / bills);
    require(db.execute(numbers(bills)
                       + QStringLiteral("INSERT INTO PO_invoice_header_table (company, fkey, doctype, docno, vendor_no,"
                                        " invoice_date, currency, invoice_no, receipt_no, payby, payment_term, subtotal,"
                                        " excluded_tax, total, net_amount, period, fyear, GLFKEY, apfkey, source_form)"
                                        " SELECT 1, 'bulk-vi-' || i, 'vi', 'BULK-VI-' || i, 'V100', '2025-06-01', 'USD',"
                                        " 'BULK-INV-' || i, 'BULK-' || i, 'Pay Later', '30', 40, 2.40, 42.40, 42.40, 6,"
                                        " '2025', 'bulk-gl-' || i, 'bulk-ip-' || i, 'P/O Bill Entry' FROM n")),
            "adding bills");
    require(db.execute(numbers(bills)
                       + QStringLiteral("INSERT INTO PO_invoice_transaction_table (company, fkey, itemno, doctype, docno,"
                                        " vendor_no, invoice_no, invoice_date, period, fyear, itemcode, itemtype, Description,"
                                        " uom_received, quantity, unitcost, extended_cost, tax_amount, net_cost, tax_code,"
                                        " accno, receipt_no, receipt_itemno, PONO, po_itemno)"
                                        " SELECT 1, 'bulk-vi-' || i, l.itemno, 'vi', 'BULK-VI-' || i, 'V100',"
                                        " 'BULK-INV-' || i, '2025-06-01', 6, '2025', 'WIDGET', '1', 'WIDGET', 'box', 2, 10,"
                                        " 20, 1.20, 21.20, 'ST', '1300', 'BULK-' || i, l.itemno, 'BULK-PO-' || i, l.itemno"
                                        " FROM n CROSS JOIN (SELECT 1 AS itemno UNION ALL SELECT 2) l")),
            "adding bill lines");
    require(db.execute(numbers(bills)
                       + QStringLiteral("INSERT INTO AP_header_table (company, fkey, doctype, docno, vendor_no, invoice_no,"
                                        " invoice_date, currency, payment_term, due_date, Source, source_docno, source_form,"
                                        " period, fyear, GLFKEY) SELECT 1, 'bulk-ip-' || i, 'ip', 'BULK-IP-' || i, 'V100',"
                                        " 'BULK-INV-' || i, '2025-06-01', 'USD', '30', '2025-07-01', 'PO-BILL', 'BULK-VI-' || i,"
                                        " 'P/O Bill Entry', 6, '2025', 'bulk-gl-' || i FROM n")),
            "adding payables");
    require(db.execute(numbers(bills)
                       + QStringLiteral("INSERT INTO AP_transaction_table (company, fkey, pay_item, doctype, docno, vendor_no,"
                                        " invoice_no, invoice_date, currency, due_date, gross_amount, open_amount, paid_amount,"
                                        " paid, ap_accno, period, fyear, Source, source_docno) SELECT 1, 'bulk-ip-' || i, 1,"
                                        " 'ip', 'BULK-IP-' || i, 'V100', 'BULK-INV-' || i, '2025-06-01', 'USD', '2025-07-01',"
                                        " 42.40, 0, 42.40, TRUE, '2000', 6, '2025', 'PO-BILL', 'BULK-VI-' || i FROM n")),
            "adding payable lines");
    require(db.execute(numbers(bills)
                       + QStringLiteral("INSERT INTO GL_header_table (company, fkey, doctype, docno, Description, Source,"
                                        " source_form, source_docno, gldate, currency, period, fyear)"
                                        " SELECT 1, 'bulk-gl-' || i, 'gl', 'BULK-GL-' || i, 'Bill', 'PO-BILL',"
                                        " 'P/O Bill Entry', 'BULK-VI-' || i, '2025-06-01', 'USD', 6, '2025' FROM n")),
            "adding journal entries");
    // Each entry balances: its lines alternate between a debit and a credit of the same amount.
    require(db.execute(numbers(bills * lines_per_entry)
                       + QStringLiteral("INSERT INTO GL_transaction_table (company, fkey, lineno, doctype, docno, gldate,"
                                        " period, fyear, accno, amount, base_amount, currency, ledgertype, vendor_no,"
                                        " Source, source_docno) SELECT 1, 'bulk-gl-' || ((i - 1) / %1 + 1), (i - 1) % %1 + 1,"
                                        " 'gl', 'BULK-GL-' || ((i - 1) / %1 + 1), '2025-06-01', 6, '2025',"
                                        " CASE i % 2 WHEN 0 THEN '2000' ELSE '2050' END,"
                                        " CASE i % 2 WHEN 0 THEN -10 ELSE 10 END, CASE i % 2 WHEN 0 THEN -10 ELSE 10 END,"
                                        " 'USD', 'A', 'V100', 'PO-BILL', 'BULK-VI-' || ((i - 1) / %1 + 1) FROM n")
                             .arg(lines_per_entry)),
            "adding journal lines");
    // Only the tables filled here: a VACUUM of the whole database also takes the server's shared
    // catalogues, which other databases of the server may hold locked meanwhile.
    if (db.engine() == Engine::Postgres)
        require(db.execute_script(QStringLiteral("VACUUM ANALYZE PO_invoice_header_table, PO_invoice_transaction_table,"
                                                 " AP_header_table, AP_transaction_table, GL_header_table,"
                                                 " GL_transaction_table")),
                "gathering statistics");
}

RowsWritten rows_written(Database& db, const std::function<void()>& operation)
{
    auto tables = db.select(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    require(tables, "listing the tables");
    auto rows = [&] {
        qint64 total = 0;
        for (const Row& table : *tables) {
            auto count = db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table.text(u"name"));
            require(count, "counting rows");
            total += count->toLongLong();
        }
        return total;
    };
    auto changes = [&] {
        auto count = db.scalar(QStringLiteral("SELECT total_changes()"));
        require(count, "counting changes");
        return count->toLongLong();
    };
    const qint64 rows_before = rows();
    const qint64 changes_before = changes();
    operation();
    const int inserted = int(rows() - rows_before);
    return {inserted, int(changes() - changes_before) - inserted};
}

void raw_floor_setup(Database& db)
{
    (void)db.execute_script(QStringLiteral(
        "CREATE TABLE floor_lines (doc BIGINT, line INTEGER, account TEXT, amount NUMERIC(18,2));\n"
        "CREATE TABLE floor_totals (account TEXT PRIMARY KEY, amount NUMERIC(18,2));\n"
        "INSERT INTO floor_totals VALUES ('A', 0);\nINSERT INTO floor_totals VALUES ('B', 0);\n"
        "INSERT INTO floor_totals VALUES ('C', 0);\n"));
}

void raw_floor_save(Database& db, int inserts, int updates, long long serial)
{
    Transaction tx(db);
    for (int i = 0; i < inserts; ++i)
        (void)db.execute(QStringLiteral("INSERT INTO floor_lines (doc, line, account, amount) VALUES (?, ?, ?, ?)"),
                         {serial, i, QStringLiteral("A"), Decimal("12.34")});
    static const char* const accounts[] = {"A", "B", "C"};
    for (int i = 0; i < updates; ++i)
        (void)db.execute(QStringLiteral("UPDATE floor_totals SET amount = amount + ? WHERE account = ?"),
                         {Decimal("12.34"), accounts[i % 3]});
    (void)tx.commit();
}

void raw_floor_benchmark(benchmark::State& state, Engine engine, int inserts, int updates)
{
    BenchDatabase b(engine);
    if (!b.ok()) {
        state.SkipWithError("database not available (set ZELKOR_BENCH_PG for PostgreSQL)");
        return;
    }
    raw_floor_setup(b.db());
    long long serial = 0;
    for (auto _ : state)
        raw_floor_save(b.db(), inserts, updates, ++serial);
}

DocumentVersion shown_version(Database& db, const QString& header_table, const DocumentNumber& document)
{
    auto version = db.scalar(QStringLiteral("SELECT row_version FROM ") + header_table + QStringLiteral(" WHERE fkey = ?"),
                             {document.fkey});
    require(version, "version");
    return {header_table, document.fkey, document.docno, version->toLongLong()};
}

} // namespace zelkor::bench
