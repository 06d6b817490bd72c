#include "ui/window_view.h"

#include "ui/column_choice.h"
#include "ui/command_appearance.h"
#include "ui/field_editor.h"
#include "ui/field_form.h"
#include "ui/font_bar.h"
#include "ui/frozen_columns.h"
#include "ui/grid_item_delegate.h"
#include "ui/grid_table_model.h"
#include "ui/grid_view_layout.h"
#include "ui/message_box_prompter.h"
#include "windows/base/window_model.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <memory>

namespace zelkor {

namespace {

/// How long a confirmation stays in the status bar.
constexpr int ConfirmationMilliseconds = 15000;
/// The least width of a pane, in average characters.
constexpr int PaneCharacters = 40;
/// A pane taller than this many lines of text may scroll.
constexpr int PaneLines = 10;

/// Menus appear in this order; menus a window names itself go before Help.
int menu_rank(const QString& menu)
{
    static const QStringList order{to_qstring(menus::File),  to_qstring(menus::Edit),   to_qstring(menus::Record),
                                   to_qstring(menus::View),  to_qstring(menus::Tools),  to_qstring(menus::Format)};
    if (menu == to_qstring(menus::Help))
        return 1000;
    const qsizetype rank = order.indexOf(menu);
    return rank >= 0 ? int(rank) : 100;
}

int default_column_width(const GridColumn& column, const QFontMetrics& metrics)
{
    if (column.width > 0)
        return column.width;
    const int header = metrics.horizontalAdvance(column.caption) + 24;
    const int character = metrics.averageCharWidth();
    int by_kind = character * 12;
    switch (column.kind) {
    case FieldKind::Number: by_kind = character * 12; break;
    case FieldKind::Date: by_kind = character * 14; break;
    case FieldKind::Check: by_kind = character * 6; break;
    case FieldKind::MultiLine: by_kind = character * 30; break;
    case FieldKind::DropDown:
    case FieldKind::Text: break;
    }
    const QString caption = column.caption.toLower();
    if (caption.contains(QLatin1String("description")) || caption.contains(QLatin1String("name")))
        by_kind = character * 26;
    // A column that shows its codes with their names is as wide as the longest of them.
    if (column.choices.name_column >= 0)
        for (int row = 0; row < int(column.choices.rows.size()); ++row)
            by_kind = std::max(by_kind, metrics.horizontalAdvance(column.choices.display_text(column.choices.value_of(row))) + 16);
    return std::min(std::max(header, by_kind), character * 40);
}

Qt::DockWidgetArea dock_area(PaneArea area)
{
    switch (area) {
    case PaneArea::Left: return Qt::LeftDockWidgetArea;
    case PaneArea::Top: return Qt::TopDockWidgetArea;
    case PaneArea::Bottom: return Qt::BottomDockWidgetArea;
    case PaneArea::Right: break;
    }
    return Qt::RightDockWidgetArea;
}

/// Whether a form area may scroll sideways when narrower than its form.
enum class Sideways { Scrolls, Never };

/// The scroll area of a window's header or of a pane: as tall as its form where there is room,
/// scrolling (never squeezing a label, a box or a grid) where there is not. A header may scroll
/// sideways too; a pane is as wide as its form needs.
class FormArea : public QScrollArea {
public:
    FormArea(QWidget* form, Sideways sideways, QWidget* parent) : QScrollArea(parent), m_sideways(sideways)
    {
        setWidget(form);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        if (sideways == Sideways::Never)
            setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

    QSize sizeHint() const override
    {
        QSize hint = widget()->sizeHint();
        // A form wider than the area scrolls sideways; its scroll bar takes height too.
        if (m_sideways == Sideways::Scrolls && viewport()->width() < widget()->minimumSizeHint().width())
            hint.rheight() += horizontalScrollBar()->sizeHint().height();
        return hint;
    }
    QSize minimumSizeHint() const override
    {
        const int line = fontMetrics().height();
        if (m_sideways == Sideways::Scrolls)
            return {line * 10, std::min(widget()->sizeHint().height(), line * 5)};
        // A pane keeps its grids' rows in sight unless it holds more than a small window has
        // room for.
        const QSize least = widget()->minimumSizeHint();
        return {least.width() + verticalScrollBar()->sizeHint().width(), std::min(least.height(), line * PaneLines)};
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The form grew or was arranged anew (values shown, fields widened): the window's
        // layout asks again how large the area would be, instead of keeping its old answer.
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }

private:
    Sideways m_sideways;
};

QString mode_text(const WindowModel& model)
{
    if (model.kind() != WindowModel::Kind::Document)
        return {};
    switch (model.mode()) {
    case WindowModel::Mode::New: return QStringLiteral("New entry");
    case WindowModel::Mode::Edit: return QStringLiteral("Editing");
    case WindowModel::Mode::Read: break;
    }
    return QStringLiteral("Read");
}

} // namespace

WindowView::WindowView(WindowModel& model, QWidget* parent) : QMainWindow(parent), m_model(&model)
{
    setObjectName(model.class_name());
    setWindowTitle(model.caption());
    setAttribute(Qt::WA_DeleteOnClose);
    setDockNestingEnabled(true);
    apply_settings_font();
    m_prompter = std::make_unique<MessageBoxPrompter>(this, model.caption());
    m_prompter->on_confirmation = [this](const QString& text) { show_confirmation(text); };
    model.set_prompter(m_prompter.get());

    build_commands();
    build_body();
    build_panes();
    build_status();
    build_font_bar();
    connect_model();
    connect_layouts();
    refresh_mode();
    apply_toolbar_style();
}

WindowView::~WindowView()
{
    // The model may outlive its view (the facade deletes it later): it must not keep a prompter
    // that is gone.
    if (m_model) {
        m_model->set_prompter(nullptr);
        // A model closed later (by the host) still stores what the clerk arranged here.
        if (!m_model->is_closed())
            record_layouts();
    }
}

void WindowView::apply_settings_font()
{
    const HostSettings& settings = m_model->settings();
    QFont chosen = font();
    if (!settings.ZELKOR_FONT_NAME.isEmpty())
        chosen.setFamily(settings.ZELKOR_FONT_NAME);
    bool number = false;
    const double size = settings.ZELKOR_FONT_SIZE.toDouble(&number);
    if (number && size >= 6 && size <= 24)
        chosen.setPointSizeF(size);
    setFont(chosen);
}

// Commands ----------------------------------------------------------------------------------------

void WindowView::build_commands()
{
    m_toolbar = new QToolBar(QStringLiteral("Commands"), this);
    m_toolbar->setObjectName(QStringLiteral("commands"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    std::vector<QString> menu_names;
    for (const Command& command : m_model->commands())
        if (std::find(menu_names.begin(), menu_names.end(), command.menu) == menu_names.end())
            menu_names.push_back(command.menu);
    std::stable_sort(menu_names.begin(), menu_names.end(),
                     [](const QString& a, const QString& b) { return menu_rank(a) < menu_rank(b); });
    std::map<QString, QMenu*> menus_by_name;
    for (const QString& name : menu_names) {
        menus_by_name[name] = menuBar()->addMenu(name.isEmpty() ? QStringLiteral("&Commands") : name);
        m_menus.insert(name, menus_by_name[name]);
    }

    QString previous_toolbar_menu;
    for (const Command& command : m_model->commands()) {
        auto* action = new QAction(command_icon(command.id, command.caption, *style()), command.caption, this);
        action->setObjectName(QStringLiteral("command_%1").arg(command.id));
        action->setData(command.id);
        action->setCheckable(command.checkable);
        action->setShortcut(command_shortcut(command.id));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { run_command(id); });
        m_actions.insert(id, action);
        menus_by_name[command.menu]->addAction(action);
        if (command.toolbar) {
            if (!previous_toolbar_menu.isNull() && previous_toolbar_menu != command.menu)
                m_toolbar->addSeparator();
            m_toolbar->addAction(action);
            previous_toolbar_menu = command.menu;
        }
        refresh_command(id);
    }
    m_toolbar->setVisible(!m_toolbar->actions().isEmpty());
}

void WindowView::refresh_command(int id)
{
    QAction* action = m_actions.value(id);
    const Command* command = m_model ? m_model->find_command(id) : nullptr;
    if (!action || !command)
        return;
    const QSignalBlocker block(action);
    action->setText(command->caption);
    action->setEnabled(command->enabled && m_model->command_applies(id));
    if (command->checkable)
        action->setChecked(command->checked);
    if (id == to_int(CommandId::ShowTextBelowIcon))
        apply_toolbar_style();
}

void WindowView::refresh_all_commands()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
        refresh_command(it.key());
}

void WindowView::apply_toolbar_style()
{
    // Captions under the icons only when the clerk sets the option; icons alone (the caption in
    // the tooltip) keep a long toolbar from overflowing.
    const Command* option = m_model ? m_model->find_command(to_int(CommandId::ShowTextBelowIcon)) : nullptr;
    const bool below = !option || option->checked;
    m_toolbar->setToolButtonStyle(below ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
}

void WindowView::run_command(int id)
{
    if (!m_model || m_model_closed)
        return;
    // A value still being typed belongs to the document before the command runs, as if the
    // clerk had left the box: moving the focus away commits it.
    QPointer<QWidget> focused = QApplication::focusWidget();
    if (focused && isAncestorOf(focused)) {
        focused->clearFocus();
        if (focused && m_model && !m_model_closed)
            focused->setFocus();
    }
    if (!m_model || m_model_closed)
        return;
    m_model->execute(id);
    // A refused toggle goes back to the model's state, and what the others can do may have changed.
    if (m_model && !m_model_closed)
        refresh_all_commands();
}

void WindowView::show_confirmation(const QString& text)
{
    statusBar()->showMessage(text, ConfirmationMilliseconds);
    emit confirmationShown(text);
}

void WindowView::focus_first_field()
{
    for (const Field& field : m_model->fields()) {
        FieldEditor* editor = m_editors.value(field.name());
        // The number box opens documents; a new document starts at the first field typed.
        if (!editor || !field.declaration.pane.isEmpty() || field.declaration.lock == ReadModeLock::Open
            || field.kind() == FieldKind::Check || !m_model->field_editable(field.name()))
            continue;
        editor->control()->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void WindowView::return_to_cell(QTableView& view, const QModelIndex& index)
{
    QTimer::singleShot(0, &view, [view = QPointer<QTableView>(&view), index = QPersistentModelIndex(index)] {
        if (!view || !index.isValid())
            return;
        view->setCurrentIndex(index);
        view->scrollTo(index);
        view->setFocus(Qt::OtherFocusReason);
    });
}

// Body ----------------------------------------------------------------------------------------------

QWidget* WindowView::build_field_form(const QString& pane, QWidget* parent)
{
    std::map<int, std::vector<const Field*>> rows;
    for (const Field& field : m_model->fields())
        if (field.declaration.pane.compare(pane, Qt::CaseInsensitive) == 0)
            rows[field.declaration.row].push_back(&field);
    if (rows.empty())
        return nullptr;
    auto* form = new FieldForm(parent);
    form->setObjectName(pane.isEmpty() ? QStringLiteral("header") : pane + QStringLiteral("_fields"));
    for (const auto& [row, fields] : rows) {
        std::vector<FieldForm::Item> items;
        for (const Field* field : fields) {
            auto* editor = new FieldEditor(*m_model, *field, form);
            m_editors.insert(field->name(), editor);
            QLabel* label = nullptr;
            if (field->kind() != FieldKind::Check) {
                label = new QLabel(field->caption(), form);
                label->setBuddy(editor->control());
                const bool multi_line = field->kind() == FieldKind::MultiLine;
                label->setAlignment(Qt::AlignRight | (multi_line ? Qt::AlignTop : Qt::AlignVCenter));
                if (multi_line)
                    label->setContentsMargins(0, 4, 0, 0);
            }
            const bool wide = field->kind() == FieldKind::Text || field->kind() == FieldKind::MultiLine
                              || field->kind() == FieldKind::DropDown;
            items.push_back({label, editor, wide});
        }
        form->add_row(items);
    }
    return form;
}

QTableView* WindowView::build_grid_view(Grid& grid, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setObjectName(grid.name());
    auto* adapter = new GridTableModel(grid, view);
    view->setModel(adapter);
    view->setItemDelegate(new GridItemDelegate(m_model->settings().ZELKOR_DATE_FORMAT, view));
    view->setAlternatingRowColors(m_model->layouts().alternate_rows());
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->verticalHeader()->setMinimumWidth(view->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    // The lines keep five rows in sight; a pane's grid three, so that open panes leave the
    // window its lines.
    const int rows_in_sight = grid.pane().isEmpty() ? 5 : 3;
    view->setMinimumHeight(view->horizontalHeader()->sizeHint().height() + view->verticalHeader()->defaultSectionSize() * rows_in_sight
                           + view->horizontalScrollBar()->sizeHint().height() + 2 * view->frameWidth());
    // The lines take the room the header leaves them: a table's wish for height never makes the
    // header scroll while the lines could do with less.
    if (grid.pane().isEmpty())
        view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);

    // A column's width is set when it is first shown and when the grid's declared width changes,
    // not on every change of the column (a clerk's widening stays).
    const auto applied_widths = std::make_shared<std::vector<int>>();
    const GridLayout* layout = m_model->layouts().layout(grid.name());
    auto* shown_columns = new ColumnChoice(grid, *view, layout && layout->stored());
    m_column_choices.insert(grid.name(), shown_columns);
    const auto apply_column = [view, applied_widths, shown_columns, grid_pointer = QPointer<Grid>(&grid)](int column) {
        if (!grid_pointer || column < 0 || column >= grid_pointer->column_count())
            return;
        const GridColumn& declaration = grid_pointer->column(column);
        shown_columns->apply(column);
        if (int(applied_widths->size()) <= column)
            applied_widths->resize(size_t(column) + 1, -1);
        if (std::exchange((*applied_widths)[size_t(column)], declaration.width) != declaration.width)
            view->setColumnWidth(column, default_column_width(declaration, view->fontMetrics()));
    };
    for (int column = 0; column < grid.column_count(); ++column)
        apply_column(column);
    connect(&grid, &Grid::columnChanged, view, apply_column);
    connect(&grid, &Grid::columnsInserted, view, [apply_column](int first, int count) {
        for (int column = first; column < first + count; ++column)
            apply_column(column);
    });
    if (layout) {
        adapter->set_layout(layout);
        apply_view_layout(*view, *layout);
    }

    // The grid knows the cell the clerk is on: line commands and notifications use it.
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
            [this, grid_pointer = QPointer<Grid>(&grid)](const QModelIndex& current) {
                if (!grid_pointer || !current.isValid())
                    return;
                grid_pointer->set_current(current.row(), current.column());
                // The font panel acts on the grid the clerk works in.
                WindowLayouts& layouts = m_model->layouts();
                if (m_font_bar && layouts.chosen_grid() != grid_pointer->name()) {
                    layouts.choose_grid(grid_pointer->name());
                    m_font_bar->refresh_columns();
                }
            });
    connect(&grid, &Grid::currentChanged, view, [view, adapter](int row, int column) {
        const QModelIndex wanted = adapter->index(row, column);
        if (wanted.isValid() && view->currentIndex() != wanted)
            view->setCurrentIndex(wanted);
    });
    connect_row_actions(grid, *view);
    connect(adapter, &GridTableModel::cellRefused, view,
            [this, view](const QModelIndex& index) { return_to_cell(*view, index); });
    // The overlay of frozen columns is made the first time the grid freezes some.
    connect(&grid, &Grid::frozenColumnsChanged, view, [view, grid_pointer = QPointer<Grid>(&grid)] {
        if (grid_pointer && !view->findChild<FrozenColumns*>())
            new FrozenColumns(*grid_pointer, *view);
    });
    m_grid_views.insert(grid.name(), view);
    return view;
}

void WindowView::connect_row_actions(Grid& grid, QTableView& view)
{
    // A double click on a cell that cannot be typed into activates its row; an editable cell
    // opens its editor instead.
    connect(&view, &QAbstractItemView::doubleClicked, this, [this, grid_pointer = QPointer<Grid>(&grid)](const QModelIndex& index) {
        if (m_model && grid_pointer && index.isValid() && !(index.flags() & Qt::ItemIsEditable))
            m_model->activate_row(*grid_pointer, index.row());
    });
    connect(view.verticalHeader(), &QHeaderView::sectionClicked, this, [this, grid_pointer = QPointer<Grid>(&grid)](int row) {
        if (m_model && grid_pointer && grid_pointer->has_delete_buttons())
            m_model->delete_row(*grid_pointer, row);
    });
    view.installEventFilter(this);
}

bool WindowView::activate_current_row(QTableView& view)
{
    const QModelIndex current = view.currentIndex();
    auto* adapter = qobject_cast<GridTableModel*>(view.model());
    // Enter on a cell being edited reaches its editor, not the table.
    if (!m_model || !adapter || !adapter->grid() || !current.isValid() || (current.flags() & Qt::ItemIsEditable))
        return false;
    return m_model->activate_row(*adapter->grid(), current.row());
}

QWidget* WindowView::build_grid_block(Grid& grid, QWidget* parent)
{
    QWidget* block = build_grid_with_heading(grid, parent);
    block->setVisible(grid.shown());
    connect(&grid, &Grid::shownChanged, block, &QWidget::setVisible);
    return block;
}

QWidget* WindowView::build_grid_with_heading(Grid& grid, QWidget* parent)
{
    QTableView* view = build_grid_view(grid, parent);
    if (grid.caption().isEmpty())
        return view;
    auto* block = new QWidget(parent);
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* heading = new QLabel(grid.caption(), block);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    view->setParent(block);
    layout->addWidget(view);
    return block;
}

void WindowView::build_body()
{
    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("body"));
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(8, 8, 8, 4);
    layout->setSpacing(8);
    if (QWidget* header = build_field_form(QString(), body)) {
        auto* area = new FormArea(header, Sideways::Scrolls, body);
        area->setObjectName(QStringLiteral("header_area"));
        area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
        layout->addWidget(area);
    }

    std::vector<Grid*> body_grids;
    for (Grid* grid : m_model->grids())
        if (grid->pane().isEmpty())
            body_grids.push_back(grid);
    if (body_grids.size() == 1) {
        layout->addWidget(build_grid_block(*body_grids.front(), body), 1);
    } else if (body_grids.size() > 1) {
        auto* splitter = new QSplitter(Qt::Vertical, body);
        splitter->setChildrenCollapsible(false);
        for (Grid* grid : body_grids)
            splitter->addWidget(build_grid_block(*grid, splitter));
        layout->addWidget(splitter, 1);
    } else {
        layout->addStretch(1);
    }
    setCentralWidget(body);
}

void WindowView::build_panes()
{
    setDockOptions(QMainWindow::AllowNestedDocks | QMainWindow::AllowTabbedDocks);
    // Panes of one side share it as tabs: opening them all never crushes the window's header.
    std::map<PaneArea, QDockWidget*> first_of_area;
    for (const Pane& pane : m_model->panes()) {
        auto* dock = new QDockWidget(pane.caption, this);
        dock->setObjectName(pane.name);
        auto* content = new QWidget;
        auto* layout = new QVBoxLayout(content);
        layout->setContentsMargins(6, 6, 6, 6);
        if (QWidget* fields = build_field_form(pane.name, content))
            layout->addWidget(fields);
        bool has_grid = false;
        for (Grid* grid : m_model->grids())
            if (grid->pane().compare(pane.name, Qt::CaseInsensitive) == 0) {
                layout->addWidget(build_grid_block(*grid, content), 1);
                has_grid = true;
            }
        if (!has_grid)
            layout->addStretch(1);
        // At least a sensible width, and never less than what the pane's fields need.
        layout->addSpacerItem(new QSpacerItem(fontMetrics().averageCharWidth() * PaneCharacters, 0, QSizePolicy::Fixed,
                                              QSizePolicy::Minimum));
        // A pane taller than its room (several grids at the foot of a small window) scrolls.
        dock->setWidget(new FormArea(content, Sideways::Never, dock));
        addDockWidget(dock_area(pane.area), dock);
        if (auto [first, added] = first_of_area.try_emplace(pane.area, dock); !added)
            tabifyDockWidget(first->second, dock);
        dock->setVisible(pane.visible);
        dock->installEventFilter(this);
        // The tab bars of panes sharing a side come with them.
        connect(dock, &QDockWidget::visibilityChanged, this, &WindowView::keep_pane_tabs_whole, Qt::QueuedConnection);
        m_docks.insert(pane.name, dock);
    }
    // Panes start narrow and low; the clerk widens them as needed.
    const int character = fontMetrics().averageCharWidth();
    const int line = fontMetrics().height();
    for (const auto& [area, dock] : first_of_area) {
        const bool side = area == PaneArea::Left || area == PaneArea::Right;
        resizeDocks({dock}, {side ? character * PaneCharacters : line * 9}, side ? Qt::Horizontal : Qt::Vertical);
    }
}

void WindowView::keep_pane_tabs_whole()
{
    // A pane's tab shows its whole title; tabs that do not fit scroll.
    for (QTabBar* tabs : findChildren<QTabBar*>(Qt::FindDirectChildrenOnly)) {
        tabs->setElideMode(Qt::ElideNone);
        tabs->setUsesScrollButtons(true);
    }
}

void WindowView::build_status()
{
    m_status_label = new QLabel(m_model->status(), this);
    m_mode_label = new QLabel(this);
    m_mode_label->setObjectName(QStringLiteral("mode"));
    m_mode_label->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("New entry")) + 16);
    m_mode_label->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(m_status_label, 1);
    // A busy bar with no end (the engines tell no progress of a count) and its Cancel.
    m_busy = new QProgressBar(this);
    m_busy->setRange(0, 0);
    m_busy->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Counting the rows")) * 2);
    m_busy->setTextVisible(false);
    m_cancel_work = new QToolButton(this);
    m_cancel_work->setText(QStringLiteral("Cancel"));
    connect(m_cancel_work, &QToolButton::clicked, m_model, &WindowModel::cancel_background_work);
    statusBar()->addPermanentWidget(m_busy);
    statusBar()->addPermanentWidget(m_cancel_work);
    statusBar()->addPermanentWidget(m_mode_label);
    statusBar()->setSizeGripEnabled(false);
    show_background_work(m_model->background_work());
}

void WindowView::show_background_work(const QString& text)
{
    m_busy->setVisible(!text.isEmpty());
    m_busy->setToolTip(text);
    m_cancel_work->setVisible(!text.isEmpty());
    m_cancel_work->setToolTip(text.isEmpty() ? QString() : QStringLiteral("Cancel: ") + text);
}

void WindowView::build_font_bar()
{
    const Command* save_font = m_model->find_command(to_int(CommandId::SaveFont));
    if (!save_font || m_grid_views.isEmpty())
        return;
    m_font_bar = new FontBar(*m_model, m_actions, this);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_font_bar);
    m_font_bar->setVisible(m_model->layouts().fontbar());
    // The column menu lists the columns of the grid the font bar acts on.
    connect(m_font_bar->columns_menu(), &QMenu::aboutToShow, this, [this] {
        if (ColumnChoice* columns = m_column_choices.value(m_model ? m_model->layouts().chosen_grid() : QString()))
            columns->fill_menu(*m_font_bar->columns_menu());
    });
    if (QMenu* menu = m_menus.value(save_font->menu)) {
        QAction* first = menu->actions().value(0);
        menu->insertAction(first, m_font_bar->toggleViewAction());
        menu->insertSeparator(first);
    }
    // Only the clerk's choice is remembered, not the bar hiding with its window.
    connect(m_font_bar->toggleViewAction(), &QAction::triggered, this, [this](bool shown) {
        if (m_model)
            m_model->layouts().set_fontbar(shown);
    });
    connect(m_font_bar, &FontBar::layoutEdited, this, &WindowView::refresh_grid_presentation);
}

void WindowView::connect_layouts()
{
    WindowLayouts& layouts = m_model->layouts();
    connect(&layouts, &WindowLayouts::layoutChanged, this, &WindowView::refresh_grid_presentation);
    connect(&layouts, &WindowLayouts::aboutToStore, this, &WindowView::record_layouts);
    connect(&layouts, &WindowLayouts::alternateRowsChanged, this, [this](bool on) {
        for (QTableView* view : std::as_const(m_grid_views))
            view->setAlternatingRowColors(on);
    });
    connect(&layouts, &WindowLayouts::fontbarChanged, this, [this](bool on) {
        if (m_font_bar)
            m_font_bar->setVisible(on);
    });
}

void WindowView::refresh_grid_presentation(const QString& grid)
{
    QTableView* view = m_grid_views.value(grid);
    if (auto* adapter = view ? qobject_cast<GridTableModel*>(view->model()) : nullptr)
        adapter->refresh_presentation();
}

void WindowView::record_layouts()
{
    if (!m_model)
        return;
    for (auto it = m_grid_views.cbegin(); it != m_grid_views.cend(); ++it)
        if (GridLayout* layout = m_model->layouts().layout(it.key()); layout && layout->stored())
            record_view_layout(*it.value(), *layout);
}

// Keeping in step with the model -------------------------------------------------------------------

void WindowView::connect_model()
{
    WindowModel* model = m_model;
    connect(model, &WindowModel::captionChanged, this, &QWidget::setWindowTitle);
    connect(model, &WindowModel::modeChanged, this, [this](WindowModel::Mode mode) {
        refresh_mode();
        refresh_all_field_states();
        for (FieldEditor* editor : std::as_const(m_editors))
            editor->clear_refusal();
        if (mode == WindowModel::Mode::New)
            focus_first_field();
    });
    connect(model, &WindowModel::commandAvailabilityChanged, this, &WindowView::refresh_all_commands);
    connect(model, &WindowModel::fieldValueChanged, this, [this](const QString& name) {
        if (FieldEditor* editor = m_editors.value(name))
            editor->refresh_value();
    });
    connect(model, &WindowModel::fieldStateChanged, this, [this](const QString& name) {
        if (FieldEditor* editor = m_editors.value(name)) {
            editor->refresh_choices();
            editor->refresh_state();
        }
    });
    connect(model, &WindowModel::commandChanged, this, &WindowView::refresh_command);
    connect(model, &WindowModel::paneVisibilityChanged, this, [this](const QString& name, bool visible) {
        if (QDockWidget* dock = m_docks.value(name))
            dock->setVisible(visible);
    });
    connect(model, &WindowModel::statusChanged, this, [this](const QString& text) { m_status_label->setText(text); });
    connect(model, &WindowModel::backgroundWorkChanged, this, &WindowView::show_background_work);
    connect(model, &WindowModel::closed, this, &WindowView::on_model_closed);
    connect(model, &QObject::destroyed, this, &WindowView::on_model_closed);
}

void WindowView::refresh_all_field_states()
{
    for (FieldEditor* editor : std::as_const(m_editors))
        editor->refresh_state();
    for (QTableView* view : std::as_const(m_grid_views))
        view->viewport()->update();
}

void WindowView::refresh_mode()
{
    if (!m_model)
        return;
    const QString text = mode_text(*m_model);
    m_mode_label->setText(text);
    m_mode_label->setVisible(!text.isEmpty());
}

void WindowView::on_model_closed()
{
    if (m_model_closed)
        return;
    m_model_closed = true;
    if (m_model)
        m_model->set_prompter(nullptr);
    // The model closes from inside one of its commands; the window goes once that has returned.
    QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    QTimer::singleShot(0, frame, &QWidget::close);
}

void WindowView::closeEvent(QCloseEvent* event)
{
    if (m_model_closed || !m_model || m_model->is_closed()) {
        event->accept();
        return;
    }
    // Closing the window is the Exit command: it may ask about unsaved work and stay open.
    event->ignore();
    QTimer::singleShot(0, this, [this] {
        if (!m_model || m_model_closed)
            return;
        if (const Command* exit = m_model->find_command(to_int(CommandId::Exit)); exit && exit->enabled)
            run_command(exit->id);
        else
            m_model->close_window(WindowModel::Closing::AskAboutChanges);
    });
}

bool WindowView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_model && !m_model_closed) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* table = qobject_cast<QTableView*>(watched);
        if (table && (key == Qt::Key_Return || key == Qt::Key_Enter) && activate_current_row(*table))
            return true;
    }
    if (event->type() == QEvent::Close && m_model && !m_model_closed) {
        for (auto it = m_docks.cbegin(); it != m_docks.cend(); ++it)
            if (it.value() == watched) {
                const Pane* pane = m_model->find_pane(it.key());
                if (pane && pane->visible)
                    m_model->show_pane(pane->name, false);
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

QSize WindowView::sizeHint() const
{
    const QSize natural = QMainWindow::sizeHint();
    return natural.expandedTo(QSize(960, 600)).boundedTo(QSize(1320, 820));
}

} // namespace zelkor
