#pragma once

#include "windows/base/window_model.h"
#include "windows/masters/master_table.h"
#include "windows/print/pdf_list_writer.h"

#include <QHash>

#include <optional>
#include <vector>

namespace zelkor {

/// The sentences and documents that make a master window its own. "%1" in a question takes
/// the key of the row asked about.
struct MasterWords {
    QString new_question;                            ///< leaving new mode with work in it
    QString added;                                   ///< "Add new charged item complete"
    QString updated = QStringLiteral("Update complete");
    QString delete_question;                         ///< "Are you sure to delete %1"
    QString delete_title = QStringLiteral("Delete");
    QString deleted = QStringLiteral("Delete complete");
    QString print_title;
    QString print_stem;                              ///< the PDF file name before the time
    QString help_file;                               ///< the window's document in "Help"
};

/// A window keeping one master table: the table shown whole in a grid (charges, vendor
/// groups) or one record at a time (ship-vias). It adds a row from the entry fields in new
/// mode, saves the edited grid in edit mode, deletes a row after asking and after checking
/// that no document names it, prints the list, opens its page setup and its help. Every
/// write checks the user's update right where it happens, every typed code must be in its
/// list, and every write is one transaction that either commits or says it failed.
class MasterWindow : public WindowModel {
    Q_OBJECT
public:
    /// The grid showing the table; null for a window showing one record.
    Grid* master_grid() const { return m_grid; }
    /// Reads the table into the grid again, with the names its codes show.
    bool reload();
    /// Deletes the master row of a grid row after asking; an unsaved row only leaves the grid.
    bool delete_grid_row(int row);

protected:
    MasterWindow(QString class_name, QString caption, MasterTable table, MasterWords words, QObject* parent);

    const MasterTable& table() const { return m_table; }
    const MasterWords& words() const { return m_words; }

    /// Declares the grid of the table: a column per table column with a caption, each followed
    /// by its name column, and a hidden column keeping the key each row was saved under (empty
    /// for rows typed in since). Saved keys and names cannot be typed over; the grid is typed
    /// into in edit mode only.
    Grid& declare_master_grid(const QString& name);
    // WindowModel --------------------------------------------------------------------------------
    void on_open() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    Entry check_cell(Grid& grid, int row, int column, const QString& previous) override;
    bool begin_new() override;
    bool save_document() override;
    void discard_changes(Mode left) override;
    QString unsaved_question(Mode mode) const override;

    // For the windows ------------------------------------------------------------------------------
    /// The first message a row of values earns before it is written (a missing or unlisted
    /// value); nothing when it may be written.
    std::optional<QString> refusal_of_values(const MasterValues& values) const;
    /// Whether a typed value is in the column's list (free text always is).
    bool listed(int table_column, const QString& value) const;
    /// Adds a row in one transaction: refused with key + " exist" when the key is taken, also
    /// when another user took it meanwhile. True when it committed.
    bool insert_row(const MasterValues& values, const std::vector<std::pair<QString, SqlValue>>& extra = {});
    /// The values of the entry fields, the key trimmed.
    MasterValues values_of_fields() const;
    /// Why a row may not be deleted (the window's sentence), nothing when it may; read in the
    /// delete's transaction after the row is locked. By default: a document naming it.
    [[nodiscard]] virtual std::expected<std::optional<QString>, Error> delete_refusal(const QString& key);
    /// Deletes a row after asking, in one transaction with its refusal check; true when it
    /// committed.
    bool delete_master_row_asked(const QString& key);
    /// The printed list; by default the grid's shown columns and rows.
    virtual PrintList print_list() const;
    /// Writes the printed list and asks the host to show it.
    bool preview(PrintList list, const QString& stem);
    /// "%1" of a sentence replaced by `value`.
    static QString with_value(QString sentence, const QString& value);
    /// The sentence saying a write failed: its " complete" sentence ending in "failed".
    static QString failed_sentence(const QString& complete);
    /// The lists of the table's columns, read again.
    void load_lists();
    /// The key a grid row was saved under; empty for a row typed in since.
    QString saved_key(int row) const;
    /// Deletes the current row in edit mode (a saved row after asking).
    bool delete_line();
    /// Adds an empty row at the end of the grid in edit mode and makes it current; -1 when
    /// not editing.
    int append_line(Grid& grid);

private:
    bool open_page_setup();
    bool show_help(int id);
    bool browse(int id);
    bool add_from_fields();
    bool save_grid();
    int grid_column(int table_column) const { return m_grid_columns[size_t(table_column)]; }
    int saved_key_column() const;
    MasterValues values_of_row(int row) const;
    QStringList grid_row_of(const Row& row) const;
    void load_names();
    void show_name(int row, int table_column);
    int row_of_key(const QString& key) const;
    void lock_entry_fields();

    MasterTable m_table;
    MasterWords m_words;
    Grid* m_grid = nullptr;
    std::vector<int> m_grid_columns;           ///< grid column of each table column, -1 when not shown
    std::vector<int> m_name_columns;           ///< grid column of each table column's name, -1 when none
    std::vector<Choices> m_lists;              ///< each table column's list (empty when free text)
    std::vector<QHash<QString, QString>> m_names; ///< each table column's names by value
    QHash<QString, MasterValues> m_loaded;     ///< the values of each saved row as last read
};

} // namespace zelkor
