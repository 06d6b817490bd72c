// Many clerks on one company: 1, 2, 4, 8 and 16 clerk processes at once, each a walk of saves,
// edits and voids over the same items, vendors and documents (the cycle walker of the
// many-users test), on SQLite and, with ZELKOR_BENCH_PG set, on that PostgreSQL server.
//   bench/cycle/many_clerks [--clerks 1,2,4,8,16] [--steps 200] [--rounds 1] [--engines sqlite,pg]
// Prints, per engine and number of clerks: saves per second; the processors' use (the clerks'
// and the server's CPU time over the wall time, 2 cores being 200 %); the refusals by kind (a
// lock held through every retry, another user's change, any other reason); the saves run again
// after meeting another clerk's locks; and the deadlocks the PostgreSQL server detected.
#include "tests/cycle/company.h"
#include "tests/cycle/walkers.h"
#include "tests/support/test_database.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>

namespace zelkor::bench {
namespace {

/// CPU seconds, user and system.
double cpu_seconds(const timeval& user, const timeval& system)
{
    return double(user.tv_sec + system.tv_sec) + double(user.tv_usec + system.tv_usec) / 1e6;
}

/// The CPU time of this program's children that have ended: the clerks once they are waited for.
double children_cpu_seconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return cpu_seconds(usage.ru_utime, usage.ru_stime);
}

/// The PostgreSQL server on this machine, watched through its postmaster: the CPU time of the
/// postmaster and of its ended backends, and the deadlocks the server has detected.
class Server {
public:
    explicit Server(Database& db)
        : m_db(db)
    {
        auto folder = db.scalar(QStringLiteral("SHOW data_directory"));
        if (!folder)
            return;
        QFile pid_file(QDir(folder->toString()).filePath(QStringLiteral("postmaster.pid")));
        if (pid_file.open(QIODevice::ReadOnly))
            m_postmaster = QString::fromLatin1(pid_file.readLine()).trimmed().toLongLong();
    }
    /// The postmaster's CPU time with its reaped children's, when it runs on this machine.
    std::optional<double> cpu_seconds() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(m_postmaster));
        if (m_postmaster <= 0 || !stat.open(QIODevice::ReadOnly))
            return std::nullopt;
        // The fields after the command's closing parenthesis: utime, stime, cutime and cstime
        // are the 12th to the 15th of them.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 15)
            return std::nullopt;
        double ticks = 0;
        for (int field = 11; field <= 14; ++field)
            ticks += fields[field].toDouble();
        return ticks / double(sysconf(_SC_CLK_TCK));
    }
    /// The deadlocks the server has detected in all its databases.
    long long deadlocks() const
    {
        auto count = m_db.scalar(QStringLiteral("SELECT coalesce(sum(deadlocks), 0) FROM pg_stat_database"));
        return count ? count->toLongLong() : -1;
    }

private:
    Database& m_db;
    qint64 m_postmaster = 0;
};

struct Run {
    cycle::WalkerTotals outcome;
    double seconds = 0;
    double client_cpu = 0;
    std::optional<double> server_cpu;
    long long deadlocks = 0;
};

/// Walks `clerks` clerks of `steps` steps each at once over a fresh demo company.
std::optional<Run> run_clerks(const QString& walker, int clerks, int steps, int round)
{
    testing::TestDatabase company(testing::Contents::Demo);
    if (auto added = cycle::add_generated_masters(company.db()); !added) {
        std::fprintf(stderr, "the company's masters: %s\n", qPrintable(added.error().detail));
        return std::nullopt;
    }
    std::optional<Server> server;
    if (company.engine() == Engine::Postgres)
        server.emplace(company.db());
    Run run;
    const double client_before = children_cpu_seconds();
    const std::optional<double> server_before = server ? server->cpu_seconds() : std::nullopt;
    const long long deadlocks_before = server ? server->deadlocks() : 0;
    QElapsedTimer timer;
    timer.start();
    cycle::Walkers walkers(walker, company.location(), clerks, steps, quint64(4200 + 100 * round));
    run.outcome = walkers.wait();
    for (const QString& failure : run.outcome.failures)
        std::fprintf(stderr, "a clerk's walk failed:\n%s\n", qPrintable(failure));
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.client_cpu = children_cpu_seconds() - client_before;
    if (server) {
        // The backends of the clerks have ended; their figures reach the statistics and the
        // postmaster's accounts once it has reaped them.
        QThread::msleep(500);
        if (const auto after = server->cpu_seconds(); after && server_before)
            run.server_cpu = *after - *server_before;
        run.deadlocks = server->deadlocks() - deadlocks_before;
    }
    return run;
}

void print_header(const char* engine)
{
    std::printf("\n%s\n%6s %5s %8s %8s %8s %8s %9s %8s %8s %8s %8s %9s\n", engine, "clerks", "round", "saves", "seconds",
                "saves/s", "clerks%", "server%", "locked", "changed", "other", "retries", "deadlocks");
}

void print_run(int clerks, int round, const Run& run)
{
    const cycle::WalkerTotals& o = run.outcome;
    const QString server = run.server_cpu ? QString::number(100 * *run.server_cpu / run.seconds, 'f', 0) : QStringLiteral("-");
    std::printf("%6d %5d %8d %8.1f %8.1f %8.0f %9s %8d %8d %8d %8d %9lld%s\n", clerks, round + 1, o.saves, run.seconds,
                o.saves / run.seconds, 100 * run.client_cpu / run.seconds, qPrintable(server), o.refused_locked,
                o.refused_by_others - o.refused_locked, o.refused - o.refused_by_others, o.retries, run.deadlocks,
                o.failed ? "  (walks failed)" : "");
    std::fflush(stdout);
}

QList<int> numbers(const QString& list)
{
    QList<int> values;
    for (const QString& value : list.split(u',', Qt::SkipEmptyParts))
        values.append(value.toInt());
    return values;
}

} // namespace
} // namespace zelkor::bench

int main(int argc, char** argv)
{
    using namespace zelkor;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption clerks_option(QStringLiteral("clerks"), QStringLiteral("Numbers of clerks."), QStringLiteral("LIST"),
                                           QStringLiteral("1,2,4,8,16"));
    const QCommandLineOption steps_option(QStringLiteral("steps"), QStringLiteral("Steps per clerk."), QStringLiteral("N"),
                                          QStringLiteral("200"));
    const QCommandLineOption rounds_option(QStringLiteral("rounds"), QStringLiteral("Rounds of each."), QStringLiteral("N"),
                                           QStringLiteral("1"));
    const QCommandLineOption engines_option(QStringLiteral("engines"), QStringLiteral("sqlite, pg or both."),
                                            QStringLiteral("LIST"), QStringLiteral("sqlite,pg"));
    parser.addOptions({clerks_option, steps_option, rounds_option, engines_option});
    parser.process(app);
    const QString walker = QStringLiteral(ZELKOR_CYCLE_WALKER);
    const int steps = parser.value(steps_option).toInt();
    const int rounds = std::max(1, parser.value(rounds_option).toInt());
    int failed = 0;
    for (const QString& engine : parser.value(engines_option).split(u',', Qt::SkipEmptyParts)) {
        if (engine == u"pg") {
            if (qEnvironmentVariableIsEmpty("ZELKOR_BENCH_PG")) {
                std::printf("\npg: skipped, ZELKOR_BENCH_PG names no server\n");
                continue;
            }
            qputenv("ZELKOR_TEST_PG", qgetenv("ZELKOR_BENCH_PG"));
        }
        qputenv("ZELKOR_TEST_ENGINE", engine.toUtf8());
        bench::print_header(engine == u"pg" ? "PostgreSQL" : "SQLite");
        for (const int clerks : bench::numbers(parser.value(clerks_option)))
            for (int round = 0; round < rounds; ++round) {
                const auto run = bench::run_clerks(walker, clerks, steps, round);
                if (!run)
                    return 2;
                bench::print_run(clerks, round, *run);
                failed += run->outcome.failed;
            }
    }
    return failed ? 1 : 0;
}
