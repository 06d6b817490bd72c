// A clerk on a workstation of its own, in a company other clerks work in at the same time.
//   cycle_walker --db PATH_OR_URI --seed N --steps N
// Writes the walk's summary and "saves N" on its last line; exits with 1 and the walk's report
// when a step failed without saying why (a lock or another user's change explains a refusal).
#include "company.h"
#include "program.h"
#include "walk.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <iostream>

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
    const std::unique_ptr<zelkor::Database> db = zelkor::cycle::open_company(parser.value(db_option));
    if (!db)
        return 2;
    auto catalogue = zelkor::cycle::read_catalogue(*db);
    if (!catalogue) {
        std::cerr << catalogue.error().detail.toStdString() << std::endl;
        return 2;
    }
    QLoggingCategory::setFilterRules(QStringLiteral("zelkor.*.warning=false\ndefault.warning=false"));
    zelkor::cycle::WalkSettings settings;
    settings.seed = parser.value(seed_option).toULongLong();
    settings.steps = parser.value(steps_option).toInt();
    settings.company = zelkor::cycle::Company::Shared;
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
    std::cout << "saves " << saves << std::endl;
    return broken ? 1 : 0;
}
