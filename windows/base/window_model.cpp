#include "windows/base/window_model.h"

#include "core/clock.h"
#include "core/fiscal_periods.h"
#include "core/master_lookups.h"
#include "core/rights.h"

#include <QDebug>

#include <algorithm>

namespace zelkor {

namespace {

const QString DefaultDateFormat = QStringLiteral("dd/mm/yyyy");

} // namespace

WindowModel::WindowModel(QString class_name, QString caption, Kind kind, QObject* parent)
    : QObject(parent), m_class_name(std::move(class_name)), m_caption(std::move(caption)), m_kind(kind)
{
    setObjectName(m_class_name);
}

WindowModel::~WindowModel() = default;

void WindowModel::apply_settings(const HostSettings& settings)
{
    m_settings = settings;
    load_rights();
}

void WindowModel::open()
{
    if (m_opened)
        return;
    m_opened = true;
    // Every window with grids offers the shared alternate-row colour switch.
    if (!m_grids.empty() && !has_command(to_int(CommandId::AlternateRows)))
        declare_command(CommandId::AlternateRows);
    if (database()) {
        m_layouts.open(*database(), m_class_name, m_settings.ZELKOR_USER, m_rights, m_grids);
        set_command_checked(to_int(CommandId::ShowTextBelowIcon), m_layouts.toolbar_text());
        set_command_checked(to_int(CommandId::AlternateRows), m_layouts.alternate_rows());
    }
    on_open();
}

void WindowModel::set_prompter(Prompter* prompter) { m_prompter = prompter; }

Prompter& WindowModel::prompter() const
{
    if (m_prompter)
        return *m_prompter;
    // A window nobody gave a prompter to logs what it says and answers every question No.
    auto& self = const_cast<WindowModel&>(*this);
    if (!self.m_fallback_prompter)
        self.m_fallback_prompter = std::make_unique<UnattendedPrompter>();
    return *self.m_fallback_prompter;
}

// Fields ----------------------------------------------------------------------------------------

Field* WindowModel::field_slot(const QString& name)
{
    for (Field& field : m_fields)
        if (field.name().compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    return nullptr;
}

const Field* WindowModel::find_field(const QString& name) const
{
    return const_cast<WindowModel*>(this)->field_slot(name);
}

QString WindowModel::field(const QString& name) const
{
    const Field* field = find_field(name);
    Q_ASSERT_X(field, "WindowModel::field", qPrintable(m_class_name + ": no field " + name));
    return field ? field->value : QString();
}

bool WindowModel::field_editable(const QString& name) const
{
    const Field* field = find_field(name);
    if (!field || field->read_only || m_closed)
        return false;
    return !(m_kind == Kind::Document && m_mode == Mode::Read && field->declaration.lock == ReadModeLock::Locked);
}

Entry WindowModel::type_into(const QString& name, const QString& value)
{
    Field* field = field_slot(name);
    if (!field)
        return Entry::Unknown;
    if (!field_editable(name))
        return Entry::ReadOnly;
    const QString previous = field->value;
    const QString canonical = field->name();
    const TextLines lines = field->kind() == FieldKind::MultiLine ? TextLines::Kept : TextLines::Single;
    set_field(canonical, without_control_characters(value, lines));
    if (m_mode != Mode::Read && previous != field->value)
        set_dirty(true);
    const Entry entry = check_field(canonical, previous);
    // A refused value never stays: the field shows what it held before.
    if (entry == Entry::Refused)
        set_field(canonical, previous);
    return entry;
}

void WindowModel::set_field(const QString& name, const QString& value)
{
    Field* field = field_slot(name);
    Q_ASSERT_X(field, "WindowModel::set_field", qPrintable(m_class_name + ": no field " + name));
    if (!field || field->value == value)
        return;
    field->value = value;
    emit fieldValueChanged(field->name());
}

void WindowModel::set_field_read_only(const QString& name, bool read_only)
{
    Field* field = field_slot(name);
    Q_ASSERT_X(field, "WindowModel::set_field_read_only", qPrintable(m_class_name + ": no field " + name));
    if (!field || field->read_only == read_only)
        return;
    field->read_only = read_only;
    emit fieldStateChanged(field->name());
}

void WindowModel::set_field_choices(const QString& name, Choices choices)
{
    Field* field = field_slot(name);
    Q_ASSERT_X(field, "WindowModel::set_field_choices", qPrintable(m_class_name + ": no field " + name));
    if (!field)
        return;
    field->choices = std::move(choices);
    emit fieldStateChanged(field->name());
}

[[nodiscard]] std::expected<QDate, Error> WindowModel::field_date(const QString& name) const
{
    const QString typed = field(name).trimmed();
    if (typed.isEmpty())
        return QDate();
    const QString& format = m_settings.ZELKOR_DATE_FORMAT.isEmpty() ? DefaultDateFormat : m_settings.ZELKOR_DATE_FORMAT;
    return parse_user_date(typed, format);
}

void WindowModel::set_field_date(const QString& name, const QDate& date)
{
    const QString& format = m_settings.ZELKOR_DATE_FORMAT.isEmpty() ? DefaultDateFormat : m_settings.ZELKOR_DATE_FORMAT;
    set_field(name, date.isValid() ? format_user_date(date, format) : QString());
}

Field& WindowModel::declare_field(FieldSpec declaration)
{
    Q_ASSERT_X(!find_field(declaration.name), "WindowModel::declare_field", qPrintable("field declared twice: " + declaration.name));
    Field field;
    field.read_only = declaration.read_only;
    field.declaration = std::move(declaration);
    m_fields.push_back(std::move(field));
    return m_fields.back();
}

// Grids and panes -------------------------------------------------------------------------------

Grid& WindowModel::declare_grid(const QString& name, const QString& caption, const QStringList& columns,
                                const QString& pane)
{
    Q_ASSERT_X(!grid(name), "WindowModel::declare_grid", qPrintable("grid declared twice: " + name));
    auto* grid = new Grid(name, caption, columns, this);
    grid->set_pane(pane);
    grid->set_cell_check([this](Grid& g, int row, int column, const QString& previous) {
        return cell_typed(g, row, column, previous);
    });
    grid->set_edit_gate([this] { return !m_closed && (m_kind == Kind::Other || m_mode != Mode::Read); });
    // The line commands follow the lines and the row the user is on.
    connect(grid, &Grid::currentRowChanged, this, &WindowModel::commandAvailabilityChanged);
    connect(grid, &Grid::rowsRemoved, this, &WindowModel::commandAvailabilityChanged);
    connect(grid, &Grid::gridReset, this, &WindowModel::commandAvailabilityChanged);
    connect(grid, &Grid::readOnlyChanged, this, &WindowModel::commandAvailabilityChanged);
    m_grids.push_back(grid);
    return *grid;
}

Entry WindowModel::cell_typed(Grid& grid, int row, int column, const QString& previous)
{
    if (m_mode != Mode::Read && grid.cell(row, column) != previous)
        set_dirty(true);
    const Entry entry = check_cell(grid, row, column, previous);
    // A refused value never stays: the cell shows what it held before.
    if (entry == Entry::Refused && row < grid.row_count())
        grid.set_cell(row, column, previous);
    return entry;
}

Grid* WindowModel::grid(const QString& name) const
{
    for (Grid* grid : m_grids)
        if (grid->name().compare(name, Qt::CaseInsensitive) == 0)
            return grid;
    return nullptr;
}

Grid* WindowModel::main_grid() const
{
    for (Grid* grid : m_grids)
        if (grid->pane().isEmpty())
            return grid;
    return nullptr;
}

Pane& WindowModel::declare_pane(const QString& name, const QString& caption, PaneArea area, int toggle_command)
{
    m_panes.push_back(Pane{name, caption, area, false, toggle_command});
    return m_panes.back();
}

const Pane* WindowModel::find_pane(const QString& name) const
{
    for (const Pane& pane : m_panes)
        if (pane.name.compare(name, Qt::CaseInsensitive) == 0)
            return &pane;
    return nullptr;
}

void WindowModel::show_pane(const QString& name, bool visible)
{
    for (Pane& pane : m_panes) {
        if (pane.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (pane.visible != visible) {
            pane.visible = visible;
            emit paneVisibilityChanged(pane.name, visible);
        }
        if (pane.toggle_command)
            set_command_checked(pane.toggle_command, visible);
        return;
    }
}

// Commands --------------------------------------------------------------------------------------

void WindowModel::declare_command(CommandId id)
{
    const auto declaration = common_command(to_int(id));
    Q_ASSERT_X(declaration, "WindowModel::declare_command", "not a shared command id");
    if (declaration)
        declare_command(*declaration);
}

void WindowModel::declare_command(CommandId id, const QString& caption)
{
    declare_command(id);
    if (!m_commands.empty() && m_commands.back().id == to_int(id))
        m_commands.back().caption = caption;
}

void WindowModel::declare_command(const CommandSpec& declaration)
{
    Q_ASSERT_X(!find_command(declaration.id), "WindowModel::declare_command",
               qPrintable(QStringLiteral("command declared twice: %1").arg(declaration.id)));
    Command command;
    command.id = declaration.id;
    command.caption = to_qstring(declaration.caption);
    command.menu = to_qstring(declaration.menu);
    command.toolbar = declaration.toolbar;
    command.checkable = declaration.checkable == Checkable::Yes;
    command.right = declaration.right;
    command.enabled = allowed(command);
    m_commands.push_back(command);
}

void WindowModel::declare_commands(std::span<const CommandSpec> declarations)
{
    for (const CommandSpec& declaration : declarations)
        declare_command(declaration);
}

const Command* WindowModel::find_command(int id) const
{
    for (const Command& command : m_commands)
        if (command.id == id)
            return &command;
    return nullptr;
}

void WindowModel::set_command_enabled(int id, bool enabled)
{
    for (Command& command : m_commands) {
        if (command.id != id)
            continue;
        if (enabled)
            m_disabled_by_window.remove(id);
        else
            m_disabled_by_window.insert(id);
        // A command the user has no right to stays disabled whatever the window asks.
        const bool effective = enabled && allowed(command);
        if (command.enabled != effective) {
            command.enabled = effective;
            emit commandChanged(id);
        }
        return;
    }
}

void WindowModel::set_command_checked(int id, bool checked)
{
    for (Command& command : m_commands) {
        if (command.id != id)
            continue;
        if (command.checked != checked) {
            command.checked = checked;
            emit commandChanged(id);
        }
        return;
    }
}

bool WindowModel::command_applies(int id) const
{
    return !m_closed && has_command(id) && command_applies_now(id);
}

bool WindowModel::command_applies_now(int id) const
{
    const bool entering = m_kind == Kind::Other || m_mode != Mode::Read;
    switch (CommandId(id)) {
    case CommandId::Save: return entering;
    case CommandId::InsertLine: return entering && main_grid() && !main_grid()->read_only();
    case CommandId::DeleteLine:
        return entering && main_grid() && !main_grid()->read_only() && main_grid()->current_row() >= 0;
    default: return true;
    }
}

bool WindowModel::allowed(const Command& command) const
{
    return m_rights.allows(command.right);
}

void WindowModel::load_rights()
{
    m_rights = m_settings.abcdb ? zelkor::load_rights(*m_settings.abcdb, m_class_name, m_settings.ZELKOR_USER) : Rights{};
    for (Command& command : m_commands) {
        const bool enabled = !m_disabled_by_window.contains(command.id) && allowed(command);
        if (command.enabled != enabled) {
            command.enabled = enabled;
            emit commandChanged(command.id);
        }
    }
}

bool WindowModel::execute(int id)
{
    const Command* command = find_command(id);
    if (m_closed || !command || !command->enabled || !allowed(*command))
        return false;
    return run_command(id);
}

bool WindowModel::run_command(int id)
{
    switch (CommandId(id)) {
    case CommandId::Exit: return exit_window(Closing::AskAboutChanges);
    case CommandId::New: return toggle_new();
    case CommandId::EditMode: return toggle_edit();
    case CommandId::Save: return save_and_leave();
    case CommandId::InsertLine: {
        Grid* lines = main_grid();
        if (!lines || lines->read_only() || (m_kind == Kind::Document && m_mode == Mode::Read))
            return false;
        lines->insert_row(lines->current_row() < 0 ? lines->row_count() : lines->current_row());
        set_dirty(m_mode != Mode::Read);
        return true;
    }
    case CommandId::DeleteLine: {
        Grid* lines = main_grid();
        if (!lines || lines->read_only() || lines->current_row() < 0
            || (m_kind == Kind::Document && m_mode == Mode::Read))
            return false;
        lines->remove_row(lines->current_row());
        set_dirty(m_mode != Mode::Read);
        return true;
    }
    case CommandId::ShowTextBelowIcon:
        m_layouts.set_toolbar_text(!find_command(id)->checked);
        set_command_checked(id, m_layouts.toolbar_text());
        return true;
    case CommandId::AlternateRows:
        m_layouts.set_alternate_rows(!find_command(id)->checked);
        set_command_checked(id, m_layouts.alternate_rows());
        return true;
    default: break;
    }
    if (WindowLayouts::handles(id))
        return m_layouts.execute(id, prompter());
    for (const Pane& pane : m_panes)
        if (pane.toggle_command == id) {
            show_pane(pane.name, !pane.visible);
            return true;
        }
    return false;
}

// Modes -----------------------------------------------------------------------------------------

void WindowModel::set_mode(Mode mode)
{
    set_command_checked(to_int(CommandId::New), mode == Mode::New);
    set_command_checked(to_int(CommandId::EditMode), mode == Mode::Edit);
    if (m_mode == mode)
        return;
    m_mode = mode;
    if (mode == Mode::Edit) {
        m_shown_values.clear();
        for (const Field& field : m_fields)
            m_shown_values.push_back(field.value);
        m_shown_rows.clear();
        for (const Grid* grid : m_grids)
            m_shown_rows.push_back(grid->rows());
    }
    emit modeChanged(mode);
    emit commandAvailabilityChanged();
}

void WindowModel::set_dirty(bool dirty) { m_dirty = dirty; }

bool WindowModel::settle_unsaved_work()
{
    if (m_mode == Mode::Read)
        return true;
    if (m_dirty) {
        if (ask_yes_no(unsaved_question(m_mode), m_caption)) {
            if (!save_document())
                return false;
            m_dirty = false;
            return true;
        }
    }
    discard_changes(m_mode);
    m_dirty = false;
    return true;
}

bool WindowModel::toggle_new()
{
    const bool leaving_new = m_mode == Mode::New;
    if (!settle_unsaved_work()) {
        set_mode(m_mode); // puts the toggle back in step with the mode
        return false;
    }
    set_mode(Mode::Read);
    if (leaving_new)
        return true;
    if (!begin_new())
        return false;
    m_dirty = false;
    set_mode(Mode::New);
    return true;
}

bool WindowModel::toggle_edit()
{
    const bool leaving_edit = m_mode == Mode::Edit;
    if (!settle_unsaved_work()) {
        set_mode(m_mode);
        return false;
    }
    set_mode(Mode::Read);
    if (leaving_edit)
        return true;
    if (!begin_edit())
        return false;
    m_dirty = false;
    set_mode(Mode::Edit);
    return true;
}

bool WindowModel::save_and_leave()
{
    if (m_kind == Kind::Document && m_mode == Mode::Read)
        return false;
    if (!save_document())
        return false;
    m_dirty = false;
    if (m_kind == Kind::Document)
        set_mode(Mode::Read);
    return true;
}

bool WindowModel::activate_row(Grid& grid, int row)
{
    if (m_closed || row < 0 || row >= grid.row_count())
        return false;
    grid.set_current(row, std::max(grid.current_column(), 0));
    return on_row_activated(grid, row);
}

bool WindowModel::delete_row(Grid& grid, int row)
{
    if (m_closed || !grid.has_delete_buttons() || row < 0 || row >= grid.row_count())
        return false;
    grid.set_current(row, std::max(grid.current_column(), 0));
    return on_row_delete(grid, row);
}

bool WindowModel::close_window(Closing closing)
{
    return exit_window(closing);
}

bool WindowModel::exit_window(Closing closing)
{
    if (m_closed)
        return false;
    if (closing == Closing::AskAboutChanges && !settle_unsaved_work())
        return false;
    on_closing();
    m_layouts.close();
    m_closed = true;
    emit closed();
    notify(QStringLiteral("Next App"));
    return true;
}

// Default hooks ---------------------------------------------------------------------------------

Entry WindowModel::check_field(const QString&, const QString&) { return Entry::Accepted; }

Entry WindowModel::check_cell(Grid&, int, int, const QString&) { return Entry::Accepted; }

bool WindowModel::on_row_activated(Grid&, int) { return false; }

bool WindowModel::on_row_delete(Grid&, int) { return false; }

QString WindowModel::unsaved_question(Mode mode) const
{
    return mode == Mode::New ? QStringLiteral("Do you want to save new entry?")
                             : QStringLiteral("Do you want to save editing?");
}

bool WindowModel::begin_new()
{
    clear_document();
    return true;
}

bool WindowModel::begin_edit() { return true; }

bool WindowModel::save_document() { return false; }

void WindowModel::discard_changes(Mode left)
{
    if (left == Mode::New) {
        clear_document();
        return;
    }
    if (left != Mode::Edit || m_shown_values.size() != m_fields.size() || m_shown_rows.size() != m_grids.size())
        return;
    for (size_t index = 0; index < m_fields.size(); ++index)
        set_field(m_fields[index].name(), m_shown_values[index]);
    for (size_t index = 0; index < m_grids.size(); ++index)
        m_grids[index]->restore_rows(m_shown_rows[index]);
}

// Helpers ---------------------------------------------------------------------------------------

void WindowModel::report(const Error& error, const QString& failed, Outcome outcome)
{
    if (!error.detail.isEmpty())
        qWarning().noquote() << m_class_name << (failed.isEmpty() ? error.message : failed) << "|" << error.detail;
    const bool has_sentence = error.kind != Error::Kind::Database && !error.message.isEmpty();
    if (has_sentence)
        message(error.message);
    if (!failed.isEmpty() && (outcome == Outcome::RolledBack || !has_sentence))
        message(failed);
}

bool WindowModel::refuse(const QString& text)
{
    message(text);
    return false;
}

Entry WindowModel::refuse_entry(const QString& text)
{
    message(text);
    return Entry::Refused;
}

bool WindowModel::may_update()
{
    if (m_rights.update)
        return true;
    message(NoUpdateRight);
    return false;
}

void WindowModel::notify(const QString& formx, const QString& docnox, const QString& arg2)
{
    emit NotifyClients(formx, docnox, arg2);
}

void WindowModel::message(const QString& text, const QString& title)
{
    prompter().message(text, title.isEmpty() ? m_caption : title);
}

bool WindowModel::ask_yes_no(const QString& text, const QString& title)
{
    return prompter().ask_yes_no(text, title.isEmpty() ? m_caption : title);
}

void WindowModel::set_status(const QString& text)
{
    if (m_status == text)
        return;
    m_status = text;
    emit statusChanged(text);
}

void WindowModel::set_background_work(const QString& text)
{
    if (m_background_work == text)
        return;
    m_background_work = text;
    emit backgroundWorkChanged(text);
}

void WindowModel::cancel_background_work()
{
    if (m_background_work.isEmpty())
        return;
    on_cancel_background_work();
    set_background_work({});
}

void WindowModel::set_caption(const QString& caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    emit captionChanged(caption);
}

void WindowModel::load_choices(const QString& name, const PickList& list)
{
    if (!database())
        return;
    auto choices = Choices::load(*database(), list);
    if (!choices) {
        qWarning().noquote() << m_class_name << name << "list:" << choices.error().detail;
        return;
    }
    set_field_choices(name, std::move(*choices));
}

QDate WindowModel::today() const { return Clock::today(); }

WindowModel& WindowModel::open_child_window(WindowModel* child)
{
    child->setParent(this);
    child->apply_settings(m_settings);
    if (m_prompter)
        child->set_prompter(m_prompter);
    connect(child, &WindowModel::closed, child, &QObject::deleteLater);
    child->open();
    emit childWindowOpened(child);
    return *child;
}

void WindowModel::clear_document()
{
    for (const Field& field : m_fields)
        if (field.declaration.pane.isEmpty())
            set_field(field.name(), QString());
    for (Grid* grid : m_grids)
        if (grid->pane().isEmpty())
            grid->clear();
}

} // namespace zelkor
