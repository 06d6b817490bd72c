#include "windows/base/window_layouts.h"

#include "windows/base/command_ids.h"
#include "windows/base/form_properties.h"
#include "windows/base/grid.h"
#include "windows/base/prompter.h"

#include <QLoggingCategory>

namespace zelkor {

Q_LOGGING_CATEGORY(lcWindowLayouts, "zelkor.window_layouts")

namespace {

void log_failure(const char* what, const QString& form, const Error& error)
{
    qCWarning(lcWindowLayouts).noquote() << what << "of" << form << "failed:" << error.detail;
}

} // namespace

WindowLayouts::WindowLayouts(QObject* parent) : QObject(parent) {}

void WindowLayouts::open(Database& db, const QString& form, const QString& userid, const Rights& rights,
                         const std::vector<Grid*>& grids)
{
    m_db = &db;
    m_form = form;
    m_userid = userid;
    m_rights = rights;
    m_grids = grids;
    m_layouts.clear();
    for (Grid* grid : grids)
        m_layouts[grid->name()] = restore_grid(db, form, *grid, userid);
    if (!grids.empty())
        choose_grid(grids.front()->name());

    if (auto properties = load_form_properties(db, userid, form); !properties)
        log_failure("reading form properties", form, properties.error());
    else if (*properties) {
        if ((*properties)->toolbar_text)
            set_toolbar_text(*(*properties)->toolbar_text);
        if ((*properties)->fontbar)
            set_fontbar(*(*properties)->fontbar);
    }
    if (auto alternate = alternate_row_colour(db); alternate && *alternate != m_alternate_rows) {
        m_alternate_rows = *alternate;
        emit alternateRowsChanged(m_alternate_rows);
    }
}

void WindowLayouts::close()
{
    if (!m_db)
        return;
    emit aboutToStore();
    if (m_rights.allows(Right::Design)) {
        for (const auto& [grid, layout] : m_layouts)
            if (auto saved = save_grid(*m_db, layout); !saved)
                log_failure("saving a grid layout", m_form, saved.error());
    }
    if (auto saved = save_form_properties(*m_db, m_userid, m_form, m_toolbar_text, m_fontbar); !saved)
        log_failure("saving form properties", m_form, saved.error());
}

GridLayout* WindowLayouts::layout(const QString& grid)
{
    auto found = m_layouts.find(grid);
    return found == m_layouts.end() ? nullptr : &found->second;
}

void WindowLayouts::choose_grid(const QString& grid)
{
    m_font_grid = grid;
    m_font_panel.attach(layout(grid));
}

void WindowLayouts::set_toolbar_text(bool on)
{
    if (std::exchange(m_toolbar_text, on) != on)
        emit toolbarTextChanged(on);
}

void WindowLayouts::set_fontbar(bool on)
{
    if (std::exchange(m_fontbar, on) != on)
        emit fontbarChanged(on);
}

void WindowLayouts::set_alternate_rows(bool on)
{
    m_alternate_rows = on;
    if (m_db)
        if (auto stored = set_alternate_row_colour(*m_db, on); !stored)
            log_failure("storing the alternate-row colour", m_form, stored.error());
    emit alternateRowsChanged(on);
}

bool WindowLayouts::handles(int command_id)
{
    return command_id >= to_int(CommandId::SaveFont) && command_id <= to_int(CommandId::AlignRight);
}

bool WindowLayouts::execute(int command_id, Prompter& prompter)
{
    GridLayout* layout = m_font_panel.layout();
    if (!layout || !m_db || !handles(command_id) || !m_rights.allows(Right::Design))
        return false;
    switch (CommandId(command_id)) {
    case CommandId::SaveFont:
        if (auto saved = save_grid_fonts(*m_db, *layout); !saved) {
            log_failure("saving fonts", m_form, saved.error());
            return false;
        }
        prompter.message(QStringLiteral("save font complete"));
        return true;
    case CommandId::RestoreFont:
        if (auto restored = restore_grid_fonts(*m_db, *layout); !restored) {
            log_failure("restoring fonts", m_form, restored.error());
            return false;
        }
        break;
    case CommandId::Bold: m_font_panel.toggle_bold(); break;
    case CommandId::Italic: m_font_panel.toggle_italic(); break;
    case CommandId::Underline: m_font_panel.toggle_underline(); break;
    case CommandId::AlignLeft: m_font_panel.align(Qt::AlignLeft); break;
    case CommandId::AlignCenter: m_font_panel.align(Qt::AlignHCenter); break;
    case CommandId::AlignRight: m_font_panel.align(Qt::AlignRight); break;
    default: return false;
    }
    align_grid_columns();
    emit layoutChanged(m_font_grid);
    return true;
}

void WindowLayouts::align_grid_columns()
{
    const GridLayout* layout = m_font_panel.layout();
    for (Grid* grid : m_grids) {
        if (!layout || grid->name() != m_font_grid)
            continue;
        for (const ColumnLayout& column : layout->columns)
            if (column.alignment && column.column < grid->column_count())
                grid->set_column_alignment(column.column, *column.alignment);
    }
}

} // namespace zelkor
