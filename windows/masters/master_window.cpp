#include "windows/masters/master_window.h"

#include "windows/print/Form_report_format.h"
#include "windows/print/grid_report.h"

#include <QLoggingCategory>
#include <QSet>

namespace zelkor {

namespace {


const QString SavedKeyCaption = QStringLiteral("key as saved");
const QString SystemHelpFile = QStringLiteral("Purchase Order System Help.pdf");

} // namespace

MasterWindow::MasterWindow(QString class_name, QString caption, MasterTable table, MasterWords words, QObject* parent)
    : WindowModel(std::move(class_name), std::move(caption), Kind::Document, parent), m_table(std::move(table)),
      m_words(std::move(words)), m_grid_columns(m_table.columns.size(), -1), m_name_columns(m_table.columns.size(), -1),
      m_lists(m_table.columns.size()), m_names(m_table.columns.size())
{
    connect(this, &WindowModel::modeChanged, this, [this] { lock_entry_fields(); });
}

// Declarations ----------------------------------------------------------------------------------

Grid& MasterWindow::declare_master_grid(const QString& name)
{
    QStringList captions;
    for (size_t index = 0; index < m_table.columns.size(); ++index) {
        const MasterColumn& column = m_table.columns[index];
        if (column.caption.isEmpty())
            continue;
        m_grid_columns[index] = int(captions.size());
        captions << column.caption;
        if (!column.name_caption.isEmpty()) {
            m_name_columns[index] = int(captions.size());
            captions << column.name_caption;
        }
    }
    captions << SavedKeyCaption;
    Grid& grid = declare_grid(name, {}, captions);
    m_grid = &grid;
    grid.set_column_hidden(saved_key_column(), true);
    grid.set_column_read_only(saved_key_column(), true);
    for (int name_column : m_name_columns)
        if (name_column >= 0)
            grid.set_column_read_only(name_column, true);
    grid.set_edit_gate([this] { return !is_closed() && mode() == Mode::Edit; });
    const int key_column = grid_column(0);
    grid.set_cell_gate([this, key_column](int row, int column) { return column != key_column || saved_key(row).isEmpty(); });
    return grid;
}

void MasterWindow::on_open()
{
    load_lists();
    if (m_grid)
        reload();
}

// Lists and names -------------------------------------------------------------------------------

void MasterWindow::load_lists()
{
    if (!database())
        return;
    for (size_t index = 0; index < m_table.columns.size(); ++index) {
        const MasterColumn& column = m_table.columns[index];
        if (!column.list)
            continue;
        auto choices = Choices::load(*database(), *column.list);
        if (!choices) {
            report(choices.error(), QStringLiteral("Reading the lists of the window failed"));
            continue;
        }
        m_lists[index] = *choices;
        if (!column.field.isEmpty())
            set_field_choices(column.field, *choices);
        if (m_grid && grid_column(int(index)) >= 0)
            m_grid->set_column_choices(grid_column(int(index)), *choices);
    }
}

void MasterWindow::load_names()
{
    for (size_t index = 0; index < m_table.columns.size(); ++index) {
        const MasterColumn& column = m_table.columns[index];
        m_names[index].clear();
        if (column.names_sql.isEmpty())
            continue;
        auto rows = database()->select(column.names_sql);
        if (!rows) {
            report(rows.error(), QStringLiteral("Reading the names of the window failed"));
            continue;
        }
        for (const Row& row : *rows)
            m_names[index].insert(Row::to_text(row.value(0)), Row::to_text(row.value(1)));
    }
}

bool MasterWindow::listed(int table_column, const QString& value) const
{
    if (!m_table.columns[size_t(table_column)].list)
        return true;
    return m_lists[size_t(table_column)].find(value.trimmed()) >= 0;
}

void MasterWindow::show_name(int row, int table_column)
{
    const int name_column = m_name_columns[size_t(table_column)];
    if (name_column < 0)
        return;
    const QString value = m_grid->cell(row, grid_column(table_column)).trimmed();
    QString name = m_names[size_t(table_column)].value(value);
    if (name.isEmpty())
        name = m_lists[size_t(table_column)].lookup(value, 1);
    m_grid->set_cell(row, name_column, name);
}

// The grid --------------------------------------------------------------------------------------

int MasterWindow::saved_key_column() const { return m_grid ? m_grid->column_count() - 1 : -1; }

QString MasterWindow::saved_key(int row) const { return m_grid->cell(row, saved_key_column()); }

int MasterWindow::row_of_key(const QString& key) const
{
    for (int row = 0; row < m_grid->row_count(); ++row)
        if (saved_key(row) == key)
            return row;
    return -1;
}

MasterValues MasterWindow::values_of_row(int row) const
{
    MasterValues values;
    for (size_t index = 0; index < m_table.columns.size(); ++index)
        values << (grid_column(int(index)) >= 0 ? m_grid->cell(row, grid_column(int(index))) : QString());
    values[0] = values[0].trimmed();
    return values;
}

QStringList MasterWindow::grid_row_of(const Row& row) const
{
    QStringList cells;
    for (int column = 0; column < m_grid->column_count(); ++column)
        cells << QString();
    for (size_t index = 0; index < m_table.columns.size(); ++index) {
        const QString value = Row::to_text(row.value(int(index)));
        if (grid_column(int(index)) >= 0)
            cells[grid_column(int(index))] = value;
        if (m_name_columns[index] >= 0)
            cells[m_name_columns[index]] = m_names[index].value(value);
    }
    cells[saved_key_column()] = Row::to_text(row.value(0));
    return cells;
}

bool MasterWindow::reload()
{
    if (!m_grid || !database())
        return false;
    auto rows = load_master_rows(*database(), m_table);
    if (!rows) {
        report(rows.error(), QStringLiteral("Reading the rows of the window failed"));
        return false;
    }
    load_names();
    m_loaded.clear();
    std::vector<QStringList> cells;
    cells.reserve(rows->size());
    for (const Row& row : *rows) {
        MasterValues values;
        for (int index = 0; index < int(m_table.columns.size()); ++index)
            values << Row::to_text(row.value(index));
        m_loaded.insert(values.front(), values);
        cells.push_back(grid_row_of(row));
    }
    m_grid->restore_rows(std::move(cells));
    return true;
}

bool MasterWindow::browse(int id)
{
    if (!m_grid || m_grid->row_count() == 0)
        return false;
    const int current = std::max(m_grid->current_row(), 0);
    int row = m_grid->row_count() - 1;
    if (id == to_int(CommandId::FirstRecord))
        row = 0;
    else if (id == to_int(CommandId::PreviousRecord))
        row = std::max(current - 1, 0);
    else if (id == to_int(CommandId::NextRecord))
        row = std::min(current + 1, m_grid->row_count() - 1);
    m_grid->set_current(row, std::max(m_grid->current_column(), 0));
    return true;
}

// Checks ----------------------------------------------------------------------------------------

QString MasterWindow::with_value(QString sentence, const QString& value)
{
    return sentence.replace(QStringLiteral("%1"), value);
}

QString MasterWindow::failed_sentence(const QString& complete)
{
    QString sentence = complete;
    if (sentence.endsWith(QLatin1String("complete")))
        sentence.chop(int(qstrlen("complete")));
    return sentence + QStringLiteral("failed");
}

std::optional<QString> MasterWindow::refusal_of_values(const MasterValues& values) const
{
    for (size_t index = 1; index < m_table.columns.size(); ++index) {
        const MasterColumn& column = m_table.columns[index];
        const QString value = values.value(int(index)).trimmed();
        if (value.isEmpty() && !column.required.isEmpty())
            return column.required;
        if (!value.isEmpty() && !listed(int(index), value))
            return with_value(column.invalid, value);
    }
    return std::nullopt;
}

Entry MasterWindow::check_field(const QString& name, const QString& previous)
{
    const int column = m_table.column_of_field(name);
    const QString value = field(name);
    if (column < 0 || value.trimmed().isEmpty() || listed(column, value))
        return WindowModel::check_field(name, previous);
    message(with_value(m_table.columns[size_t(column)].invalid, value.trimmed()));
    set_field(name, previous);
    return Entry::Refused;
}

Entry MasterWindow::check_cell(Grid& grid, int row, int column, const QString& previous)
{
    if (&grid != m_grid)
        return WindowModel::check_cell(grid, row, column, previous);
    for (int index = 1; index < int(m_table.columns.size()); ++index) {
        if (grid_column(index) != column)
            continue;
        const QString value = grid.cell(row, column).trimmed();
        if (!value.isEmpty() && !listed(index, value)) {
            message(with_value(m_table.columns[size_t(index)].invalid, value));
            grid.set_cell(row, column, previous);
            return Entry::Refused;
        }
        show_name(row, index);
    }
    return Entry::Accepted;
}

// Modes and saving ------------------------------------------------------------------------------

QString MasterWindow::unsaved_question(Mode mode) const
{
    return mode == Mode::New ? m_words.new_question : WindowModel::unsaved_question(mode);
}

void MasterWindow::lock_entry_fields()
{
    // The entry fields take a new row; the grid is what edit mode changes.
    for (const MasterColumn& column : m_table.columns)
        if (!column.field.isEmpty() && m_grid)
            set_field_read_only(column.field, mode() != Mode::New);
}

bool MasterWindow::begin_new()
{
    for (const MasterColumn& column : m_table.columns)
        if (!column.field.isEmpty())
            set_field(column.field, QString());
    return true;
}

void MasterWindow::discard_changes(Mode left)
{
    if (left == Mode::New) {
        begin_new();
        return;
    }
    WindowModel::discard_changes(left);
}

bool MasterWindow::save_document()
{
    if (mode() == Mode::New)
        return add_from_fields();
    return mode() == Mode::Edit && m_grid && save_grid();
}

MasterValues MasterWindow::values_of_fields() const
{
    MasterValues values;
    for (const MasterColumn& column : m_table.columns)
        values << (column.field.isEmpty() ? QString() : field(column.field));
    values[0] = without_control_characters(values[0]).trimmed();
    return values;
}

bool MasterWindow::add_from_fields()
{
    if (!may_update())
        return false;
    const MasterValues values = values_of_fields();
    if (values.front().isEmpty()) {
        // Some windows say nothing at all about an empty key.
        if (!m_table.key().required.isEmpty())
            message(m_table.key().required);
        return false;
    }
    if (auto refusal = refusal_of_values(values)) {
        message(*refusal);
        return false;
    }
    if (!insert_row(values))
        return false;
    reload();
    if (const int row = row_of_key(values.front()); row >= 0)
        m_grid->set_current(row, 0);
    begin_new();
    message(m_words.added);
    return true;
}

namespace {

/// How writing a new row went inside a transaction.
enum class NewRow { Written, KeyTaken };

[[nodiscard]] std::expected<NewRow, Error> write_new_row(Database& db, const MasterTable& table, const MasterValues& values,
                                                         const std::vector<std::pair<QString, SqlValue>>& extra)
{
    auto taken = lock_master_row(db, table, values.front());
    if (!taken)
        return std::unexpected(taken.error());
    if (*taken)
        return NewRow::KeyTaken;
    if (auto inserted = insert_master_row(db, table, values, extra); !inserted)
        return std::unexpected(inserted.error());
    return NewRow::Written;
}

} // namespace

bool MasterWindow::insert_row(const MasterValues& values, const std::vector<std::pair<QString, SqlValue>>& extra)
{
    const QString key = values.front();
    std::expected<NewRow, Error> written = std::unexpected(Error::database({}));
    {
        Transaction tx(*database());
        if (!tx.active()) {
            report(tx.begin_error(), failed_sentence(m_words.added));
            return false;
        }
        written = write_new_row(*database(), m_table, values, extra);
        if (written && *written == NewRow::Written)
            if (auto committed = tx.commit(); !committed)
                written = std::unexpected(committed.error());
    }
    if (written && *written == NewRow::Written)
        return true;
    if (written) {
        message(key + QStringLiteral(" exist"));
        return false;
    }
    // A key another user added since the check fails the insert: it is still a taken key.
    if (auto now = master_row(*database(), m_table, key); now && *now)
        message(key + QStringLiteral(" exist"));
    else
        report(written.error(), failed_sentence(m_words.added));
    return false;
}

bool MasterWindow::save_grid()
{
    if (!may_update())
        return false;
    std::vector<MasterValues> added;
    std::vector<MasterValues> changed;
    QSet<QString> new_keys;
    for (int row = 0; row < m_grid->row_count(); ++row) {
        const MasterValues values = values_of_row(row);
        const QString saved = saved_key(row);
        if (!saved.isEmpty()) {
            MasterValues edited = values;
            edited[0] = saved;
            if (edited == m_loaded.value(saved))
                continue;
            if (auto refusal = refusal_of_values(edited)) {
                m_grid->set_current(row, 0);
                message(*refusal);
                return false;
            }
            changed.push_back(edited);
            continue;
        }
        if (m_grid->row_empty(row))
            continue;
        if (values.front().isEmpty()) {
            if (m_table.key().required.isEmpty())
                continue;
            m_grid->set_current(row, 0);
            message(m_table.key().required);
            return false;
        }
        std::optional<QString> refusal = m_loaded.contains(values.front()) || new_keys.contains(values.front())
                                             ? std::optional<QString>(values.front() + QStringLiteral(" exist"))
                                             : refusal_of_values(values);
        if (refusal) {
            m_grid->set_current(row, 0);
            message(*refusal);
            return false;
        }
        new_keys.insert(values.front());
        added.push_back(values);
    }
    std::optional<QString> taken;
    Error failure;
    bool committed = false;
    {
        Transaction tx(*database());
        if (!tx.active()) {
            report(tx.begin_error(), failed_sentence(m_words.updated));
            return false;
        }
        bool written = true;
        for (const MasterValues& values : added) {
            auto outcome = write_new_row(*database(), m_table, values, {});
            if (!outcome || *outcome == NewRow::KeyTaken) {
                written = false;
                if (outcome)
                    taken = values.front();
                else
                    failure = outcome.error();
                break;
            }
        }
        if (written)
            if (auto updated = update_master_rows(*database(), m_table, changed); !updated) {
                written = false;
                failure = updated.error();
            }
        if (written) {
            auto done = tx.commit();
            committed = done.has_value();
            if (!done)
                failure = done.error();
        }
    }
    if (!committed) {
        if (taken)
            message(*taken + QStringLiteral(" exist"));
        else
            report(failure, failed_sentence(m_words.updated), Outcome::RolledBack);
        return false;
    }
    reload();
    message(m_words.updated);
    return true;
}

// Deleting --------------------------------------------------------------------------------------

[[nodiscard]] std::expected<std::optional<QString>, Error> MasterWindow::delete_refusal(const QString& key)
{
    auto document = first_reference(*database(), m_table, key);
    if (!document)
        return std::unexpected(document.error());
    if (!*document)
        return std::optional<QString>();
    return std::optional<QString>(key + QStringLiteral(" is used by ") + **document + QStringLiteral(". Can not delete."));
}

bool MasterWindow::delete_master_row_asked(const QString& key)
{
    if (!may_update())
        return false;
    if (!ask_yes_no(with_value(m_words.delete_question, key), m_words.delete_title))
        return false;
    const QString failed = failed_sentence(m_words.deleted);
    Transaction tx(*database());
    if (!tx.active()) {
        report(tx.begin_error(), failed);
        return false;
    }
    if (auto locked = lock_master_row(*database(), m_table, key); !locked) {
        report(locked.error(), failed);
        return false;
    }
    auto refusal = delete_refusal(key);
    if (!refusal) {
        report(refusal.error(), failed);
        return false;
    }
    if (*refusal) {
        message(**refusal);
        return false;
    }
    if (auto deleted = delete_master_row(*database(), m_table, key); !deleted) {
        report(deleted.error(), failed);
        return false;
    }
    if (auto committed = tx.commit(); !committed) {
        report(committed.error(), failed);
        return false;
    }
    message(m_words.deleted);
    return true;
}

bool MasterWindow::delete_grid_row(int row)
{
    if (!m_grid || row < 0 || row >= m_grid->row_count())
        return false;
    const QString key = saved_key(row);
    if (key.isEmpty()) {
        // A row typed in and never saved only leaves the grid.
        if (mode() != Mode::Edit)
            return false;
        m_grid->remove_row(row);
        return true;
    }
    if (!delete_master_row_asked(key))
        return false;
    if (mode() == Mode::Edit) {
        // The other rows keep what the clerk has typed into them.
        m_grid->remove_row(row);
        m_loaded.remove(key);
    } else {
        reload();
    }
    return true;
}

int MasterWindow::append_line(Grid& grid)
{
    if (mode() != Mode::Edit)
        return -1;
    // New rows go at the end: the saved rows keep their order by key.
    const int row = grid.append_row();
    grid.set_current(row, 0);
    set_dirty(true);
    return row;
}

bool MasterWindow::delete_line()
{
    if (!m_grid || mode() != Mode::Edit || m_grid->current_row() < 0)
        return false;
    return delete_grid_row(m_grid->current_row());
}

// Printing, page setup and help -----------------------------------------------------------------

PrintList MasterWindow::print_list() const
{
    return print_list_of_grid(*m_grid, const_cast<MasterWindow*>(this)->layouts().layout(m_grid->name()),
                              m_words.print_title);
}

bool MasterWindow::preview(PrintList list, const QString& stem)
{
    if (!rights().print) {
        message(QStringLiteral("You have no right to print this window."));
        return false;
    }
    const QString title = list.title;
    auto file = write_window_report(*database(), settings(), class_name(), std::move(list), stem);
    if (!file) {
        report(file.error(), QStringLiteral("Preview failed"));
        return false;
    }
    notify(file->viewer, file->path, QStringLiteral("Preview ") + title);
    return true;
}

bool MasterWindow::open_page_setup()
{
    open_child_window(new Form_report_format(class_name()));
    return true;
}

bool MasterWindow::show_help(int id)
{
    const bool window_help = id == to_int(CommandId::WindowHelp);
    notify(QStringLiteral("pdf viewer"),
           help_document_path(settings().ZELKOR_PATH, window_help ? m_words.help_file : SystemHelpFile),
           window_help ? caption() + QStringLiteral(" Help") : QStringLiteral("Purchase Order System Help"));
    return true;
}

bool MasterWindow::run_command(int id)
{
    switch (CommandId(id)) {
    case CommandId::Print: return open_page_setup();
    case CommandId::Preview: return preview(print_list(), m_words.print_stem);
    case CommandId::WindowHelp:
    case CommandId::SystemHelp: return show_help(id);
    case CommandId::FirstRecord:
    case CommandId::PreviousRecord:
    case CommandId::NextRecord:
    case CommandId::LastRecord: return browse(id);
    case CommandId::InsertLine: return m_grid && append_line(*m_grid) >= 0;
    case CommandId::DeleteLine: return delete_line();
    case CommandId::Delete: return m_grid && delete_grid_row(m_grid->current_row());
    default: break;
    }
    return WindowModel::run_command(id);
}

} // namespace zelkor
