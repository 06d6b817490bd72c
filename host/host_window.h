#pragma once

#include <QMainWindow>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;
class QStackedWidget;

namespace zelkor::host {

/// The host's main window: the module's windows as MDI children, a menu per part of the
/// purchasing cycle, a Window menu and a log pane for what the host does not act on itself.
class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HostWindow(const QString& company, QWidget* parent = nullptr);

    /// The top-level menu with this caption, created (before the Window menu) when missing.
    QMenu* menu(const QString& caption);
    /// Adds an item to a top-level menu.
    QAction* add_menu_item(const QString& menu_caption, const QString& caption, std::function<void()> run);

    /// The page the work area shows while no window is open; the host window owns it.
    void set_start_page(QWidget* page);
    /// Shows the start page (the open windows stay open behind it).
    void show_start_page();
    bool start_page_shown() const;

    /// Shows a widget as a child window of the work area and activates it.
    QMdiSubWindow* show_child(QWidget* content, const QString& title);
    QMdiArea* work_area() const { return m_area; }

    /// Appends a time-stamped line to the log pane and shows it in the status bar for a while.
    void log(const QString& line);
    QString log_text() const;

private:
    void build_file_menu();
    void build_window_menu();
    void refresh_window_menu();

    QStackedWidget* m_work = nullptr;
    QWidget* m_start = nullptr;
    QMdiArea* m_area = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QMenu* m_window_menu = nullptr;
    QAction* m_log_toggle = nullptr;
};

} // namespace zelkor::host
