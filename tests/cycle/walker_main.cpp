// A clerk on a workstation of its own, in a company other clerks work in at the same time.
//   cycle_walker --db PATH_OR_URI --seed N --steps N
// Writes the walk's summary, then "retries N" (saves run again after meeting another clerk's
// locks) and "saves N" on its last lines; exits with 1 and the walk's report
// when a step failed without saying why (a lock or another user's change explains a refusal).
#include "company.h"
#include "program.h"
#include "walk.h"

#include "core/db/lock_order.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <atomic>
#include <string_view>
#include <iostream>

namespace {

std::atomic<int> retries{0};
QtMessageHandler passed_on = nullptr;

/// Counts the saves' retries, which log themselves, and passes every other message on.
void count_retries(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (context.category && std::string_view(context.category) == "zelkor.retries")
        ++retries;
    else if (passed_on)
        passed_on(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption db_option(QStringLiteral("db"), QStringLiteral("The company."), QStringLiteral("PATH_OR_URI"));
    const QCommandLineOption seed_option(QStringLiteral("seed"), QStringLiteral("The walk's seed."), QStringLiteral("N"));
    const QCommandLineOption steps_option(QStringLiteral("steps"), QStringLiteral("The walk's steps."), QStringLiteral("N"));
    parser.addOptions({db_option, seed_option, steps_option});
    parser.process(app);
    if (const auto where = zelkor::ConnectionDescription::parse(parser.value(db_option)))
        if (const auto warning = zelkor::password_warning(*where))
            std::cerr << warning->toStdString() << std::endl;
    const std::unique_ptr<zelkor::Database> db = zelkor::cycle::open_company(parser.value(db_option));
    if (!db)
        return 2;
    auto catalogue = zelkor::cycle::read_catalogue(*db);
    if (!catalogue) {
        std::cerr << catalogue.error().detail.toStdString() << std::endl;
        return 2;
    }
    QLoggingCategory::setFilterRules(QStringLiteral("zelkor.*.warning=false\ndefault.warning=false"));
    passed_on = qInstallMessageHandler(count_retries);
    // With ZELKOR_LOCK_ORDER set, each lock taken out of the one order is written to stderr, before
    // the trace line of its step (ZELKOR_CYCLE_TRACE).
    if (qEnvironmentVariableIsSet("ZELKOR_LOCK_ORDER"))
        zelkor::LockOrderRecorder::set_handler([](const QString& violation) { std::cerr << violation.toStdString() << '\n'; });
    zelkor::cycle::WalkSettings settings;
    settings.seed = parser.value(seed_option).toULongLong();
    settings.steps = parser.value(steps_option).toInt();
    settings.company = zelkor::cycle::Company::Shared;
    settings.trace = qEnvironmentVariableIsSet("ZELKOR_CYCLE_TRACE");
    std::optional<QString> broken;
    int saves = 0;
    {
        zelkor::cycle::Walk walk(*db, *catalogue, settings);
        broken = walk.run();
        saves = walk.counts().saves;
        std::cout << walk.summary().toStdString() << std::endl;
    }
    if (broken)
        std::cout << broken->toStdString() << std::endl;
    std::cout << "retries " << retries.load() << std::endl;
    std::cout << "saves " << saves << std::endl;
    return broken ? 1 : 0;
}
