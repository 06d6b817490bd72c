// Creates a company database: the suite's tables, and optionally the demo company.
//   zelkor_create_db [--demo] [--year YYYY] PATH_OR_POSTGRESQL_URI
#include "schema/schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkor_create_db"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELKOR_VERSION));
    QTextStream err(stderr);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Creates the tables of a company database, and with --demo the demo company."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo_option(QStringLiteral("demo"), QStringLiteral("Load the demo company."));
    const QCommandLineOption year_option(QStringLiteral("year"), QStringLiteral("The demo company's current year."),
                                         QStringLiteral("YYYY"), QString::number(QDate::currentDate().year()));
    parser.addOptions({demo_option, year_option});
    parser.addPositionalArgument(QStringLiteral("database"), QStringLiteral("A SQLite file path or a postgresql:// URI."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    const bool demo = parser.isSet(demo_option);
    bool year_ok = false;
    const int year = parser.value(year_option).toInt(&year_ok);
    if (args.size() != 1 || !year_ok) {
        err << parser.helpText();
        return 2;
    }
    const auto where = zelkor::ConnectionDescription::parse(args.first());
    if (!where) {
        err << "not a database path or postgresql:// URI: " << args.first() << '\n';
        return 2;
    }
    if (const auto warning = zelkor::password_warning(*where))
        err << *warning << Qt::endl;
    auto db = zelkor::Database::open(*where);
    if (!db) {
        err << "cannot open " << where->display() << ": " << db.error().detail << '\n';
        return 1;
    }
    if (auto exists = zelkor::schema::has_tables(**db); exists && *exists) {
        err << where->display() << " already holds a company database\n";
        return 1;
    }
    if (auto created = zelkor::schema::create_tables(**db); !created) {
        err << "creating the tables failed: " << created.error().detail << '\n';
        return 1;
    }
    if (demo) {
        if (auto loaded = zelkor::schema::load_demo(**db, year); !loaded) {
            err << "loading the demo company failed: " << loaded.error().detail << '\n';
            return 1;
        }
    }
    QTextStream(stdout) << "created " << where->display() << (demo ? " with the demo company" : "") << '\n';
    return 0;
}
