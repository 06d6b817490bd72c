// Checks a company database against every rule its data keeps, without writing anything.
//   zelkor_po_check --db PATH_OR_URI [--fix-nothing] [--json]
// Exit status: 0 when every check passed, 1 when one failed, 2 when the database cannot be read.
#include "check/company_checks.h"
#include "check/data_check.h"
#include "schema/schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr int Consistent = 0;
constexpr int Inconsistent = 1;
constexpr int CannotCheck = 2;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkor_po_check"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELKOR_VERSION));
    QTextStream err(stderr);
    QTextStream out(stdout);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Checks a company database against every rule of its data and names what breaks them. "
                       "It only reads: it opens the database read-only and fixes nothing."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption db_option(QStringLiteral("db"), QStringLiteral("A SQLite file path or a postgresql:// URI."),
                                       QStringLiteral("PATH_OR_URI"));
    const QCommandLineOption fix_nothing_option(QStringLiteral("fix-nothing"),
                                                QStringLiteral("Only report (the one thing the check ever does)."));
    const QCommandLineOption json_option(QStringLiteral("json"), QStringLiteral("Write the report as JSON."));
    parser.addOptions({db_option, fix_nothing_option, json_option});
    parser.process(app);
    if (!parser.isSet(db_option) || !parser.positionalArguments().isEmpty()) {
        err << parser.helpText();
        return CannotCheck;
    }
    auto where = zelkor::ConnectionDescription::parse(parser.value(db_option));
    if (!where) {
        err << "not a database path or postgresql:// URI: " << parser.value(db_option) << '\n';
        return CannotCheck;
    }
    if (const auto warning = zelkor::password_warning(*where))
        err << *warning << Qt::endl;
    where->access = zelkor::ConnectionDescription::Access::ReadOnly;
    auto db = zelkor::Database::open(*where);
    if (!db) {
        err << "cannot open " << where->display() << ": " << db.error().detail << '\n';
        return CannotCheck;
    }
    auto company = zelkor::schema::has_tables(**db);
    if (!company || !*company) {
        err << where->display() << " holds no company database"
            << (company ? QString() : QStringLiteral(" (") + company.error().detail + u')') << '\n';
        return CannotCheck;
    }
    auto check = zelkor::run_data_check(**db, zelkor::company_invariant_checks());
    if (!check) {
        err << "cannot read " << where->display() << ": " << check.error().detail << '\n';
        return CannotCheck;
    }
    if (parser.isSet(json_option))
        out << QString::fromUtf8(zelkor::data_check_json(*check));
    else
        out << zelkor::data_check_text(*check);
    return check->consistent() ? Consistent : Inconsistent;
}
