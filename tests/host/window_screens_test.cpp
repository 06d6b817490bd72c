// The visual check of every window: the demo host on a demo company with a saved requisition,
// order and receipt, each window shown maximised in read mode at 1280x800 and at 1920x1080,
// first with all its panes closed, then with all those a clerk can open. No label or field may
// show less than its text, and no widget may lie outside the window (the header scrolls down,
// never sideways). Toolbars browse alike and every window that prints reaches its page setup.
// The screenshots (and one of the start page) go to build/screens for a look by eye.
#include "host/host_session.h"

#include "core/clock.h"
#include "facade/POclass.h"
#include "host/window_catalogue.h"
#include "tests/support/documents.h"
#include "tests/support/printers.h"
#include "ui/window_view.h"
#include "windows/order/POform_po.h"
#include "windows/requisition/POform_pr.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

namespace zelkor::host {
namespace {

enum class Panes { Closed, Open };

QString screens_folder()
{
    const QString folder = QStringLiteral(ZELKOR_SCREEN_DIR);
    QDir().mkpath(folder);
    return folder;
}

/// The room a widget's text has inside it, and the text; nothing to check for other widgets.
struct TextRoom {
    QString text;
    int needed = 0;
    int room = 0;
};

std::optional<TextRoom> text_room(QWidget& widget)
{
    if (auto* label = qobject_cast<QLabel*>(&widget); label && !label->wordWrap() && label->pixmap().isNull())
        return TextRoom{label->text(), label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width()};
    if (auto* line = qobject_cast<QLineEdit*>(&widget)) {
        const QString text = line->text().isEmpty() ? line->placeholderText() : line->text();
        const QMargins margins = line->textMargins();
        // The frame and the line edit's own two-pixel text margin on each side.
        const int frame = line->hasFrame() ? 2 * line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        return TextRoom{text, line->fontMetrics().horizontalAdvance(text),
                        line->width() - frame - margins.left() - margins.right() - 4};
    }
    if (auto* check = qobject_cast<QCheckBox*>(&widget))
        return TextRoom{check->text(), check->sizeHint().width(), check->width()};
    return std::nullopt;
}

/// The header area a widget scrolls in, if any.
QScrollArea* scroll_area_of(QWidget& widget)
{
    for (QWidget* parent = widget.parentWidget(); parent; parent = parent->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(parent); area && area->widget()->isAncestorOf(&widget))
            return area;
    return nullptr;
}

/// Whether the widget is on a pane behind another pane's tab, or on a tab bar of panes not in
/// use: the window parks those out of sight until they are wanted.
bool in_hidden_tab(QWidget& widget, WindowView& view)
{
    for (QWidget* parent = &widget; parent && parent != &view; parent = parent->parentWidget())
        if (qobject_cast<QDockWidget*>(parent) || qobject_cast<QTabBar*>(parent))
            return !view.rect().intersects(QRect(parent->mapTo(&view, QPoint(0, 0)), parent->size()));
    return false;
}

/// Every problem a clerk would see on the window: cut texts and widgets out of reach.
QStringList layout_problems(WindowView& view)
{
    QStringList problems;
    const QRect window = view.rect();
    for (QWidget* widget : view.findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->size().isEmpty() || qobject_cast<QToolBar*>(widget->parentWidget())
            || in_hidden_tab(*widget, view))
            continue;
        const QString name = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                            : widget->objectName();
        if (const auto room = text_room(*widget); room && room->needed > room->room)
            problems << QStringLiteral("%1 \"%2\" needs %3 px, has %4").arg(name, room->text).arg(room->needed).arg(room->room);
        if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget)
            && !qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QScrollArea*>(widget))
            continue;
        const QRect placed(widget->mapTo(&view, QPoint(0, 0)), widget->size());
        QRect reach = window;
        // In a header or pane that scrolls, a field may be scrolled to vertically, never sideways
        // (the area itself must lie in the window).
        if (QScrollArea* area = scroll_area_of(*widget)) {
            const QRect viewport(area->viewport()->mapTo(&view, QPoint(0, 0)), area->viewport()->size());
            reach = QRect(viewport.left(), placed.top(), viewport.width(), placed.height());
        }
        if (!reach.contains(placed))
            problems << QStringLiteral("%1 lies outside the window at %2,%3 %4x%5")
                            .arg(name)
                            .arg(placed.x())
                            .arg(placed.y())
                            .arg(placed.width())
                            .arg(placed.height());
    }
    return problems;
}

class WindowScreens : public ::testing::TestWithParam<QSize> {
protected:
    QTemporaryDir folder;
    std::unique_ptr<HostSession> session;
    ScriptedPrompter prompter;
    QString requisition;
    QString order;
    QString receipt;

    void SetUp() override
    {
        HostOptions options;
        options.database = folder.filePath(QStringLiteral("company.db"));
        auto started = HostSession::start(options);
        ASSERT_TRUE(started.has_value()) << started.error().detail.toStdString();
        session = std::move(*started);
        session->window().resize(GetParam());
        session->window().show();
        QApplication::processEvents();
        session->window().grab().save(QDir(screens_folder()).filePath(shot_name(QStringLiteral("start_page"), QStringLiteral("plain"))));
        enter_documents();
    }

    /// A requisition and an order entered as a clerk enters them, and the order's receipt.
    void enter_documents()
    {
        POclass& facade = session->facade();
        facade.showform_POform_pr();
        POform_pr& pr = start_new(*facade.frm_pr());
        pr.type_into("requested_user", "JSMITH");
        pr.type_into("purpose", "Restock paint for the spring season");
        pr.type_into("reference", "Spring maintenance");
        type_lines(*pr.main_grid(), "quantity", {{"PAINT-5L", "24", "box", "189.50"}, {"BOLT-M8", "40", "box", "8.75"}});
        ASSERT_TRUE(pr.execute(CommandId::Save)) << prompter.last().toStdString();
        requisition = pr.field("docno");
        facade.frm_pr_Exit();
        facade.showform_POform_po();
        POform_po& po = start_new(*facade.frm_po());
        po.type_into("reference", "Spring maintenance 2026");
        po.type_into("fob_point", "Destination");
        po.type_into("remark", "Please confirm the delivery date by e-mail.");
        po.type_into("delivery_instruction", "Dock 2, weekdays 8:00 to 15:00");
        type_lines(po.lines(), "quantity order", {{"PAINT-5L", "24", "box", "189.50"}, {"WIDGET-A", "1200", "box", "12.3456"}});
        ASSERT_TRUE(po.execute(CommandId::Save)) << prompter.last().toStdString();
        order = po.field("docno");
        facade.frm_po_Exit();
        receipt = testing::saved_receipt(session->database(), order, {{1, "24"}, {2, "1000"}}, Clock::today()).docno;
        QApplication::processEvents();
    }

    /// Starts a new document of the demo's vendor V1002 in a window that answers to the test.
    template <typename Window> Window& start_new(Window& window)
    {
        window.set_prompter(&prompter);
        EXPECT_TRUE(window.execute(CommandId::New));
        window.type_into("vendor_no", "V1002");
        return window;
    }

    /// Types lines of item code, quantity, unit and unit cost.
    static void type_lines(Grid& grid, const QString& quantity, const std::vector<QStringList>& lines)
    {
        for (size_t at = 0; at < lines.size(); ++at) {
            const int row = at < size_t(grid.row_count()) ? int(at) : grid.append_row();
            grid.type_cell(row, "item code", lines[at][0]);
            grid.type_cell(row, "uom", lines[at][2]);
            grid.type_cell(row, "unit cost", lines[at][3]);
            grid.type_cell(row, quantity, lines[at][1]);
        }
    }

    WindowView* open(const CatalogueEntry& entry)
    {
        entry.open(session->facade());
        QApplication::processEvents();
        QMdiSubWindow* child = session->window().work_area()->activeSubWindow();
        auto* view = child ? qobject_cast<WindowView*>(child->widget()) : nullptr;
        if (!view)
            return nullptr;
        view->model()->set_prompter(&prompter);
        if (entry.class_name == u"POform_pr")
            session->facade().POform_pr_goto_docno(requisition);
        if (entry.class_name == u"POform_po")
            session->facade().POform_po_goto_docno(order);
        if (entry.class_name == u"POform_receipt")
            session->facade().POform_receipt_goto_docno(receipt);
        child->showMaximized();
        QApplication::processEvents();
        return view;
    }

    /// Opens or closes every pane a clerk can open (those with a command).
    static void show_panes(WindowModel& model, Panes panes)
    {
        for (const Pane& pane : model.panes())
            model.show_pane(pane.name, panes == Panes::Open && pane.toggle_command != 0);
        QApplication::processEvents();
    }

    /// Opens the page setup of a printing window and checks it as a window of its own.
    void check_page_setup(WindowView& printing)
    {
        printing.action(PageSetupCommand.id)->trigger();
        QApplication::processEvents();
        QMdiSubWindow* child = session->window().work_area()->activeSubWindow();
        auto* setup = child ? qobject_cast<WindowView*>(child->widget()) : nullptr;
        ASSERT_NE(setup, nullptr);
        ASSERT_EQ(setup->model()->class_name(), QStringLiteral("Form_report_format"));
        QApplication::processEvents();
        const QString shot = shot_name(QStringLiteral("Form_report_format"), QStringLiteral("plain"));
        session->window().grab().save(QDir(screens_folder()).filePath(shot));
        const QStringList problems = layout_problems(*setup);
        EXPECT_TRUE(problems.isEmpty()) << shot.toStdString() << ":\n  " << problems.join(QStringLiteral("\n  ")).toStdString();
    }

    QString shot_name(const QString& window, const QString& panes) const
    {
        return QStringLiteral("%1_%2x%3_%4.png").arg(window).arg(GetParam().width()).arg(GetParam().height()).arg(panes);
    }
};

/// What is wrong with a window's commands as a clerk meets them: browsing buttons out of order
/// or missing, a window that can print without its page setup.
QStringList command_problems(WindowView& view)
{
    QStringList problems;
    QList<int> on_toolbar;
    for (QAction* action : view.command_bar()->actions())
        if (!action->isSeparator())
            on_toolbar << action->data().toInt();
    const auto at = [&on_toolbar](CommandId id) { return on_toolbar.indexOf(to_int(id)); };
    if (at(CommandId::PreviousRecord) >= 0 || at(CommandId::NextRecord) >= 0) {
        if (!(at(CommandId::PreviousRecord) >= 0 && at(CommandId::PreviousRecord) < at(CommandId::NextRecord)))
            problems << QStringLiteral("Previous does not come before Next");
        if (at(CommandId::FirstRecord) < 0 || at(CommandId::LastRecord) < 0)
            problems << QStringLiteral("browses without First and Last");
    }
    // A window prints what it shows: one that can print now must offer its page setup.
    const WindowModel& model = *view.model();
    if (model.command_applies(to_int(CommandId::Preview)) && !model.has_command(PageSetupCommand.id))
        problems << QStringLiteral("prints without a page setup");
    return problems;
}

TEST_P(WindowScreens, EveryWindowShowsEveryLabelAndFieldWholeWithPanesClosedAndOpen)
{
    for (const CatalogueEntry& entry : window_catalogue()) {
        WindowView* view = open(entry);
        ASSERT_NE(view, nullptr) << entry.class_name.toStdString();
        const QStringList commands = command_problems(*view);
        EXPECT_TRUE(commands.isEmpty()) << entry.class_name.toStdString() << ": " << commands.join(", ").toStdString();
        for (const Panes panes : {Panes::Closed, Panes::Open}) {
            show_panes(*view->model(), panes);
            const QString shot = shot_name(entry.class_name, panes == Panes::Open ? QStringLiteral("panes") : QStringLiteral("plain"));
            session->window().grab().save(QDir(screens_folder()).filePath(shot));
            QStringList problems = layout_problems(*view);
            // Panes sharing a side are tabs: each is checked with its tab chosen.
            for (const Pane& pane : view->model()->panes())
                if (panes == Panes::Open && pane.toggle_command != 0) {
                    view->pane_dock(pane.name)->raise();
                    QApplication::processEvents();
                    for (const QString& problem : layout_problems(*view))
                        if (!problems.contains(problem))
                            problems << problem;
                }
            EXPECT_TRUE(problems.isEmpty()) << shot.toStdString() << ":\n  " << problems.join(QStringLiteral("\n  ")).toStdString();
        }
        if (entry.class_name == u"POform_po")
            check_page_setup(*view);
        session->window().work_area()->closeAllSubWindows();
        QApplication::processEvents();
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, WindowScreens, ::testing::Values(QSize(1280, 800), QSize(1920, 1080)),
                         [](const ::testing::TestParamInfo<QSize>& size) {
                             return std::to_string(size.param.width()) + "x" + std::to_string(size.param.height());
                         });

} // namespace
} // namespace zelkor::host
