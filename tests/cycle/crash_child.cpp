// The child of the crash test: saves large documents of one kind in a loop until it is killed.
//   cycle_crash_child --db PATH_OR_URI --document KIND --first-day N
// Before each save it writes "saving N", after it "saved N", each on its own line.
#include "large_documents.h"
#include "program.h"

#include "core/clock.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption db_option(QStringLiteral("db"), QStringLiteral("The company."), QStringLiteral("PATH_OR_URI"));
    const QCommandLineOption kind_option(QStringLiteral("document"), QStringLiteral("What to save."), QStringLiteral("KIND"));
    const QCommandLineOption day_option(QStringLiteral("first-day"), QStringLiteral("The day of 2026 of the first save."),
                                        QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({db_option, kind_option, day_option});
    parser.process(app);
    const std::unique_ptr<zelkor::Database> db = zelkor::cycle::open_company(parser.value(db_option));
    if (!db)
        return 2;
    for (const zelkor::cycle::LargeDocument& kind : zelkor::cycle::large_documents()) {
        if (kind.name != parser.value(kind_option))
            continue;
        // A day per save, each from six in the morning: the layers of a day take a second each.
        for (int save = parser.value(day_option).toInt();; ++save) {
            const QDate day = QDate(2026, 1, 1).addDays(save % 360);
            zelkor::Clock::fix(day, QTime(6, 0));
            std::cout << "saving " << save << std::endl;
            try {
                kind.save(*db, day);
            } catch (const std::exception& error) {
                std::cerr << error.what() << std::endl;
                return 1;
            }
            std::cout << "saved " << save << std::endl;
        }
    }
    std::cerr << "no such document: " << parser.value(kind_option).toStdString() << std::endl;
    return 2;
}
