// Runs a window script against a company database through the purchasing windows, headless.
//   zelkor_po_script --db PATH_OR_URI [--init] [--demo] [--user ID] [--date-format FMT]
//                    [--today yyyy-mm-dd] SCRIPT
#include "schema/schema.h"
#include "script/script_runner.h"
#include "script/session.h"
#include "services/clock.h"
#include "services/database.h"

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

std::optional<Arguments> parse_arguments(QStringList args, QTextStream& err)
{
    Arguments parsed;
    auto value_of = [&](const QString& option) -> std::optional<QString> {
        const qsizetype at = args.indexOf(option);
        if (at < 0 || at + 1 >= args.size())
            return std::nullopt;
        const QString value = args.at(at + 1);
        args.remove(at, 2);
        return value;
    };
    parsed.init = args.removeAll(QStringLiteral("--init")) > 0;
    parsed.demo = args.removeAll(QStringLiteral("--demo")) > 0;
    parsed.db = value_of(QStringLiteral("--db")).value_or(QString());
    if (auto user = value_of(QStringLiteral("--user")))
        parsed.session.user = *user;
    if (auto format = value_of(QStringLiteral("--date-format")))
        parsed.session.date_format = *format;
    if (auto today = value_of(QStringLiteral("--today"))) {
        parsed.today = QDate::fromString(*today, Qt::ISODate);
        if (!parsed.today.isValid()) {
            err << "--today wants yyyy-mm-dd, not " << *today << '\n';
            return std::nullopt;
        }
    }
    if (parsed.db.isEmpty() || args.size() != 1 || args.first().startsWith(u"--")) {
        err << "usage: zelkor_po_script --db PATH_OR_URI [--init] [--demo] [--user ID] [--date-format FMT]"
               " [--today yyyy-mm-dd] SCRIPT\n";
        return std::nullopt;
    }
    parsed.script = args.first();
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
    QTextStream err(stderr);
    QTextStream out(stdout);
    auto arguments = parse_arguments(app.arguments().mid(1), err);
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
    arguments->session.data_path = zelkor::script::default_data_path(*where);
    auto db = zelkor::Database::open(*where);
    if (!db) {
        err << "cannot open " << where->display() << ": " << db.error().detail << '\n';
        return ScriptError;
    }
    if (!prepare_database(**db, *arguments, err))
        return ScriptError;

    zelkor::ScriptedPrompter prompter;
    zelkor::POclass facade;
    facade.set_prompter(&prompter);
    zelkor::script::configure_facade(facade, **db, arguments->session);
    zelkor::script::ScriptRunner runner(**db, facade, prompter, out);
    const auto outcome = runner.run(script);
    facade.class_terminate();
    return static_cast<int>(outcome);
}
