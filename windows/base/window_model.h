#pragma once

#include "windows/base/command_ids.h"
#include "windows/base/field.h"
#include "windows/base/grid.h"
#include "windows/base/host_settings.h"
#include "windows/base/pane.h"
#include "windows/base/prompter.h"
#include "windows/base/window_layouts.h"

#include <QDate>
#include <QObject>
#include <QSet>
#include <QString>

#include <expected>
#include <memory>
#include <span>
#include <vector>

namespace zelkor {

struct PickList;

/// What the number box of a document that is not saved yet shows.
inline const QString NewDocumentNumber = QStringLiteral("** New **");
/// What a write says to a user without the update right on the window.
inline const QString NoUpdateRight = QStringLiteral("You have no right to update this window.");

/// A command as a window has it now.
struct Command {
    int id = 0;
    QString caption{}; ///< with the & of its accelerator
    QString menu{};    ///< the menu it sits in ("&File", ...)
    bool toolbar = false;
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
    RightNeeded right = RightNeeded::None;
};

/// The headless model of one window: host settings, mode, fields, grids, panes and commands.
/// The generic Qt view renders any model from its declarations and routes every action to
/// execute(); tests and the script runner drive the same calls.
class WindowModel : public QObject {
    Q_OBJECT
public:
    /// Read: a document (or nothing) is shown and locked. New: a new document is being entered.
    /// Edit: the shown document is being changed.
    enum class Mode { Read, New, Edit };
    Q_ENUM(Mode)

    /// Document windows lock their fields in read mode and ask about unsaved work; other windows
    /// (masters, inquiries, reports) keep their fields open.
    enum class Kind { Document, Other };

    WindowModel(QString class_name, QString caption, Kind kind, QObject* parent = nullptr);
    ~WindowModel() override;

    /// The window class name ("POform_po"), also its key for rights, layouts and properties.
    const QString& class_name() const { return m_class_name; }
    const QString& caption() const { return m_caption; }
    Kind kind() const { return m_kind; }

    /// Copies the host settings (the window never reads the facade again) and loads the user's
    /// rights for this window.
    void apply_settings(const HostSettings& settings);
    const HostSettings& settings() const { return m_settings; }
    /// The company database (abcdb); null before the settings are applied.
    Database* database() const { return m_settings.abcdb; }
    /// What the current user may do here, loaded once when the settings are applied.
    const Rights& rights() const { return m_rights; }

    /// Runs the window's opening steps (lists, defaults, remembered values). The facade calls it
    /// once after apply_settings.
    void open();

    void set_prompter(Prompter* prompter);
    Prompter& prompter() const;

    Mode mode() const { return m_mode; }
    /// Whether the user changed anything since the mode was entered.
    bool is_dirty() const { return m_dirty; }
    bool is_closed() const { return m_closed; }
    /// The text of the status area.
    const QString& status() const { return m_status; }
    /// What the window is working on in the background while the clerk goes on (counting a long
    /// list); empty when nothing. A view shows it with a busy indicator and a "Cancel" button.
    const QString& background_work() const { return m_background_work; }
    /// The clerk cancels the background work; the window says what is left undone.
    void cancel_background_work();

    // Fields -----------------------------------------------------------------------------------
    const std::vector<Field>& fields() const { return m_fields; }
    const Field* find_field(const QString& name) const;
    QString field(const QString& name) const;
    /// Whether the user may type into the field now (its read-only state and the mode lock).
    bool field_editable(const QString& name) const;
    /// The user types `value` into the field and leaves it: the field's check runs.
    Entry type_into(const QString& name, const QString& value);
    /// The window writes a field; no check runs and the window does not become dirty.
    void set_field(const QString& name, const QString& value);
    void set_field_read_only(const QString& name, bool read_only);
    void set_field_choices(const QString& name, Choices choices);
    /// A date field read in the user's format; an empty field gives an invalid date.
    [[nodiscard]] std::expected<QDate, Error> field_date(const QString& name) const;
    void set_field_date(const QString& name, const QDate& date);

    // Grids and panes ----------------------------------------------------------------------------
    const std::vector<Grid*>& grids() const { return m_grids; }
    Grid* grid(const QString& name) const;
    /// The window's main line grid (the first declared outside panes); null when it has none.
    Grid* main_grid() const;
    const std::vector<Pane>& panes() const { return m_panes; }
    const Pane* find_pane(const QString& name) const;
    void show_pane(const QString& name, bool visible);

    /// The stored presentation of the window's grids, its font panel and the user's toolbar and
    /// font-panel choices: restored by open(), stored when the window closes.
    WindowLayouts& layouts() { return m_layouts; }
    const WindowLayouts& layouts() const { return m_layouts; }

    // Commands ----------------------------------------------------------------------------------
    const std::vector<Command>& commands() const { return m_commands; }
    const Command* find_command(int id) const;
    bool has_command(int id) const { return find_command(id) != nullptr; }
    /// Whether the command can do anything in the window's current mode and state (Save and the
    /// line commands only while a document is entered or edited, ...). A view disables a command
    /// that cannot; execute() keeps its own checks and messages either way.
    bool command_applies(int id) const;
    void set_command_enabled(int id, bool enabled);
    void set_command_checked(int id, bool checked);
    /// Runs a command as a click on it would. False when the window does not have it, it is
    /// disabled, the user lacks the right, or the command did not complete.
    bool execute(int id);
    /// The same for a shared id or a window's own (`POform_po::Command::ClosePo`).
    template <typename Id>
        requires std::is_enum_v<Id>
    bool execute(Id id)
    {
        return execute(to_int(id));
    }

    /// The user activates a row (a double click or Enter on it): the window's row action runs.
    /// False when the window has none for that grid or it did not complete.
    bool activate_row(Grid& grid, int row);
    /// The user clicks the delete button of a row (Grid::set_delete_buttons). False when the
    /// grid shows no buttons or the window did not delete.
    bool delete_row(Grid& grid, int row);

    /// Closing by the host: asks about unsaved work as command 100 does when `ask` is
    /// AskAboutChanges, then runs the unload steps, closes and notifies "Next App".
    enum class Closing { AskAboutChanges, Unload };
    bool close_window(Closing closing);

signals:
    void NotifyClients(const QString& formx, const QString& docnox, const QString& arg2);
    void captionChanged(const QString& caption);
    /// The mode changed: which fields and grid cells are editable may have changed with it.
    void modeChanged(zelkor::WindowModel::Mode mode);
    /// A field's value changed.
    void fieldValueChanged(const QString& name);
    /// A field's read-only state, choices or the mode lock changed.
    void fieldStateChanged(const QString& name);
    /// A command's enabled, checked state or caption changed.
    void commandChanged(int id);
    /// What command_applies() says may have changed for any command (mode, shown document, lines).
    void commandAvailabilityChanged();
    void paneVisibilityChanged(const QString& name, bool visible);
    void statusChanged(const QString& text);
    /// Background work began (its text) or ended (empty).
    void backgroundWorkChanged(const QString& text);
    /// The window has closed; views drop their widgets. The model is deleted later.
    void closed();
    /// The window opened a window of its own (the page setup of its printout): the host shows
    /// it as it shows the windows it opens itself.
    void childWindowOpened(zelkor::WindowModel* child);

protected:
    // Declarations (in the window's constructor) ----------------------------------------------
    Field& declare_field(FieldSpec declaration);
    /// A grid with the given column captions; `pane` empty for the window's body.
    Grid& declare_grid(const QString& name, const QString& caption, const QStringList& columns,
                       const QString& pane = {});
    Pane& declare_pane(const QString& name, const QString& caption, PaneArea area = PaneArea::Right,
                       int toggle_command = 0);
    /// A shared command with its usual caption and placement.
    void declare_command(CommandId id);
    /// A shared command with the window's own caption.
    void declare_command(CommandId id, const QString& caption);
    /// A window-specific command (id 1001 and up) or a shared one placed differently.
    void declare_command(const CommandSpec& declaration);
    /// A window's table of commands, in menu order.
    void declare_commands(std::span<const CommandSpec> declarations);
    void set_caption(const QString& caption);
    /// Fills a drop-down field from a shared pick-list; a list that cannot be read stays empty
    /// (the window still opens) and the reason goes to the log.
    void load_choices(const QString& field, const PickList& list);

    // Hooks ---------------------------------------------------------------------------------------
    /// The window's opening steps; runs once with the settings in place.
    virtual void on_open() {}
    /// Runs a command the base does not handle itself, and may take over the shared ones: call
    /// WindowModel::run_command for the shared behaviour. False when it did not complete.
    virtual bool run_command(int id);
    /// The check run when the user leaves a field; `previous` is the value before typing.
    virtual Entry check_field(const QString& name, const QString& previous);
    /// The check run when the user leaves a cell of one of the window's grids.
    virtual Entry check_cell(Grid& grid, int row, int column, const QString& previous);
    /// Prepares a new document (clears fields and grids, defaults); false refuses new mode.
    virtual bool begin_new();
    /// Prepares editing the shown document; false refuses edit mode (after saying why).
    virtual bool begin_edit();
    /// Saves the new or edited document; true only when it committed.
    virtual bool save_document();
    /// Throws away unsaved work when a mode is left without saving (restores what was shown).
    virtual void discard_changes(Mode left);
    /// The window's unload steps (remembered values, layouts).
    virtual void on_closing() {}
    /// The row action of a grid (activate_row); the row is already current.
    virtual bool on_row_activated(Grid& grid, int row);
    /// The delete button of a row was clicked (delete_row).
    virtual bool on_row_delete(Grid& grid, int row);
    /// Whether a command can do anything now; the base knows Save and the line commands of a
    /// document window. A window that knows more about its own commands adds to it.
    virtual bool command_applies_now(int id) const;
    /// The question asked when a mode with unsaved work is left.
    virtual QString unsaved_question(Mode mode) const;

    // Helpers for windows -------------------------------------------------------------------------
    void notify(const QString& formx, const QString& docnox = {}, const QString& arg2 = {});
    void message(const QString& text, const QString& title = {});
    /// Whether a failed routine had written anything that its transaction then rolled back.
    enum class Outcome { Refused, RolledBack };
    /// The one way a window tells the user that a routine failed. A refusal shows the routine's
    /// own sentence (a check's message, a lock held by another user), or `failed` (the window's
    /// "... failed" sentence) for a database error, whose driver text goes to the log only. A
    /// rolled-back save shows its sentence when it has one and then `failed` in every case.
    void report(const Error& error, const QString& failed = {}, Outcome outcome = Outcome::Refused);
    /// Shows `text`; gives false, for refusals that end a command.
    bool refuse(const QString& text);
    /// Shows `text`; refuses a typed value.
    Entry refuse_entry(const QString& text);
    /// Every routine that writes asks this first: true when the user has the update right on the
    /// window, else it says "You have no right to update this window." and gives false.
    bool may_update();
    bool ask_yes_no(const QString& text, const QString& title = {});
    void set_mode(Mode mode);
    void set_dirty(bool dirty);
    void set_status(const QString& text);
    /// Announces background work (empty: it ended).
    void set_background_work(const QString& text);
    /// Stops the window's background work; called by cancel_background_work.
    virtual void on_cancel_background_work() {}
    /// Today as the module's clock tells it.
    QDate today() const;
    /// Clears every field of the header (not panes) and every grid's rows.
    void clear_document();
    /// Opens a window on behalf of this one: it takes this window's settings and prompter,
    /// becomes its child, opens and is announced by childWindowOpened. It closes by itself.
    WindowModel& open_child_window(WindowModel* child);
    /// Asks the question of the current mode when there is unsaved work and saves or discards
    /// as answered. False when the user's Yes led to a save that failed (the mode stays).
    bool settle_unsaved_work();

private:
    Field* field_slot(const QString& name);
    bool allowed(const Command& command) const;
    void load_rights();
    bool toggle_new();
    bool toggle_edit();
    bool save_and_leave();
    bool exit_window(Closing closing);
    Entry cell_typed(Grid& grid, int row, int column, const QString& previous);

    QString m_class_name{};
    QString m_caption{};
    Kind m_kind;
    HostSettings m_settings;
    Rights m_rights;
    Prompter* m_prompter = nullptr;
    std::unique_ptr<Prompter> m_fallback_prompter;
    Mode m_mode = Mode::Read;
    bool m_dirty = false;
    bool m_closed = false;
    bool m_opened = false;
    QString m_status{};
    QString m_background_work{};
    std::vector<Field> m_fields;
    std::vector<Grid*> m_grids;
    std::vector<Pane> m_panes;
    std::vector<Command> m_commands;
    WindowLayouts m_layouts;
    QSet<int> m_disabled_by_window; ///< commands the window turned off (rights come on top)
    std::vector<QString> m_shown_values;             ///< field values when edit mode began
    std::vector<std::vector<QStringList>> m_shown_rows; ///< grid rows when edit mode began
};

} // namespace zelkor
