// Looks after a company's clerks: who may log in and what each may do in each window.
//   zelkor_po_admin --db PATH_OR_URI clerk add ID [--name NAME] [--right WINDOW=update,print,design ...]
//   zelkor_po_admin --db PATH_OR_URI clerk rights ID [--right WINDOW=... ...]
//   zelkor_po_admin --db PATH_OR_URI clerk disable ID
//   zelkor_po_admin --db PATH_OR_URI clerk list
// Exit status: 0 when done, 1 when the company refused the change, 2 for a wrong command line or
// a database that cannot be opened.
#include "admin/clerks.h"

#include "core/rights.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

using namespace zelkor;

constexpr int Done = 0;
constexpr int Refused = 1;
constexpr int CannotRun = 2;

QString description()
{
    QStringList windows;
    for (const char* window : windows_with_rights)
        windows << QString::fromLatin1(window);
    return QStringLiteral(
               "Looks after the clerks of a company.\n\n"
               "  clerk add ID       adds a clerk with the rights given by --right; on PostgreSQL it makes the\n"
               "                     clerk's login role (set its password with psql's \\password ID)\n"
               "  clerk rights ID    replaces the clerk's rights with those given by --right\n"
               "  clerk disable ID   the clerk may no longer log in to the company; its rows stay\n"
               "  clerk list         every clerk, its rights and, on PostgreSQL, its roles\n\n"
               "On PostgreSQL the rights are held by the database itself: each right that writes is a role the\n"
               "clerk's login joins, changed in the same transaction as the rights.\n\n"
               "Windows: %1")
        .arg(windows.join(QStringLiteral(", ")));
}

void print_clerks(QTextStream& out, const std::vector<admin::Clerk>& clerks)
{
    for (const admin::Clerk& clerk : clerks) {
        out << clerk.userid << (clerk.name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(clerk.name))
            << (clerk.active ? QString() : QStringLiteral(" disabled")) << '\n';
        for (const admin::WindowRights& rights : clerk.rights)
            out << "  " << rights.text() << '\n';
        if (!clerk.roles.isEmpty())
            out << "  roles: " << clerk.roles.join(QStringLiteral(", ")) << '\n';
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkor_po_admin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELKOR_VERSION));
    QTextStream err(stderr);
    QTextStream out(stdout);
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption db_option(QStringLiteral("db"), QStringLiteral("A SQLite file path or a postgresql:// URI."),
                                       QStringLiteral("PATH_OR_URI"));
    const QCommandLineOption name_option(QStringLiteral("name"), QStringLiteral("The clerk's name (clerk add)."),
                                         QStringLiteral("NAME"));
    const QCommandLineOption right_option(QStringLiteral("right"),
                                          QStringLiteral("Rights in one window, e.g. POform_pr=update,print; may repeat."),
                                          QStringLiteral("WINDOW=RIGHTS"));
    parser.addOptions({db_option, name_option, right_option});
    parser.addPositionalArgument(QStringLiteral("clerk"), QStringLiteral("clerk add|rights|disable|list [ID]"));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    const QString action = args.value(1);
    const bool with_id = action == u"add" || action == u"rights" || action == u"disable";
    if (!parser.isSet(db_option) || args.value(0) != u"clerk" || args.size() != (with_id ? 3 : 2)
        || !(with_id || action == u"list")) {
        err << parser.helpText();
        return CannotRun;
    }
    std::vector<admin::WindowRights> rights;
    for (const QString& text : parser.values(right_option)) {
        auto parsed = admin::WindowRights::parse(text);
        if (!parsed) {
            err << parsed.error() << '\n';
            return CannotRun;
        }
        rights.push_back(*parsed);
    }
    const auto where = ConnectionDescription::parse(parser.value(db_option));
    if (!where) {
        err << "not a database path or postgresql:// URI: " << parser.value(db_option) << '\n';
        return CannotRun;
    }
    if (const auto warning = password_warning(*where))
        err << *warning << '\n';
    auto db = Database::open(*where);
    if (!db) {
        err << "cannot open " << where->display() << ": " << db.error().detail << '\n';
        return CannotRun;
    }
    const QString userid = args.value(2);
    std::expected<void, Error> done;
    if (action == u"list") {
        auto clerks = admin::list_clerks(**db);
        if (clerks)
            print_clerks(out, *clerks);
        else
            done = std::unexpected(clerks.error());
    } else if (action == u"add") {
        done = admin::add_clerk(**db, {userid, parser.value(name_option), true, rights, {}});
    } else if (action == u"rights") {
        done = admin::set_clerk_rights(**db, userid, rights);
    } else {
        done = admin::disable_clerk(**db, userid);
    }
    if (!done) {
        err << done.error().message << (done.error().detail.isEmpty() ? QString() : QStringLiteral(": ") + done.error().detail) << '\n';
        return done.error().kind == Error::Kind::Database ? CannotRun : Refused;
    }
    if (action != u"list")
        out << "clerk " << userid << ": " << (action == u"disable" ? QStringLiteral("disabled") : QStringLiteral("saved")) << '\n';
    return Done;
}
