// Fills a company with purchasing cycles, through the same saves as the cycle benchmark: a
// requisition, its order, the receipt, the bill paid by check and a landed bill of freight, each
// in a transaction of its own. The company a benchmark measures as "crowded" is made by it once
// and kept outside the repository:
//   cycle_company_generator --db /tmp/zelkor-100k-cycles.db --init --cycles 100000
// --init makes a new company of the test fixture's masters, its opening stock put into the ledger;
// without it the cycles are added to an existing company.
#include "bench/cycle/cycle_documents.h"

#include "core/clock.h"
#include "ledger/ledger_posting.h"
#include "schema/schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

using namespace zelkor;

/// Puts the fixture's opening stock into the ledger (inventory against owner's capital), so that
/// the new company starts with its inventory account holding the value of its stock.
bool post_opening_stock(Database& db)
{
    auto value = db.scalar(QStringLiteral("SELECT SUM(Value) FROM Item_onhand_table"));
    if (!value)
        return false;
    const Decimal stock = Row::to_decimal(*value);
    LedgerEntry entry;
    entry.add(QStringLiteral("1300"), stock, stock, QStringLiteral("USD"));
    entry.add(QStringLiteral("3000"), stock, stock, QStringLiteral("USD"));
    JournalDocument opening;
    opening.description = QStringLiteral("Opening stock");
    opening.source = QStringLiteral("GL");
    opening.date = QDate(2026, 1, 1);
    opening.user = QStringLiteral("ADMIN");
    Transaction tx(db);
    return post_entry(db, opening, entry) && tx.commit();
}

/// Opens the company, made empty with the fixture's masters when asked.
std::unique_ptr<Database> company(const QString& where, bool init)
{
    const auto described = ConnectionDescription::parse(where);
    if (!described) {
        std::fprintf(stderr, "not a database: %s\n", qPrintable(where));
        return nullptr;
    }
    auto db = Database::open(*described);
    if (!db) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(where), qPrintable(db.error().detail));
        return nullptr;
    }
    if (init && (!schema::create_tables(**db) || !schema::load_fixture(**db) || !post_opening_stock(**db))) {
        std::fprintf(stderr, "cannot create the company's tables in %s\n", qPrintable(where));
        return nullptr;
    }
    // A generated company needs no protection from a power cut while it is made: each commit
    // leaves its pages to the operating system instead of waiting for the disk.
    if ((*db)->engine() == Engine::Sqlite && !(*db)->execute_script(QStringLiteral("PRAGMA synchronous = OFF"))) {
        std::fprintf(stderr, "cannot set up %s\n", qPrintable(where));
        return nullptr;
    }
    return std::move(*db);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Fills a company with purchasing cycles."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("db"), QStringLiteral("SQLite file or postgresql:// URI."), QStringLiteral("PATH_OR_URI")});
    parser.addOption({QStringLiteral("cycles"), QStringLiteral("Cycles to add (1,000)."), QStringLiteral("N"), QStringLiteral("1000")});
    parser.addOption({QStringLiteral("lines"), QStringLiteral("Lines of each document (5: every item of the fixture)."),
                      QStringLiteral("N"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("init"), QStringLiteral("Create the tables and the fixture's masters first.")});
    parser.process(app);
    const long long cycles = parser.value(QStringLiteral("cycles")).toLongLong();
    const int lines = parser.value(QStringLiteral("lines")).toInt();
    if (!parser.isSet(QStringLiteral("db")) || cycles <= 0 || lines <= 0) {
        std::fprintf(stderr, "usage: cycle_company_generator --db PATH_OR_URI [--init] [--cycles N] [--lines N]\n");
        return 2;
    }
    std::unique_ptr<Database> db = company(parser.value(QStringLiteral("db")), parser.isSet(QStringLiteral("init")));
    if (!db)
        return 2;
    FixedClock clock(QDate(2026, 3, 15), QTime(8, 0, 0));
    bench::PurchasingCycle cycle(*db, lines);
    QElapsedTimer elapsed;
    elapsed.start();
    for (long long done = 1; done <= cycles; ++done) {
        cycle.run();
        if (done % 1000 == 0 || done == cycles)
            std::printf("%lld cycles in %.1f s (%.0f cycles/s)\n", done, double(elapsed.elapsed()) / 1000.0,
                        double(done) * 1000.0 / double(std::max<qint64>(1, elapsed.elapsed())));
        std::fflush(stdout);
    }
    return 0;
}
