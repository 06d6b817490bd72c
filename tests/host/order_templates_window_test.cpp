// Order templates and reorder suggestions as a clerk sees them in the demo host: the template
// drop-down offers a template kept from an order, the window's title follows the template's
// mode, and the short bolts fill the grid. With ZELKOR_SCREENSHOT_DIR set, the window is saved
// as order_templates.png and order_reorder.png for a look by eye.
#include "host/host_session.h"

#include "services/clock.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "ui/field_editor.h"
#include "ui/window_view.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelkor::host {
namespace {

void screenshot(HostSession& session, const char* name)
{
    if (const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR"); !shots.isEmpty()) {
        QApplication::processEvents();
        session.window().grab().save(QDir(shots).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
    }
}

TEST(DemoHostOrderTemplates, OffersKeptTemplatesFollowsTheirModeAndShowsProposals)
{
    QTemporaryDir folder;
    HostOptions options;
    options.database = folder.filePath(QStringLiteral("company.db"));
    auto started = HostSession::start(options);
    ASSERT_TRUE(started.has_value()) << started.error().detail.toStdString();
    HostSession& session = **started;
    session.window().resize(1280, 800);
    session.window().show();

    const QString order =
        testing::saved_order(session.database(), {"V1001", {{"WIDGET-A", "10", "box", "2.60"}}, Clock::today()}).docno;
    session.router().handle(QStringLiteral("Purchase Order"), order, QString());
    POform_po* window = session.facade().frm_po();
    ASSERT_NE(window, nullptr);
    ScriptedPrompter answers;
    window->set_prompter(&answers); // in place of the message boxes and the name prompt
    QMdiSubWindow* child = session.window().work_area()->activeSubWindow();
    ASSERT_NE(child, nullptr);
    child->showMaximized();
    auto* view = qobject_cast<WindowView*>(child->widget());
    ASSERT_NE(view, nullptr);

    answers.answer_text(QStringLiteral("MONTHLY"));
    ASSERT_TRUE(window->execute(POform_po::Command::SaveAsTemplate)) << answers.last().toStdString();
    auto* chooser = qobject_cast<QComboBox*>(view->field_editor(QStringLiteral("template"))->control());
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isEnabled());
    EXPECT_GE(chooser->findText(QStringLiteral("MONTHLY")), 0);

    ASSERT_TRUE(window->execute(POform_po::Command::NewTemplate));
    QApplication::processEvents();
    EXPECT_EQ(view->windowTitle(), QStringLiteral("New Template"));
    screenshot(session, "order_templates");
    ASSERT_TRUE(window->execute(POform_po::Command::NewTemplate));
    QApplication::processEvents();
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Purchase Order"));

    ASSERT_TRUE(window->execute(CommandId::New));
    ASSERT_EQ(window->type_into(QStringLiteral("shipto"), QStringLiteral("MAIN")), Entry::Accepted);
    ASSERT_TRUE(window->execute(POform_po::Command::ReorderingStockItems)) << answers.last().toStdString();
    QApplication::processEvents();
    QTableView* lines = view->grid_view(QStringLiteral("dbgridpo"));
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->model()->rowCount(), 2);
    EXPECT_EQ(lines->model()->index(0, 1).data().toString(), QStringLiteral("BOLT-M8"));
    screenshot(session, "order_reorder");
}

} // namespace
} // namespace zelkor::host
