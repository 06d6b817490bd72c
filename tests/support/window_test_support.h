#pragma once
// What the window tests share: the host settings a window opens with, a record of its
// notifications, and screenshots for a look by eye (with ZELKOR_SCREENSHOT_DIR set).

#include "core/clock.h"
#include "tests/support/test_database.h"
#include "windows/base/window_model.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zelkor::testing {

inline HostSettings window_settings(Database& db, const QString& user, const QString& data_path)
{
    HostSettings settings;
    settings.cnx = settings.dbe = settings.abcdb = &db;
    settings.BASE_CURRENCY = QStringLiteral("USD");
    settings.ZELKOR_USER = user;
    settings.ZELKOR_PATH = data_path;
    settings.ZELKOR_DATE_FORMAT = QStringLiteral("dd/mm/yyyy");
    settings.ZELKOR_NO_PERIODS = QStringLiteral("12");
    return settings;
}

struct WindowNotification {
    QString formx;
    QString docnox;
    QString arg2;
};

/// What a window test runs with: a fresh fixture company, a fixed clock (March 16, 2026,
/// 9:30), a folder for the reports, a scripted prompter and the window's notifications.
struct WindowTestBench {
    FixedClock clock{QDate(2026, 3, 16), QTime(9, 30, 0)};
    TestDatabase t;
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    std::vector<WindowNotification> notifications;
};

/// The rows of a grid that hold anything, one "a|b|c" text per row of the given columns: what
/// a scenario compares.
inline QStringList grid_rows(const Grid& grid, const QStringList& columns)
{
    QStringList shown;
    for (int row = 0; row < grid.row_count(); ++row) {
        if (grid.row_empty(row))
            continue;
        QStringList cells;
        for (const QString& column : columns)
            cells << grid.cell(row, column);
        shown << cells.join(u'|');
    }
    return shown;
}

/// Runs a document window's address command twice: its pane opens with the ship-to and vendor
/// addresses holding the texts given, then closes.
inline void expect_address_pane(WindowModel& window, int command, const QString& ship_to, const QString& vendor)
{
    const QString pane = QStringLiteral("address");
    ASSERT_TRUE(window.execute(command));
    EXPECT_TRUE(window.find_pane(pane)->visible);
    for (const auto& [name, text] : {std::pair{"ship_to_address", ship_to}, std::pair{"vendor_address", vendor}})
        EXPECT_TRUE(window.field(QString::fromLatin1(name)).contains(text))
            << name << ": " << window.field(QString::fromLatin1(name)).toStdString();
    ASSERT_TRUE(window.execute(command));
    EXPECT_FALSE(window.find_pane(pane)->visible);
}

inline void record_notifications(WindowModel& window, std::vector<WindowNotification>& into)
{
    QObject::connect(&window, &WindowModel::NotifyClients,
                     [&into](const QString& formx, const QString& docnox, const QString& arg2) {
                         into.push_back({formx, docnox, arg2});
                     });
}

/// The text of a PDF file as pdftotext reads it; empty when the tool is missing.
inline QString pdf_text(const QString& path)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return {};
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline void save_screenshot(QWidget& widget, const QString& name)
{
    QApplication::processEvents();
    if (const QString folder = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR"); !folder.isEmpty())
        widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace zelkor::testing
