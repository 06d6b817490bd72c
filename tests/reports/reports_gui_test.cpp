// A report window in the generic view at 1280x800: results, totals, the side panel, void rows
// struck through, rows read on as the table scrolls, frozen columns, and a double click that
// opens a vendor. With ZELKOR_SCREENSHOT_DIR set, the windows are saved as PNGs.
#include "report_fixture.h"
#include "reports/POreport_po_transaction.h"
#include "reports/POreport_purchase_tax.h"
#include "reports/POreport_vendor_list.h"
#include "tests/support/view_test_support.h"
#include "ui/frozen_columns.h"
#include "ui/grid_table_model.h"
#include "ui/window_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

namespace zelkor::testing {
namespace {

template <class Window>
class ReportView : public ReportTest<Window> {
protected:
    void SetUp() override { view = show_in_view(*this->window, this->prompter); }
    void TearDown() override { delete view; }
    void save_screenshot(const QString& name) { testing::save_screenshot(*view, name); }
    QPointer<WindowView> view;
};

using OrderInquiryView = ReportView<POreport_po_transaction>;
using TaxReportView = ReportView<POreport_purchase_tax>;
using VendorListView = ReportView<POreport_vendor_list>;

TEST_F(OrderInquiryView, ShowsRowsTotalsAndThePanelAndReadsOnWhenScrolled)
{
    view->action(int(ReportCommand::Find))->trigger();
    QTableView* results = view->grid_view("dbgrid1");
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->model()->rowCount(), 5);
    EXPECT_TRUE(results->model()->index(4, 0).data(GridTableModel::StruckOutRole).toBool()) << "the void order";
    EXPECT_EQ(view->grid_view("dbgrid_total")->model()->rowCount(), 2);
    view->action(int(ReportCommand::MoreSearchCriteria))->trigger();
    EXPECT_TRUE(view->pane_dock(QStringLiteral("print_column_search_sort"))->isVisible());
    results->setCurrentIndex(results->model()->index(0, 1));
    view->action(int(ReportCommand::Freeze))->trigger();
    auto* frozen = results->findChild<FrozenColumns*>();
    ASSERT_NE(frozen, nullptr);
    EXPECT_TRUE(frozen->isVisible());
    EXPECT_FALSE(frozen->isColumnHidden(1));
    EXPECT_TRUE(frozen->isColumnHidden(2));
    save_screenshot("POreport_po_transaction");

    ASSERT_TRUE(t.db().execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 700)"
                               " INSERT INTO PO_transaction_table (company, fkey, itemno, docno, itemcode, itemtype)"
                               " SELECT 1, '1po-1', 100 + i, 'PO-26-00001', 'BOLT', '1' FROM n"));
    view->action(int(ReportCommand::Find))->trigger();
    EXPECT_EQ(results->model()->rowCount(), ReportWindow::PageRows);
    // The rows show while they are counted, with a busy bar and its Cancel in the status bar.
    auto* busy = view->findChild<QProgressBar*>();
    ASSERT_NE(busy, nullptr);
    EXPECT_TRUE(busy->isVisible());
    save_screenshot("POreport_po_transaction_counting");
    for (QElapsedTimer waited; !window->background_work().isEmpty() && waited.elapsed() < 30000;)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(busy->isVisible());
    EXPECT_EQ(view->grid_view("dbgrid_total")->model()->rowCount(), 2);
    results->scrollToBottom();
    QApplication::processEvents();
    EXPECT_GT(results->model()->rowCount(), ReportWindow::PageRows) << "the next page is read on scrolling";
}

TEST_F(TaxReportView, ShowsTheTaxRows)
{
    window->set_field("period", "1");
    view->action(int(ReportCommand::Find))->trigger();
    EXPECT_EQ(view->grid_view("dbgrid1")->model()->rowCount(), 5);
    save_screenshot("POreport_purchase_tax");
}

TEST_F(VendorListView, DoubleClickOpensTheVendor)
{
    view->action(int(ReportCommand::Find))->trigger();
    QTableView* results = view->grid_view("dbgrid1");
    const QPoint second = results->visualRect(results->model()->index(1, 1)).center();
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, second);
    ASSERT_FALSE(notifications.empty());
    EXPECT_EQ(notifications.back().formx, "Vendor Master");
    EXPECT_EQ(notifications.back().docnox, "V200");
    save_screenshot("POreport_vendor_list");
}

} // namespace
} // namespace zelkor::testing
