// The demo host of the purchasing module:
//   zelkor_po_host [--db PATH_OR_URI] [--user ID] [--date-format FMT] [--open WINDOW_CLASS ...]
#include "core/db/database.h"
#include "host/host_session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

#include <cstdio>

namespace {

QString default_database()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("company.db"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkor Purchasing"));
    QApplication::setOrganizationName(QStringLiteral("Zelkor"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The purchasing module of the Zelkor accounting suite."));
    parser.addHelpOption();
    const QCommandLineOption database({"db", "database"}, "Company database: a SQLite file (created with the demo company when missing) or a postgresql:// URI.",
                                      "PATH_OR_URI", default_database());
    const QCommandLineOption user("user", "User id: on PostgreSQL the login role (another id is refused), on SQLite ADMIN unless given.",
                                  "ID");
    const QCommandLineOption date_format("date-format", "Date format of the user, e.g. dd/mm/yyyy.", "FMT",
                                         QStringLiteral("dd/mm/yyyy"));
    const QCommandLineOption open("open", "Open a window (its class name, e.g. POform_po) at start; may repeat.", "CLASS");
    parser.addOptions({database, user, date_format, open});
    parser.process(app);

    zelkor::host::HostOptions options;
    options.database = parser.value(database);
    if (const auto where = zelkor::ConnectionDescription::parse(options.database))
        if (const auto warning = zelkor::password_warning(*where))
            std::fprintf(stderr, "%s\n", qPrintable(*warning));
    options.user = parser.value(user);
    options.date_format = parser.value(date_format);
    auto session = zelkor::host::HostSession::start(options);
    if (!session) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QStringLiteral("The company database could not be opened.\n%1\n%2")
                                  .arg(session.error().message, session.error().detail));
        return 1;
    }
    (*session)->window().show();
    for (const QString& name : parser.values(open))
        if (!(*session)->open_window(name))
            (*session)->window().log(QStringLiteral("No window called %1").arg(name));
    return app.exec();
}
