// Runs a window script against a company database through the purchasing windows, headless.
//   zelkor_po_script --db PATH_OR_URI [--init] [--demo] [--user ID] [--date-format FMT]
//                    [--today yyyy-mm-dd] SCRIPT
#include "core/clock.h"
#include "core/db/database.h"
#include "core/rights.h"
#include "schema/schema.h"
#include "script/script_runner.h"
#include "script/session.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QFile>
#include <QTextStream>

#include <optional>

namespace {

constexpr int ScriptError = 2;

struct Arguments {
    QString db;
    bool init = false;
    bool demo = false;
    zelkor::script::SessionOptions session;
    QDate today;
    QString script;
};

std::optional<Arguments> parse_arguments(const QCoreApplication& app, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs a window script against a company database, headless."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption db_option(QStringLiteral("db"), QStringLiteral("A SQLite file path or a postgresql:// URI."),
                                       QStringLiteral("PATH_OR_URI"));
    const QCommandLineOption init_option(QStringLiteral("init"), QStringLiteral("Create the tables of an empty company first."));
    const QCommandLineOption demo_option(QStringLiteral("demo"), QStringLiteral("Load the demo company."));
    const QCommandLineOption user_option(QStringLiteral("user"), QStringLiteral("The user the windows run as: on PostgreSQL the login, on SQLite ADMIN unless given."),
                                         QStringLiteral("ID"));
    const QCommandLineOption format_option(QStringLiteral("date-format"),
                                           QStringLiteral("The user's date format (dd/mm/yyyy)."), QStringLiteral("FMT"));
    const QCommandLineOption today_option(QStringLiteral("today"), QStringLiteral("The date the module takes as today."),
                                          QStringLiteral("yyyy-mm-dd"));
    parser.addOptions({db_option, init_option, demo_option, user_option, format_option, today_option});
    parser.addPositionalArgument(QStringLiteral("script"), QStringLiteral("The window script to run."));
    parser.process(app);

    Arguments parsed;
    parsed.init = parser.isSet(init_option);
    parsed.demo = parser.isSet(demo_option);
    parsed.db = parser.value(db_option);
    parsed.session.user = parser.value(user_option);
    if (parser.isSet(format_option))
        parsed.session.date_format = parser.value(format_option);
    if (parser.isSet(today_option)) {
        parsed.today = QDate::fromString(parser.value(today_option), Qt::ISODate);
        if (!parsed.today.isValid()) {
            err << "--today wants yyyy-mm-dd, not " << parser.value(today_option) << '\n';
            return std::nullopt;
        }
    }
    const QStringList scripts = parser.positionalArguments();
    if (parsed.db.isEmpty() || scripts.size() != 1) {
        err << parser.helpText();
        return std::nullopt;
    }
    parsed.script = scripts.first();
    parsed.session.location = parsed.db;
    return parsed;
}

bool prepare_database(zelkor::Database& db, const Arguments& arguments, QTextStream& err)
{
    if (arguments.init) {
        if (auto created = zelkor::schema::create_tables(db); !created) {
            err << "creating the tables failed: " << created.error().detail << '\n';
            return false;
        }
    }
    if (arguments.demo) {
        if (auto loaded = zelkor::schema::load_demo(db, zelkor::Clock::today().year()); !loaded) {
            err << "loading the demo company failed: " << loaded.error().detail << '\n';
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Report windows write their PDF files themselves, which takes a GUI application; a script
    // runs without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkor_po_script"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELKOR_VERSION));
    QTextStream err(stderr);
    QTextStream out(stdout);
    auto arguments = parse_arguments(app, err);
    if (!arguments)
        return ScriptError;
    if (arguments->today.isValid())
        zelkor::Clock::fix(arguments->today);

    QFile file(arguments->script);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "cannot read " << arguments->script << '\n';
        return ScriptError;
    }
    const QString script = QString::fromUtf8(file.readAll());

    const auto where = zelkor::ConnectionDescription::parse(arguments->db);
    if (!where) {
        err << "not a database path or postgresql:// URI: " << arguments->db << '\n';
        return ScriptError;
    }
    if (const auto warning = zelkor::password_warning(*where))
        err << *warning << Qt::endl;
    arguments->session.data_path = zelkor::script::default_data_path(*where);
    auto db = zelkor::Database::open(*where);
    if (!db) {
        err << "cannot open " << where->display() << ": " << db.error().detail << '\n';
        return ScriptError;
    }
    if (!prepare_database(**db, *arguments, err))
        return ScriptError;
    // On PostgreSQL the windows work for the login; a --user naming someone else is refused.
    auto user = zelkor::module_user(**db, arguments->session.user);
    if (!user) {
        err << user.error().message << '\n';
        return ScriptError;
    }
    arguments->session.user = *user;

    zelkor::ScriptedPrompter prompter;
    zelkor::POclass facade;
    facade.set_prompter(&prompter);
    zelkor::script::configure_facade(facade, **db, arguments->session);
    zelkor::script::ScriptRunner runner(**db, facade, prompter, out);
    const auto outcome = runner.run(script);
    facade.class_terminate();
    return static_cast<int>(outcome);
}
