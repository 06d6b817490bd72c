#pragma once

#include "windows/masters/master_window.h"

namespace zelkor {

/// Named groups of vendors, and the vendors of one group: two lists, one shown at a time.
/// Activating a group opens its members; "Back" returns to the groups.
class POform_vendor_group : public MasterWindow {
    Q_OBJECT
public:
    enum class Command : int { Find = 104, Back = 125 };
    enum class View { Groups, Members };
    explicit POform_vendor_group(QObject* parent = nullptr);

    View view() const { return m_view; }
    Grid& groups() const { return *master_grid(); }
    Grid& members() const { return *m_members; }

protected:
    void on_open() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    Entry check_cell(Grid& grid, int row, int column, const QString& previous) override;
    bool begin_edit() override;
    bool save_document() override;
    bool on_row_activated(Grid& grid, int row) override;
    bool on_row_delete(Grid& grid, int row) override;
    [[nodiscard]] std::expected<std::optional<QString>, Error> delete_refusal(const QString& key) override;

private:
    void load_member_lists();
    bool show_members(const QString& group);
    void show_view(View view);
    Grid& shown_grid() const { return m_view == View::Groups ? groups() : members(); }
    /// Leaves edit mode before another list is shown: asks to save an edited list first.
    bool leave_edit();
    bool list_edited() const;
    bool save_members();
    bool remove_member(int row);
    bool toggle_delete_buttons();
    void show_delete_buttons();
    bool find();
    /// Prints the vendors of the chosen group, or of every group when none is chosen.
    bool preview_members();
    bool insert_line();
    bool delete_line_of_view();

    Grid* m_members = nullptr;
    View m_view = View::Groups;
    Choices m_vendors;
    Choices m_group_names;
    QHash<QString, QString> m_loaded_groups; ///< the group of each listed vendor as last read
    std::vector<QStringList> m_rows_at_edit;
};

} // namespace zelkor
