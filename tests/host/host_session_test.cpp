// The demo host on a company file it creates itself: every window of the module opens from the
// menus as a child window with its caption and toolbar, and the notifications are answered.
// With ZELKOR_SCREENSHOT_DIR set, each window is also saved as a PNG for a look by eye.
#include "host/host_session.h"

#include "core/db/row.h"
#include "host/window_catalogue.h"
#include "tests/support/printers.h"
#include "ui/window_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>

#ifdef ZELKOR_HAS_QTPDF
#include <QPdfView>
#endif

#include <gtest/gtest.h>

namespace zelkor::host {
namespace {

class DemoHost : public ::testing::Test {
protected:
    QTemporaryDir folder;
    std::unique_ptr<HostSession> session;

    void SetUp() override
    {
        HostOptions options;
        options.database = folder.filePath(QStringLiteral("company.db"));
        auto started = HostSession::start(options);
        ASSERT_TRUE(started.has_value()) << started.error().detail.toStdString();
        session = std::move(*started);
        session->window().show();
        QApplication::processEvents();
    }

    QMdiSubWindow* active() const { return session->window().work_area()->activeSubWindow(); }
    int child_count() const { return int(session->window().work_area()->subWindowList().size()); }

    QAction* menu_item(const QString& menu, const QString& caption) const
    {
        for (QAction* top : session->window().menuBar()->actions())
            if (top->menu() && top->text() == menu)
                for (QAction* item : top->menu()->actions())
                    if (item->text() == caption)
                        return item;
        return nullptr;
    }

    static void save_screenshot(QWidget& widget, const QString& name)
    {
        const QString folder = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    }
};

TEST_F(DemoHost, OpensEveryWindowFromItsMenuWithCaptionAndToolbar)
{
    EXPECT_EQ(session->facade().BASE_CURRENCY(), QStringLiteral("USD"));
    EXPECT_EQ(session->facade().ZELKOR_USER(), QStringLiteral("ADMIN"));
    EXPECT_EQ(session->facade().ZELKOR_DATE_FORMAT(), QStringLiteral("dd/mm/yyyy"));
    int opened = 0;
    for (const CatalogueEntry& entry : window_catalogue()) {
        QAction* item = menu_item(entry.menu, entry.caption);
        ASSERT_NE(item, nullptr) << entry.caption.toStdString();
        item->trigger();
        QApplication::processEvents();
        ASSERT_EQ(child_count(), ++opened) << entry.class_name.toStdString();
        auto* view = qobject_cast<WindowView*>(active()->widget());
        ASSERT_NE(view, nullptr) << entry.class_name.toStdString();
        EXPECT_EQ(view->model()->class_name(), entry.class_name);
        EXPECT_EQ(active()->windowTitle(), view->model()->caption());
        EXPECT_FALSE(view->model()->caption().isEmpty());
        EXPECT_TRUE(view->command_bar()->isVisible()) << entry.class_name.toStdString();
        EXPECT_FALSE(view->command_bar()->actions().isEmpty());
        EXPECT_NE(view->action(to_int(CommandId::Exit)), nullptr) << entry.class_name.toStdString();
        save_screenshot(*active(), entry.class_name);
    }
    save_screenshot(session->window(), QStringLiteral("host"));
}

TEST_F(DemoHost, AnswersNotificationsByOpeningHandingOffShowingOrLogging)
{
    using Handling = NotificationRouter::Handling;
    NotificationRouter& router = session->router();

    EXPECT_EQ(router.handle("Purchase Order", "", ""), Handling::Opened);
    ASSERT_NE(session->facade().frm_po(), nullptr);

    EXPECT_EQ(router.handle("Issue PO", "", ""), Handling::HandedOff);
    EXPECT_EQ(child_count(), 2) << "a new order window takes the requisition";

    EXPECT_EQ(router.handle("ActiveReport", "DELETE FROM Vendor_table", "x"), Handling::Logged)
        << "only a query is run for a report";
    EXPECT_GT(session->database().scalar("SELECT COUNT(*) FROM Vendor_table")->toInt(), 0);

    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        painter.drawText(QPointF(100, 100), QStringLiteral("Vendor list"));
    }
    EXPECT_EQ(router.handle("pdf viewer landscape", pdf, ""), Handling::Shown);
    EXPECT_EQ(active()->windowTitle(), QStringLiteral("report.pdf"));
#ifdef ZELKOR_HAS_QTPDF
    EXPECT_NE(qobject_cast<QPdfView*>(active()->widget()), nullptr);
#endif

    // A journal entry and an inventory document show their lines.
    EXPECT_EQ(router.handle("G/L Ledger Review", "1gl-0", "OPENING"), Handling::Shown);
    EXPECT_EQ(active()->windowTitle(), QStringLiteral("G/L Ledger Review OPENING"));
    auto* journal = active()->widget()->findChild<QTableView*>();
    ASSERT_NE(journal, nullptr);
    EXPECT_EQ(journal->model()->rowCount(), 4);
    EXPECT_EQ(router.handle("Inventory Receipts", "1ir-1", "RO-26-00001"), Handling::Shown);
    EXPECT_EQ(router.handle("G/L Ledger Review", "", ""), Handling::Logged);

    const int windows = child_count();
    EXPECT_EQ(router.handle("Vendor Master", "V100", ""), Handling::Logged);
    EXPECT_EQ(child_count(), windows);
    EXPECT_TRUE(session->window().log_text().endsWith(QStringLiteral("Vendor Master: V100")))
        << "the log reads as a sentence, not as the notification's three strings";
}

// A document's print query becomes a PDF in "User report" on the user's page format (landscape
// letter without one), shown in the PDF view; the document number is bound, never typed into SQL.
TEST_F(DemoHost, ActiveReportIsPrintedAsAPdfListAndShown)
{
    const QString query = QStringLiteral("SELECT vendor_no, vendor_name, credit_limit FROM Vendor_table"
                                         " WHERE vendor_no <> ? ORDER BY vendor_no");
    EXPECT_EQ(session->router().handle("ActiveReport", query, "Vendor List,NO SUCH VENDOR,"),
              NotificationRouter::Handling::Shown);
    const QDir reports(folder.filePath(QStringLiteral("User report")));
    const QStringList files = reports.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.front().startsWith(QStringLiteral("vendor_list_no_such_vendor_")));
    EXPECT_TRUE(files.front().endsWith(QStringLiteral("_L.pdf")));
    EXPECT_EQ(active()->windowTitle(), files.front());
#ifdef ZELKOR_HAS_QTPDF
    EXPECT_NE(qobject_cast<QPdfView*>(active()->widget()), nullptr);
#endif

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), reports.filePath(files.front()), QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Vendor List NO SUCH VENDOR"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("vendor name"), Qt::CaseInsensitive));
    auto vendors = session->database().select(QStringLiteral("SELECT vendor_no, vendor_name FROM Vendor_table"));
    ASSERT_TRUE(vendors && !vendors->empty());
    for (const Row& vendor : *vendors) {
        EXPECT_TRUE(text.contains(vendor.text(u"vendor_no"))) << vendor.text(u"vendor_no").toStdString();
        EXPECT_TRUE(text.contains(vendor.text(u"vendor_name"))) << vendor.text(u"vendor_name").toStdString();
    }
    if (const QString shots = qEnvironmentVariable("ZELKOR_SCREENSHOT_DIR"); !shots.isEmpty())
        QFile::copy(reports.filePath(files.front()), QDir(shots).filePath(QStringLiteral("active_report.pdf")));
}

// A master window's own printout and its page setup: the list is written and shown, the page
// setup opens as a child window of the host.
TEST_F(DemoHost, MasterWindowPrintsItsListAndOpensItsPageSetup)
{
    ASSERT_TRUE(session->open_window(QStringLiteral("POform_misccharge")));
    QApplication::processEvents();
    auto* charges = qobject_cast<WindowView*>(active()->widget());
    ASSERT_NE(charges, nullptr);
    charges->action(to_int(CommandId::Preview))->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(active()->windowTitle().startsWith(QStringLiteral("purchase_misc_charge"))) << active()->windowTitle().toStdString();
    charges->action(to_int(CommandId::Print))->trigger();
    QApplication::processEvents();
    auto* setup = qobject_cast<WindowView*>(active()->widget());
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->model()->class_name(), QStringLiteral("Form_report_format"));
    save_screenshot(*active(), QStringLiteral("Form_report_format"));
}

TEST_F(DemoHost, ActiveReportFallsBackToATableWhenNoPdfCanBeWritten)
{
    QFile blocker(folder.filePath(QStringLiteral("not a folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    session->facade().set_ZELKOR_PATH(blocker.fileName());
    EXPECT_EQ(session->router().handle("ActiveReport", "SELECT vendor_no, vendor_name FROM Vendor_table", "Vendor List,,"),
              NotificationRouter::Handling::Shown);
    EXPECT_EQ(active()->windowTitle(), QStringLiteral("Vendor List"));
    auto* rows = active()->widget()->findChild<QTableView*>();
    ASSERT_NE(rows, nullptr);
    EXPECT_GT(rows->model()->rowCount(), 0);
    EXPECT_TRUE(session->window().log_text().contains(QStringLiteral("no PDF written (Cannot create the folder")))
        << session->window().log_text().toStdString();
}

// The start page leads to the everyday windows; a window's confirmation goes to the log, not
// into a box; with every window closed the start page is back.
TEST_F(DemoHost, StartPageOpensANewOrderWhoseConfirmationGoesToTheLog)
{
    EXPECT_TRUE(session->window().start_page_shown());
    QPushButton* new_order = nullptr;
    for (QPushButton* button : session->window().findChildren<QPushButton*>())
        if (button->text() == u"New purchase order")
            new_order = button;
    ASSERT_NE(new_order, nullptr);
    new_order->click();
    QApplication::processEvents();
    EXPECT_FALSE(session->window().start_page_shown());
    ASSERT_NE(session->facade().frm_po(), nullptr);
    EXPECT_EQ(session->facade().frm_po()->mode(), WindowModel::Mode::New) << "as if the clerk had pressed New";

    session->facade().frm_po()->prompter().message(QStringLiteral("Add new PO no. PO-26-00042 complete"));
    EXPECT_TRUE(session->window().log_text().endsWith(QStringLiteral("Purchase Order: Add new PO no. PO-26-00042 complete")))
        << session->window().log_text().toStdString();

    session->facade().frm_po()->set_prompter(nullptr); // no box: a question would be answered No
    session->window().work_area()->closeAllSubWindows();
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
    EXPECT_EQ(child_count(), 0);
    EXPECT_TRUE(session->window().start_page_shown());
}

} // namespace
} // namespace zelkor::host
