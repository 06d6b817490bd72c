// The generic view on a small document window (under the requisition's name, so that the
// fixture's user has the rights to it): everything the model declares is on screen, in a
// sensible place, and every click and keystroke reaches the model.
#include "ui/window_view.h"

#include "tests/support/printers.h"
#include "tests/support/test_database.h"
#include "ui/field_editor.h"
#include "ui/grid_table_model.h"
#include "ui/message_box_prompter.h"
#include "ui/pick_list_combo_box.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

constexpr int IssuePo = 1001;

class SampleDocument : public WindowModel {
public:
    SampleDocument() : WindowModel(QStringLiteral("POform_pr"), QStringLiteral("Sample Requisition"), Kind::Document)
    {
        using K = FieldKind;
        const auto locked = ReadModeLock::Locked;
        declare_field({"docno", "PR no", K::DropDown, 0, {}, false, ReadModeLock::Open});
        declare_field({"vendor_no", "Vendor", K::DropDown, 0, {}, false, locked});
        declare_field({"vendor_name", "Vendor name", K::Text, 0, {}, false, locked});
        declare_field({"order_date", "Order date", K::Date, 1, {}, false, locked});
        declare_field({"remark", "Remark", K::MultiLine, 2, {}, false, locked});
        declare_field({"closed", "Closed", K::Check, 3, {}, true, locked});
        declare_field({"total", "Total", K::Number, 3, {}, true, locked});
        declare_field({"payment_term", "Payment term", K::DropDown, 4, {}, false, locked});
        set_field_choices(QStringLiteral("vendor_no"),
                          Choices{{"Vendor no", "Name"}, {}, {{"V100", "Acme Supplies"}, {"V200", "Bolt & Nut"}}, 0});
        Choices terms{{"Term", "Code"}, {}, {{"2% 10, net 30", "210"}, {"Net 30 days", "30"}}, 1};
        terms.name_column = 0;
        set_field_choices(QStringLiteral("payment_term"), terms);
        Grid& lines = declare_grid(QStringLiteral("dbgrid1"), {}, {"item code", "quantity", "created date", "item type"});
        lines.set_column_hidden(2, true);
        Choices types{{"Type", "Description"}, {}, {{"1", "Stock items"}, {"5", "Service & Expenditure"}}, 0};
        types.name_column = 1;
        lines.set_column_kind(3, K::DropDown);
        lines.set_column_choices(3, types);
        declare_pane(QStringLiteral("tax_detail"), QStringLiteral("Tax Detail Window"), PaneArea::Bottom,
                     to_int(CommandId::TaxDetails));
        declare_grid(QStringLiteral("grid_tax"), {}, {"tax authority", "tax amount"}, QStringLiteral("tax_detail"));
        declare_command(CommandId::Exit);
        declare_command(CommandId::Save);
        declare_command(CommandId::New);
        declare_command(CommandId::EditMode);
        declare_command(CommandId::InsertLine);
        declare_command(CommandId::DeleteLine);
        declare_command(CommandId::TaxDetails);
        declare_command(CommandId::ShowTextBelowIcon);
        declare_command({IssuePo, "&Issue PO", menus::Tools, true});
    }

    QStringList checked_fields;

protected:
    Entry check_field(const QString& name, const QString&) override
    {
        checked_fields << name;
        if (name == u"vendor_name" && field(name) == u"nobody") {
            message(QStringLiteral("vendor is invalid."));
            return Entry::Refused;
        }
        return Entry::Accepted;
    }
    Entry check_cell(Grid& grid, int row, int column, const QString&) override
    {
        if (column == 1 && grid.cell(row, column).startsWith(u'-')) {
            message(QStringLiteral("Quantity must be positive."));
            return Entry::Refused;
        }
        return Entry::Accepted;
    }
    bool run_command(int id) override
    {
        if (id != IssuePo)
            return WindowModel::run_command(id);
        notify(QStringLiteral("Issue PO"));
        return true;
    }
    bool save_document() override { return true; }
};

HostSettings settings_of(Database& db)
{
    HostSettings settings;
    settings.cnx = settings.dbe = settings.abcdb = &db;
    settings.BASE_CURRENCY = QStringLiteral("USD");
    settings.ZELKOR_USER = QStringLiteral("ADMIN");
    settings.ZELKOR_DATE_FORMAT = QStringLiteral("dd/mm/yyyy");
    return settings;
}

class ViewOfSampleDocument : public ::testing::Test {
protected:
    testing::TestDatabase company;
    SampleDocument model;
    QPointer<WindowView> view;
    ScriptedPrompter answers;

    void SetUp() override
    {
        model.apply_settings(settings_of(company.db()));
        model.open();
        view = new WindowView(model);
        view->show();
        QApplication::processEvents();
    }
    void TearDown() override { delete view; }

    QStringList menu_titles() const
    {
        QStringList titles;
        for (QAction* action : view->menuBar()->actions())
            titles << action->text();
        return titles;
    }
    static void settle()
    {
        for (int round = 0; round < 3; ++round) {
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
};

TEST_F(ViewOfSampleDocument, ShowsEveryCommandFieldGridAndPaneOfTheModel)
{
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Sample Requisition"));
    // Format holds the alternate-row switch every window with grids offers.
    EXPECT_EQ(menu_titles(), (QStringList{"&File", "&Edit", "&View", "&Tools", "F&ormat"}));
    for (const Command& command : model.commands()) {
        QAction* action = view->action(command.id);
        ASSERT_NE(action, nullptr) << command.id;
        EXPECT_EQ(action->text(), command.caption);
        EXPECT_EQ(view->command_bar()->actions().contains(action), command.toolbar) << command.id;
        EXPECT_FALSE(action->icon().isNull()) << command.id;
    }
    EXPECT_EQ(view->action(to_int(CommandId::Save))->shortcut(), QKeySequence(QKeySequence::Save));

    for (const Field& field : model.fields())
        EXPECT_NE(view->field_editor(field.name()), nullptr) << field.name().toStdString();
    auto* vendors = qobject_cast<PickListComboBox*>(view->field_editor("vendor_no")->control());
    ASSERT_NE(vendors, nullptr);
    EXPECT_EQ(vendors->model()->columnCount(), 2) << "the drop-down lists code and name";
    EXPECT_EQ(vendors->count(), 2);
    auto* label = view->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);

    QTableView* lines = view->grid_view("dbgrid1");
    ASSERT_NE(lines, nullptr);
    EXPECT_TRUE(lines->isColumnHidden(2));
    EXPECT_EQ(lines->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("quantity"));

    QDockWidget* taxes = view->pane_dock("tax_detail");
    ASSERT_NE(taxes, nullptr);
    EXPECT_EQ(taxes->windowTitle(), QStringLiteral("Tax Detail Window"));
    EXPECT_FALSE(taxes->isVisible());
    EXPECT_NE(view->grid_view("grid_tax"), nullptr);
    view->action(to_int(CommandId::TaxDetails))->trigger();
    EXPECT_TRUE(taxes->isVisible());
    EXPECT_TRUE(view->action(to_int(CommandId::TaxDetails))->isChecked());
    taxes->close();
    EXPECT_FALSE(model.find_pane("tax_detail")->visible) << "closing the dock hides the model's pane";

    const Qt::ToolButtonStyle before = view->command_bar()->toolButtonStyle();
    view->action(to_int(CommandId::ShowTextBelowIcon))->trigger();
    EXPECT_NE(view->command_bar()->toolButtonStyle(), before);
}

TEST_F(ViewOfSampleDocument, LaysTheHeaderOutWithoutOverlapsOrTinyBoxes)
{
    view->resize(1000, 640);
    QApplication::processEvents();
    std::vector<QRect> boxes;
    for (const Field& field : model.fields()) {
        FieldEditor* editor = view->field_editor(field.name());
        const QRect box(editor->mapTo(view, QPoint(0, 0)), editor->size());
        EXPECT_GE(box.width(), 60) << field.name().toStdString();
        EXPECT_GE(box.height(), 16) << field.name().toStdString();
        for (const QRect& other : boxes)
            EXPECT_FALSE(box.intersects(other)) << field.name().toStdString();
        boxes.push_back(box);
    }
    const QRect grid(view->grid_view("dbgrid1")->mapTo(view, QPoint(0, 0)), view->grid_view("dbgrid1")->size());
    for (const QRect& box : boxes)
        EXPECT_FALSE(grid.intersects(box));
    EXPECT_GE(grid.height(), 120);
}

TEST_F(ViewOfSampleDocument, RoutesTypingAndCommandsToTheModel)
{
    QSignalSpy notified(&model, &WindowModel::NotifyClients);
    auto* vendor_box = qobject_cast<PickListComboBox*>(view->field_editor("vendor_no")->control());
    EXPECT_TRUE(vendor_box->is_read_only()) << "read mode locks the document's fields";
    EXPECT_FALSE(view->findChild<QLabel*>(QStringLiteral("mode"))->text().isEmpty());

    view->action(to_int(CommandId::New))->trigger();
    EXPECT_EQ(model.mode(), WindowModel::Mode::New);
    EXPECT_FALSE(vendor_box->is_read_only());
    EXPECT_EQ(view->findChild<QLabel*>(QStringLiteral("mode"))->text(), QStringLiteral("New entry"));

    auto* date_box = qobject_cast<QLineEdit*>(view->field_editor("order_date")->control());
    date_box->setText(QStringLiteral("01/02/2026"));
    emit date_box->editingFinished();
    EXPECT_EQ(model.field("order_date"), QStringLiteral("01/02/2026"));
    EXPECT_EQ(model.checked_fields, QStringList{"order_date"});

    vendor_box->setCurrentIndex(1);
    emit vendor_box->activated(1);
    EXPECT_EQ(model.field("vendor_no"), QStringLiteral("V200"));

    model.set_field(QStringLiteral("total"), QStringLiteral("1,234.50"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(view->field_editor("total")->control())->text(), QStringLiteral("1,234.50"));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(view->field_editor("total")->control())->isReadOnly());

    view->action(to_int(CommandId::InsertLine))->trigger();
    EXPECT_EQ(view->grid_view("dbgrid1")->model()->rowCount(), 1);
    view->action(IssuePo)->trigger();
    ASSERT_EQ(notified.count(), 1);
    EXPECT_EQ(notified.front().front().toString(), QStringLiteral("Issue PO"));
}

TEST_F(ViewOfSampleDocument, ClosingTheWindowIsTheExitCommandAndItsQuestion)
{
    view->action(to_int(CommandId::New))->trigger();
    model.type_into(QStringLiteral("vendor_name"), QStringLiteral("Acme"));
    model.set_prompter(&answers); // in place of the message boxes
    answers.answer_no();

    EXPECT_FALSE(view->close()) << "the window waits for the model's answer";
    settle();
    EXPECT_EQ(answers.last(), QStringLiteral("Do you want to save new entry?"));
    EXPECT_TRUE(model.is_closed());
    EXPECT_TRUE(view.isNull()) << "the view goes when its model has closed";
}

} // namespace
} // namespace zelkor

namespace zelkor {
namespace {

TEST_F(ViewOfSampleDocument, ReadModeShowsValuesAsTextAndDisablesWhatCannotRun)
{
    model.set_field(QStringLiteral("vendor_name"), QStringLiteral("Acme Supplies"));
    auto* vendor_box = qobject_cast<PickListComboBox*>(view->field_editor("vendor_no")->control());
    auto* name_box = qobject_cast<QLineEdit*>(view->field_editor("vendor_name")->control());
    auto* closed_box = view->field_editor("closed")->control();
    // Read only, yet not greyed out: the text keeps the normal colour.
    EXPECT_TRUE(vendor_box->isEnabled());
    EXPECT_TRUE(name_box->isReadOnly());
    EXPECT_TRUE(closed_box->isEnabled());
    EXPECT_EQ(name_box->palette().color(QPalette::Text), QApplication::palette().color(QPalette::Text));
    EXPECT_EQ(name_box->focusPolicy(), Qt::ClickFocus) << "a read-only box is no tab stop";
    EXPECT_EQ(closed_box->focusPolicy(), Qt::NoFocus);

    const auto enabled = [this](CommandId id) { return view->action(to_int(id))->isEnabled(); };
    EXPECT_FALSE(enabled(CommandId::Save));
    EXPECT_FALSE(enabled(CommandId::InsertLine));
    EXPECT_FALSE(enabled(CommandId::DeleteLine));
    EXPECT_TRUE(enabled(CommandId::New));

    view->activateWindow();
    view->action(to_int(CommandId::New))->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(enabled(CommandId::Save));
    EXPECT_TRUE(enabled(CommandId::InsertLine));
    EXPECT_FALSE(enabled(CommandId::DeleteLine)) << "no line to delete yet";
    EXPECT_EQ(QApplication::focusWidget(), vendor_box) << "a new document starts at the vendor, not the number box";
    EXPECT_EQ(name_box->focusPolicy(), Qt::StrongFocus);

    view->action(to_int(CommandId::InsertLine))->trigger();
    model.main_grid()->set_current(0, 0);
    EXPECT_TRUE(enabled(CommandId::DeleteLine));

    model.set_prompter(&answers); // in place of the message boxes
    answers.answer_no();
    view->action(to_int(CommandId::New))->trigger(); // the new line is dropped on No
    EXPECT_EQ(answers.last(), QStringLiteral("Do you want to save new entry?"));
    EXPECT_EQ(model.mode(), WindowModel::Mode::Read);
    EXPECT_FALSE(enabled(CommandId::Save));
    EXPECT_FALSE(enabled(CommandId::InsertLine));
}

TEST_F(ViewOfSampleDocument, CodesShowWithTheirNamesWhileTheStoredValueStaysTheCode)
{
    auto* terms = qobject_cast<PickListComboBox*>(view->field_editor("payment_term")->control());
    model.set_field(QStringLiteral("payment_term"), QStringLiteral("210"));
    EXPECT_EQ(terms->currentText(), QString::fromUtf8("210 \u2014 2% 10, net 30"));
    EXPECT_EQ(terms->value(), QStringLiteral("210"));

    view->action(to_int(CommandId::New))->trigger();
    terms->setCurrentIndex(1);
    emit terms->activated(1);
    EXPECT_EQ(model.field("payment_term"), QStringLiteral("30")) << "the code is what the window gets";
    terms->clearFocus();
    QApplication::processEvents();
    EXPECT_EQ(terms->currentText(), QString::fromUtf8("30 \u2014 Net 30 days"));
    EXPECT_GE(terms->minimumSizeHint().width(), terms->fontMetrics().horizontalAdvance(terms->currentText()))
        << "the box is wide enough for the code and its name";

    // A number of thirty characters shows whole in the number box.
    const QString long_number(QStringLiteral("PR-2026-MAIN-WAREHOUSE-0000001"));
    ASSERT_EQ(long_number.size(), 30);
    model.set_field(QStringLiteral("docno"), long_number);
    settle(); // the box, its line and the header each lay out once more
    auto* number_box = qobject_cast<PickListComboBox*>(view->field_editor("docno")->control());
    EXPECT_GE(number_box->lineEdit()->width(), number_box->fontMetrics().horizontalAdvance(long_number));

    Grid& lines = *model.main_grid();
    lines.append_row();
    lines.set_cell(0, QStringLiteral("item type"), QStringLiteral("5"));
    const QAbstractItemModel& cells = *view->grid_view("dbgrid1")->model();
    EXPECT_EQ(cells.index(0, 3).data().toString(), QString::fromUtf8("5 \u2014 Service & Expenditure"));
    EXPECT_EQ(cells.index(0, 3).data(Qt::EditRole).toString(), QStringLiteral("5"));
    EXPECT_EQ(lines.cell(0, QStringLiteral("item type")), QStringLiteral("5"));
}

TEST_F(ViewOfSampleDocument, RefusedValueStaysMarkedUntilCorrectedAndConfirmationsOpenNoBox)
{
    QSignalSpy confirmed(view.data(), &WindowView::confirmationShown);
    model.prompter().message(QStringLiteral("Add new PR no. PR-26-00001 complete"));
    ASSERT_EQ(confirmed.count(), 1) << "a confirmation goes to the status bar, not into a box";
    EXPECT_EQ(view->statusBar()->currentMessage(), QStringLiteral("Add new PR no. PR-26-00001 complete"));

    model.set_prompter(&answers); // in place of the message boxes
    view->activateWindow();
    view->action(to_int(CommandId::New))->trigger();
    FieldEditor* name = view->field_editor("vendor_name");
    auto* name_box = qobject_cast<QLineEdit*>(name->control());
    name_box->setText(QStringLiteral("nobody"));
    emit name_box->editingFinished();
    EXPECT_EQ(answers.last(), QStringLiteral("vendor is invalid.")) << "the prompter still records the message";
    EXPECT_TRUE(name->is_refused());
    view->field_editor("order_date")->control()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), name_box) << "the focus goes back to the refused field";
    name_box->setText(QStringLiteral("Acme"));
    emit name_box->editingFinished();
    EXPECT_FALSE(name->is_refused()) << "a value accepted takes the mark away";

    view->action(to_int(CommandId::InsertLine))->trigger();
    QAbstractItemModel& cells = *view->grid_view("dbgrid1")->model();
    EXPECT_FALSE(cells.setData(cells.index(0, 1), QStringLiteral("-3")));
    EXPECT_EQ(answers.last(), QStringLiteral("Quantity must be positive."));
    EXPECT_TRUE(cells.index(0, 1).data(GridTableModel::RefusedRole).toBool());
    QApplication::processEvents();
    EXPECT_EQ(view->grid_view("dbgrid1")->currentIndex(), cells.index(0, 1)) << "back to the refused cell";
    EXPECT_TRUE(cells.setData(cells.index(0, 1), QStringLiteral("3")));
    EXPECT_FALSE(cells.index(0, 1).data(GridTableModel::RefusedRole).toBool());
}

TEST(MessageStyle, ConfirmationsErrorsRefusalsAndInformationApart)
{
    EXPECT_EQ(message_style("Add new PO no. PO-26-00001 complete", false), MessageStyle::Confirmation);
    EXPECT_EQ(message_style("Save format complete", true), MessageStyle::Confirmation);
    EXPECT_EQ(message_style("Export complete: /tmp/list.csv", false), MessageStyle::Confirmation);
    EXPECT_EQ(message_style("Add new PR failed", false), MessageStyle::Error);
    EXPECT_EQ(message_style("vendor is invalid.", true), MessageStyle::Refusal);
    EXPECT_EQ(message_style("PR was closed.", false), MessageStyle::Information);
    EXPECT_EQ(message_style("Complete the vendor first.", false), MessageStyle::Information);
}

} // namespace
} // namespace zelkor
