#include "windows/masters/POform_vendor_group.h"

#include "windows/print/grid_report.h"

#include <QLoggingCategory>
#include <QSet>

namespace zelkor {

namespace {

Q_LOGGING_CATEGORY(lcVendorGroups, "zelkor.vendor_groups")

const QString GroupField = QStringLiteral("vendor_group");
const QString GroupColumn = QStringLiteral("vendor group");
const QString VendorColumn = QStringLiteral("vendor no");
const QString NameColumn = QStringLiteral("name");
const QString SavedVendorColumn = QStringLiteral("vendor as saved");
const QString MemberUpdated = QStringLiteral("update complete");

PickList group_list()
{
    return PickList{QStringLiteral("SELECT group_name FROM Vendor_group_master_table ORDER BY group_name"), {},
                    QStringLiteral("0;2500;<;Group name")};
}

MasterTable group_table()
{
    return MasterTable{
        QStringLiteral("Vendor_group_master_table"),
        {
            {QStringLiteral("group_name"), QStringLiteral("group name"), QStringLiteral("group_name"),
             QStringLiteral("please specify group name")},
            {QStringLiteral("Description"), QStringLiteral("description"), QStringLiteral("description")},
        },
    };
}

MasterWords group_words()
{
    MasterWords words;
    words.new_question = QStringLiteral("Do you want to save new group?");
    words.added = QStringLiteral("Add new customer group complete");
    words.delete_question = QStringLiteral("Are you sure to delete vendor group %1?");
    words.print_title = QStringLiteral("VENDOR GROUP MASTER");
    words.print_stem = QStringLiteral("vendor_group_master");
    words.help_file = QStringLiteral("Vendor Group Help.pdf");
    return words;
}

} // namespace

POform_vendor_group::POform_vendor_group(QObject* parent)
    : MasterWindow(QStringLiteral("POform_vendor_group"), QStringLiteral("Vendor Group"), group_table(), group_words(),
                   parent)
{
    using K = FieldKind;
    declare_field({"group_name", "Group name", K::Text, 0});
    declare_field({"description", "Description", K::Text, 0});
    declare_field({"vendor_group", "Group", K::DropDown, 1, {}, false, ReadModeLock::Open});
    declare_master_grid(QStringLiteral("dbgrid_group"));
    m_members = &declare_grid("dbgrid_member", {}, {GroupColumn, VendorColumn, NameColumn, SavedVendorColumn});
    const int saved = m_members->required_column(SavedVendorColumn);
    m_members->set_column_hidden(saved, true);
    m_members->set_column_read_only(saved, true);
    m_members->set_column_read_only(m_members->required_column(NameColumn), true);
    m_members->set_edit_gate([this] { return !is_closed() && mode() == Mode::Edit && m_view == View::Members; });
    // A listed vendor stays the row's vendor; rows typed in take theirs.
    const int vendor = m_members->required_column(VendorColumn);
    m_members->set_cell_gate([this, vendor, saved](int row, int column) {
        return column != vendor || m_members->cell(row, saved).isEmpty();
    });
    m_members->set_shown(false);

    declare_command(CommandId::Exit);
    declare_command(CommandId::Save);
    declare_command(PageSetupCommand);
    declare_command(CommandId::Preview);
    declare_command({to_int(Command::Find), "&Find", menus::Edit, true, Right::None});
    declare_command(CommandId::New);
    declare_command(CommandId::EditMode);
    declare_command(CommandId::InsertLine);
    declare_command(CommandId::DeleteLine);
    declare_command({to_int(CommandId::Delete), "&Delete", menus::Edit, true, Right::Update, Checkable::Yes});
    declare_command({to_int(Command::Back), "Back", menus::View, true, Right::None});
    declare_command(CommandId::WindowHelp, "Vendor Group Help");
    declare_command(CommandId::SystemHelp);
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
    set_command_enabled(to_int(Command::Back), false);
}

void POform_vendor_group::on_open()
{
    MasterWindow::on_open();
    load_member_lists();
}

void POform_vendor_group::load_member_lists()
{
    if (auto vendors = Choices::load(*database(), pick_lists::vendor_by_number()))
        m_vendors = *vendors;
    else
        qCWarning(lcVendorGroups).noquote() << "vendor list:" << vendors.error().detail;
    if (auto names = Choices::load(*database(), group_list()))
        m_group_names = *names;
    else
        qCWarning(lcVendorGroups).noquote() << "group list:" << names.error().detail;
    set_field_choices(GroupField, m_group_names);
    m_members->set_column_choices(m_members->required_column(VendorColumn), m_vendors);
    m_members->set_column_choices(m_members->required_column(GroupColumn), m_group_names);
}

// Views -----------------------------------------------------------------------------------------

void POform_vendor_group::show_view(View view)
{
    m_view = view;
    groups().set_shown(view == View::Groups);
    members().set_shown(view == View::Members);
    set_command_enabled(to_int(Command::Back), view == View::Members);
    layouts().choose_grid(shown_grid().name());
    show_delete_buttons();
}

bool POform_vendor_group::show_members(const QString& group)
{
    auto rows = database()->select(QStringLiteral("SELECT vendor_group, vendor_no, vendor_name FROM Vendor_table"
                                                  " WHERE vendor_group = ? ORDER BY vendor_group, vendor_no"),
                                   {group});
    if (!rows) {
        report(rows.error(), QStringLiteral("Reading the vendors of the group failed"));
        return false;
    }
    m_loaded_groups.clear();
    std::vector<QStringList> cells;
    for (const Row& row : *rows) {
        const QString vendor = row.text(u"vendor_no");
        m_loaded_groups.insert(vendor, row.text(u"vendor_group"));
        cells.push_back({row.text(u"vendor_group"), vendor, row.text(u"vendor_name"), vendor});
    }
    members().restore_rows(std::move(cells));
    show_view(View::Members);
    return true;
}

bool POform_vendor_group::on_row_activated(Grid& grid, int row)
{
    if (&grid != &groups())
        return false;
    const QString group = saved_key(row);
    if (group.isEmpty() || !leave_edit())
        return false;
    set_field(GroupField, group);
    return show_members(group);
}

Entry POform_vendor_group::check_field(const QString& name, const QString& previous)
{
    if (name != GroupField)
        return MasterWindow::check_field(name, previous);
    const QString group = field(GroupField).trimmed();
    if (group.isEmpty())
        return Entry::Accepted;
    if (m_group_names.find(group) < 0) {
        message(group + QStringLiteral(" is invalid."));
        set_field(GroupField, previous);
        return Entry::Refused;
    }
    if (!leave_edit()) {
        set_field(GroupField, previous);
        return Entry::Refused;
    }
    set_field(GroupField, m_group_names.value_of(m_group_names.find(group)));
    show_members(field(GroupField));
    return Entry::Accepted;
}

bool POform_vendor_group::begin_edit()
{
    m_rows_at_edit = shown_grid().rows();
    return true;
}

bool POform_vendor_group::list_edited() const
{
    return shown_grid().rows() != m_rows_at_edit;
}

bool POform_vendor_group::leave_edit()
{
    if (mode() == Mode::New)
        return settle_unsaved_work() && (set_mode(Mode::Read), true);
    if (mode() != Mode::Edit)
        return true;
    if (list_edited() && ask_yes_no(QStringLiteral("Do you want to save editing?"))) {
        if (!save_document())
            return false;
    } else {
        discard_changes(Mode::Edit);
    }
    set_mode(Mode::Read);
    return true;
}

// Saving ----------------------------------------------------------------------------------------

bool POform_vendor_group::save_document()
{
    if (mode() == Mode::Edit && m_view == View::Members)
        return save_members();
    if (!MasterWindow::save_document())
        return false;
    load_member_lists();
    return true;
}

Entry POform_vendor_group::check_cell(Grid& grid, int row, int column, const QString& previous)
{
    if (&grid != m_members)
        return MasterWindow::check_cell(grid, row, column, previous);
    const QString value = grid.cell(row, column).trimmed();
    if (value.isEmpty())
        return Entry::Accepted;
    const bool vendor = column == grid.required_column(VendorColumn);
    const Choices& list = vendor ? m_vendors : m_group_names;
    if (column != grid.required_column(GroupColumn) && !vendor)
        return Entry::Accepted;
    if (list.find(value) < 0) {
        message(vendor ? QStringLiteral("vendor no is invalid.") : value + QStringLiteral(" is invalid."));
        grid.set_cell(row, column, previous);
        return Entry::Refused;
    }
    grid.set_cell(row, column, list.value_of(list.find(value)));
    if (vendor)
        grid.set_cell(row, NameColumn, list.lookup(value, 1));
    return Entry::Accepted;
}

bool POform_vendor_group::save_members()
{
    if (!may_update())
        return false;
    Grid& grid = members();
    std::vector<std::pair<QString, QString>> moves; // vendor, new group
    QSet<QString> listed;
    for (int row = 0; row < grid.row_count(); ++row) {
        if (grid.row_empty(row))
            continue;
        const QString vendor = grid.cell(row, VendorColumn).trimmed();
        const QString group = grid.cell(row, GroupColumn).trimmed();
        std::optional<QString> refusal;
        if (m_vendors.find(vendor) < 0)
            refusal = QStringLiteral("vendor no is invalid.");
        else if (!group.isEmpty() && m_group_names.find(group) < 0)
            refusal = group + QStringLiteral(" is invalid.");
        else if (listed.contains(vendor))
            refusal = vendor + QStringLiteral(" is listed twice.");
        if (refusal) {
            grid.set_current(row, 0);
            message(*refusal);
            return false;
        }
        listed.insert(vendor);
        const QString saved = grid.cell(row, SavedVendorColumn);
        if (saved.isEmpty() || m_loaded_groups.value(saved) != group)
            moves.emplace_back(vendor, group);
    }
    const QString failed = QStringLiteral("update failed");
    Transaction tx(*database());
    if (!tx.active()) {
        report(tx.begin_error(), failed);
        return false;
    }
    for (const auto& [vendor, group] : moves)
        if (auto moved = database()->execute(QStringLiteral("UPDATE Vendor_table SET vendor_group = ? WHERE vendor_no = ?"),
                                             {stored_value(group), vendor});
            !moved) {
            report(moved.error(), failed);
            return false;
        }
    if (auto committed = tx.commit(); !committed) {
        report(committed.error(), failed);
        return false;
    }
    show_members(field(GroupField));
    message(MemberUpdated);
    return true;
}

// Deleting --------------------------------------------------------------------------------------

[[nodiscard]] std::expected<std::optional<QString>, Error> POform_vendor_group::delete_refusal(const QString& key)
{
    auto members = database()->scalar(QStringLiteral("SELECT COUNT(*) FROM Vendor_table WHERE vendor_group = ?"), {key});
    if (!members)
        return std::unexpected(members.error());
    if (members->toLongLong() == 0)
        return std::optional<QString>();
    return std::optional<QString>(key + QStringLiteral(" has vendors. Remove them from the group first."));
}

bool POform_vendor_group::on_row_delete(Grid& grid, int row)
{
    if (&grid == m_members)
        return remove_member(row);
    if (!delete_grid_row(row))
        return false;
    load_member_lists();
    return true;
}

bool POform_vendor_group::remove_member(int row)
{
    Grid& grid = members();
    const QString vendor = grid.cell(row, SavedVendorColumn);
    if (vendor.isEmpty()) {
        if (mode() != Mode::Edit)
            return false;
        grid.remove_row(row);
        return true;
    }
    const QString group = m_loaded_groups.value(vendor);
    if (!may_update()
        || !ask_yes_no(QStringLiteral("Are you sure to remove ") + vendor + QStringLiteral(" from group ") + group
                           + QStringLiteral("?")))
        return false;
    auto removed = database()->execute(QStringLiteral("UPDATE Vendor_table SET vendor_group = NULL"
                                                      " WHERE vendor_no = ? AND vendor_group = ?"),
                                       {vendor, group});
    if (!removed) {
        report(removed.error(), QStringLiteral("Remove vendor failed"));
        return false;
    }
    m_loaded_groups.remove(vendor);
    grid.remove_row(row);
    return true;
}

bool POform_vendor_group::toggle_delete_buttons()
{
    set_command_checked(to_int(CommandId::Delete), !find_command(to_int(CommandId::Delete))->checked);
    show_delete_buttons();
    return true;
}

void POform_vendor_group::show_delete_buttons()
{
    const bool on = find_command(to_int(CommandId::Delete)) && find_command(to_int(CommandId::Delete))->checked;
    groups().set_delete_buttons(on && m_view == View::Groups ? QStringLiteral("delete vendor group") : QString());
    members().set_delete_buttons(on && m_view == View::Members ? QStringLiteral("remove vendor from specified group")
                                                               : QString());
}

// Commands --------------------------------------------------------------------------------------

bool POform_vendor_group::find()
{
    const bool in_groups = m_view == View::Groups;
    const auto typed = prompter().prompt(in_groups ? QStringLiteral("group name") : QStringLiteral("vendor no"),
                                         QStringLiteral("Find"));
    if (!typed || typed->trimmed().isEmpty())
        return false;
    Grid& grid = shown_grid();
    const int column = in_groups ? 0 : grid.required_column(VendorColumn);
    for (int row = 0; row < grid.row_count(); ++row)
        if (grid.cell(row, column).compare(typed->trimmed(), Qt::CaseInsensitive) == 0) {
            grid.set_current(row, column);
            return true;
        }
    message(typed->trimmed() + QStringLiteral(" not found"));
    return false;
}

bool POform_vendor_group::insert_line()
{
    const int row = append_line(shown_grid());
    if (row >= 0 && m_view == View::Members)
        members().set_cell(row, GroupColumn, field(GroupField));
    return row >= 0;
}

bool POform_vendor_group::delete_line_of_view()
{
    if (m_view == View::Groups)
        return delete_line();
    return mode() == Mode::Edit && members().current_row() >= 0 && remove_member(members().current_row());
}

bool POform_vendor_group::run_command(int id)
{
    switch (id) {
    case to_int(Command::Find): return find();
    case to_int(Command::Back):
        if (m_view != View::Members || !leave_edit())
            return false;
        reload();
        show_view(View::Groups);
        return true;
    case to_int(CommandId::Delete): return toggle_delete_buttons();
    case to_int(CommandId::Preview):
        if (m_view == View::Members)
            return preview_members();
        break;
    case to_int(CommandId::InsertLine): return insert_line();
    case to_int(CommandId::DeleteLine): return delete_line_of_view();
    default: break;
    }
    return MasterWindow::run_command(id);
}

bool POform_vendor_group::preview_members()
{
    const QString group = field(GroupField).trimmed();
    // "All groups" leaves out the vendors of no group, whether stored as NULL or as ''.
    QString sql = QStringLiteral("SELECT vendor_group, vendor_no, vendor_name FROM Vendor_table WHERE ");
    Params params;
    if (group.isEmpty()) {
        sql += QStringLiteral("vendor_group IS NOT NULL AND vendor_group <> ''");
    } else {
        sql += QStringLiteral("vendor_group = ?");
        params.push_back(group);
    }
    auto rows = database()->select(sql + QStringLiteral(" ORDER BY vendor_group, vendor_no"), params);
    if (!rows) {
        report(rows.error(), QStringLiteral("Preview failed"));
        return false;
    }
    PrintList list;
    list.title = QStringLiteral("VENDOR GROUP MEMBER");
    const PrintedColumns columns = printed_columns(members(), layouts().layout(members().name()));
    list.columns = columns.columns;
    for (const Row& row : *rows)
        list.rows.push_back(printed_row({row.text(u"vendor_group"), row.text(u"vendor_no"), row.text(u"vendor_name")}, columns));
    return preview(std::move(list), QStringLiteral("vendor_group_member"));
}

} // namespace zelkor
