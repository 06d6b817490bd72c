#pragma once

#include "windows/base/window_model.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <vector>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QProgressBar;
class QTableView;
class QToolBar;
class QToolButton;

namespace zelkor {

class ColumnChoice;
class FieldEditor;
class FontBar;
class MessageBoxPrompter;

/// The one view of every window model: menus and a toolbar from its commands, the header
/// fields in their layout rows, a table per grid, a dock per pane and a status line. Every
/// action goes to WindowModel::execute; the model's signals keep the widgets current. The view
/// closes itself when the model closes, and asks the model (command 100) when the user closes it.
class WindowView : public QMainWindow {
    Q_OBJECT
public:
    explicit WindowView(WindowModel& model, QWidget* parent = nullptr);
    ~WindowView() override;

    WindowModel* model() const { return m_model; }
    /// The action of a command id; null when the window has no such command.
    QAction* action(int id) const { return m_actions.value(id); }
    FieldEditor* field_editor(const QString& name) const { return m_editors.value(name); }
    QTableView* grid_view(const QString& name) const { return m_grid_views.value(name); }
    /// Which columns of a grid's table are in view; null for a grid the window does not have.
    ColumnChoice* column_choice(const QString& grid) const { return m_column_choices.value(grid); }
    QDockWidget* pane_dock(const QString& name) const { return m_docks.value(name); }
    QToolBar* command_bar() const { return m_toolbar; }
    /// The font panel; null when the window has no font commands or no grid.
    FontBar* font_bar() const { return m_font_bar; }

    QSize sizeHint() const override;

signals:
    /// A confirmation of success ("Add new PO no. ... complete") was shown in the status bar
    /// instead of a message box; the host also writes it into its notification log.
    void confirmationShown(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_commands();
    void build_body();
    void build_panes();
    void keep_pane_tabs_whole();
    void build_status();
    void show_background_work(const QString& text);
    void connect_model();
    QWidget* build_field_form(const QString& pane, QWidget* parent);
    QTableView* build_grid_view(Grid& grid, QWidget* parent);
    QWidget* build_grid_block(Grid& grid, QWidget* parent);
    QWidget* build_grid_with_heading(Grid& grid, QWidget* parent);
    /// Double click and Enter activate a row; a row's delete button deletes it.
    void connect_row_actions(Grid& grid, QTableView& view);
    bool activate_current_row(QTableView& view);
    void apply_settings_font();
    void build_font_bar();
    void connect_layouts();
    /// Shows the grid's stored headings, fonts, colours and alignments again.
    void refresh_grid_presentation(const QString& grid);
    /// Writes the tables' column positions, widths and row heights into the stored layouts.
    void record_layouts();

    void run_command(int id);
    void refresh_command(int id);
    void refresh_all_commands();
    /// Puts the focus on the first field a clerk types into (the vendor of a new document).
    void focus_first_field();
    void show_confirmation(const QString& text);
    /// Goes back to a cell whose typed value the window refused.
    void return_to_cell(QTableView& view, const QModelIndex& index);
    void refresh_all_field_states();
    void refresh_mode();
    void apply_toolbar_style();
    void on_model_closed();

    QPointer<WindowModel> m_model;
    std::unique_ptr<MessageBoxPrompter> m_prompter;
    QHash<int, QAction*> m_actions;
    QHash<QString, FieldEditor*> m_editors;
    QHash<QString, QTableView*> m_grid_views;
    QHash<QString, ColumnChoice*> m_column_choices; ///< by grid, owned by the grid's table
    QHash<QString, QDockWidget*> m_docks;
    QHash<QString, QMenu*> m_menus;
    QToolBar* m_toolbar = nullptr;
    FontBar* m_font_bar = nullptr;
    QLabel* m_mode_label = nullptr;
    QLabel* m_status_label = nullptr;
    QProgressBar* m_busy = nullptr;        ///< shown while the window works in the background
    QToolButton* m_cancel_work = nullptr; ///< cancels that work
    bool m_model_closed = false;
};

} // namespace zelkor
