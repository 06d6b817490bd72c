// The master windows in the generic view: what a clerk sees at 1280x800, and the row actions
// (double click or Enter opens a group, the delete buttons of the rows) reaching the model.
// With ZELKOR_SCREENSHOT_DIR set, each window is also saved as a PNG for a look by eye.
#include "master_fixture.h"
#include "tests/support/view_test_support.h"
#include "ui/field_editor.h"
#include "ui/window_view.h"
#include "windows/masters/POform_misccharge.h"
#include "windows/masters/POform_shipvia.h"
#include "windows/masters/POform_vendor_group.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QTest>

namespace zelkor::testing {
namespace {

template <class Window>
class MasterView : public MasterWindowTest<Window> {
protected:
    void SetUp() override { view = show_in_view(*this->window, this->prompter); }
    void TearDown() override { delete view; }

    void save_screenshot(const QString& name) { testing::save_screenshot(*view, name); }
    QRect cell_rect(QTableView& table, int row, int column)
    {
        return table.visualRect(table.model()->index(row, column));
    }

    QPointer<WindowView> view;
};

using ChargeView = MasterView<POform_misccharge>;
using ShipviaView = MasterView<POform_shipvia>;
using VendorGroupView = MasterView<POform_vendor_group>;

TEST_F(ChargeView, ShowsTheChargesWithNamesAndEditsOnlyInEditMode)
{
    QTableView* table = view->grid_view("dbgrid1");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), 2);
    EXPECT_TRUE(table->isColumnHidden(window->master_grid()->column_count() - 1)) << "the saved key is not shown";
    EXPECT_EQ(table->model()->index(0, 3).data().toString(), "Freight and duty");
    EXPECT_FALSE(table->model()->index(0, 1).flags() & Qt::ItemIsEditable);
    view->action(to_int(CommandId::EditMode))->trigger();
    EXPECT_TRUE(table->model()->index(0, 1).flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(table->model()->index(0, 0).flags() & Qt::ItemIsEditable) << "a saved code stays";
    save_screenshot("POform_misccharge");
}

TEST_F(ShipviaView, ShowsOneShipviaInLabelledFields)
{
    EXPECT_EQ(view->field_editor("description")->control()->property("text").toString(), "FedEx Express");
    view->action(to_int(POform_shipvia::Command::FirstRecord))->trigger();
    view->action(to_int(CommandId::NextRecord))->trigger();
    EXPECT_EQ(window->shown_code(), "UPS");
    save_screenshot("POform_shipvia");
}

TEST_F(VendorGroupView, DoubleClickOpensAGroupAndTheRowButtonsRemoveMembers)
{
    QTableView* group_table = view->grid_view("dbgrid_group");
    QTableView* member_table = view->grid_view("dbgrid_member");
    ASSERT_NE(group_table, nullptr);
    ASSERT_NE(member_table, nullptr);
    EXPECT_TRUE(group_table->isVisible());
    EXPECT_FALSE(member_table->isVisible()) << "one list is shown at a time";
    save_screenshot("POform_vendor_group");

    // A double click is a press and release followed by the double-click event.
    const QPoint first_group = cell_rect(*group_table, 0, 0).center();
    QTest::mouseClick(group_table->viewport(), Qt::LeftButton, {}, first_group);
    QTest::mouseDClick(group_table->viewport(), Qt::LeftButton, {}, first_group);
    EXPECT_EQ(window->view(), POform_vendor_group::View::Members);
    EXPECT_TRUE(member_table->isVisible());
    EXPECT_FALSE(group_table->isVisible());
    EXPECT_EQ(member_table->model()->rowCount(), 2);
    EXPECT_EQ(window->field("vendor_group"), "DOMESTIC");

    view->action(to_int(POform_vendor_group::Command::Back))->trigger();
    group_table->setCurrentIndex(group_table->model()->index(1, 0));
    QTest::keyClick(group_table, Qt::Key_Return);
    EXPECT_EQ(window->field("vendor_group"), "OVERSEAS") << "Enter opens the current group";

    view->action(to_int(CommandId::Delete))->trigger();
    EXPECT_EQ(member_table->model()->headerData(0, Qt::Vertical, Qt::ToolTipRole).toString(),
              "remove vendor from specified group");
    save_screenshot("POform_vendor_group_members");
    prompter.answer_yes();
    emit member_table->verticalHeader()->sectionClicked(0);
    EXPECT_EQ(prompter.last(), "Are you sure to remove V300 from group OVERSEAS?");
    EXPECT_EQ(member_table->model()->rowCount(), 0);
}

} // namespace
} // namespace zelkor::testing
