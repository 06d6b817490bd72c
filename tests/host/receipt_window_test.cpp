// The receipt window as a clerk sees it in the demo host: an order received through "Receive",
// its lines picked and saved, the panes open, the header laid out without overlaps at 1280x800.
// With ZELKOR_SCREENSHOT_DIR set, the window is saved as receipt_window.png for a look by eye.
#include "host/host_session.h"

#include "document_window_support.h"

#include "core/clock.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "ui/window_view.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelkor::host {
namespace {

TEST(DemoHostReceipt, ReceivesAnOrderPickedLineByLineAndShowsItsPanes)
{
    QTemporaryDir folder;
    const auto started = started_host(folder);
    ASSERT_NE(started, nullptr);
    HostSession& session = *started;

    const QString order = testing::saved_order(session.database(), {"V1001",
                                                                     {{"WIDGET-A", "10", "box", "30"},
                                                                      {"PAINT-5L", "5", "box", "70"},
                                                                      {"WIRE-CU", "2", "roll", "100"}},
                                                                     Clock::today()})
                              .docno;
    NotificationRouter& router = session.router();
    router.handle(QStringLiteral("Purchase Order"), order, QString());
    ASSERT_EQ(router.handle(QStringLiteral("PO Receive Goods"), QString(), QString()),
              NotificationRouter::Handling::HandedOff);
    POform_receipt* receipt = session.facade().frm_receipt();
    ASSERT_NE(receipt, nullptr);
    ScriptedPrompter answers;
    receipt->set_prompter(&answers); // in place of the message boxes
    EXPECT_EQ(receipt->field("pono"), order);
    ASSERT_EQ(receipt->order_lines().row_count(), 3);
    for (int row = 0; row < 3; ++row)
        ASSERT_TRUE(receipt->activate_row(receipt->order_lines(), row));
    if (const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR"); !shots.isEmpty()) {
        session.window().work_area()->activeSubWindow()->showMaximized();
        QApplication::processEvents();
        session.window().grab().save(QDir(shots).filePath(QStringLiteral("receipt_picking.png")));
    }
    ASSERT_TRUE(receipt->execute(CommandId::Save)) << answers.messages().join(" | ").toStdString();
    EXPECT_TRUE(answers.last().startsWith(QStringLiteral("Add new Receipt no. ")));
    ASSERT_TRUE(receipt->execute(CommandId::StockByItem));
    EXPECT_TRUE(receipt->find_pane("order")->visible);

    WindowView* view = maximised_view(session);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->model(), receipt);
    expect_header_readable(*receipt, *view);
    QTableView* lines = view->grid_view(QStringLiteral("dbgridrc"));
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->model()->rowCount(), 3);
    EXPECT_GE(lines->height(), 100);
    EXPECT_EQ(view->grid_view(QStringLiteral("grid_stock_item"))->model()->rowCount(), 3);
    if (const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR"); !shots.isEmpty())
        session.window().grab().save(QDir(shots).filePath(QStringLiteral("receipt_window.png")));

    // The entry and the inventory document open as their lines.
    ASSERT_TRUE(receipt->execute(CommandId::JournalRecord));
    QApplication::processEvents();
    EXPECT_TRUE(session.window().work_area()->activeSubWindow()->windowTitle().startsWith(QStringLiteral("G/L Ledger Review")));
    auto* journal = session.window().work_area()->activeSubWindow()->widget()->findChild<QTableView*>();
    ASSERT_NE(journal, nullptr);
    EXPECT_GE(journal->model()->rowCount(), 4);
    if (const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR"); !shots.isEmpty())
        session.window().grab().save(QDir(shots).filePath(QStringLiteral("receipt_journal.png")));
}

} // namespace
} // namespace zelkor::host
