// Creates a company database: the suite's tables, and optionally the demo company.
//   zelkor_create_db [--demo] [--year YYYY] PATH_OR_POSTGRESQL_URI
#include "schema/schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    int year = QDate::currentDate().year();
    if (const qsizetype at = args.indexOf(QStringLiteral("--year")); at >= 0 && at + 1 < args.size()) {
        year = args.at(at + 1).toInt();
        args.remove(at, 2);
    }
    if (args.size() != 1) {
        err << "usage: zelkor_create_db [--demo] [--year YYYY] PATH_OR_POSTGRESQL_URI\n";
        return 2;
    }
    const auto where = zelkor::ConnectionDescription::parse(args.first());
    if (!where) {
        err << "not a database path or postgresql:// URI: " << args.first() << '\n';
        return 2;
    }
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
