// Tools > Check Company Data in the demo host: the report of every check opens as a child
// window, and a broken rule shows there with the row that breaks it.
#include "host/host_session.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelkor::host {
namespace {

QString run_data_check_from_menu(HostSession& session)
{
    for (QAction* top : session.window().menuBar()->actions())
        if (top->menu() && top->text() == QStringLiteral("Too&ls"))
            for (QAction* item : top->menu()->actions())
                if (item->text() == QStringLiteral("&Check Company Data")) {
                    item->trigger();
                    QApplication::processEvents();
                    QMdiSubWindow* shown = session.window().work_area()->activeSubWindow();
                    if (!shown || shown->windowTitle() != QStringLiteral("Check Company Data"))
                        return QStringLiteral("no report window");
                    auto* report = qobject_cast<QPlainTextEdit*>(shown->widget());
                    return report && report->isReadOnly() ? report->toPlainText() : QStringLiteral("no read-only report");
                }
    return QStringLiteral("no menu item");
}

TEST(HostDataCheck, ToolsMenuShowsTheReportOfEveryCheck)
{
    QTemporaryDir folder;
    HostOptions options;
    options.database = folder.filePath(QStringLiteral("company.db"));
    auto session = HostSession::start(options);
    ASSERT_TRUE(session.has_value()) << session.error().detail.toStdString();
    (*session)->window().show();

    const QString clean = run_data_check_from_menu(**session);
    EXPECT_TRUE(clean.endsWith("checks passed: the company's data is consistent.\n")) << clean.toStdString();
    EXPECT_TRUE((*session)->window().log_text().contains("Data check: the company's data is consistent"));

    ASSERT_TRUE((*session)->database().execute("UPDATE Item_onhand_table SET quantity = 239 WHERE itemcode = 'WIDGET-A'"));
    const QString broken = run_data_check_from_menu(**session);
    EXPECT_TRUE(broken.contains("  FAIL   on-hand stock matches its layers: 1 problem\n"
                                "           item WIDGET-A in warehouse MAIN has 239 worth 612.00 on hand, its layers 240 "
                                "worth 612.00\n"))
        << broken.toStdString();
    EXPECT_TRUE((*session)->window().log_text().contains("Data check: problems found, see the report"));
}

} // namespace
} // namespace zelkor::host
