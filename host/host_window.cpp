#include "host/host_window.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTime>
#include <QTimer>

namespace zelkor::host {

HostWindow::HostWindow(const QString& company, QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Zelkor Purchasing - %1").arg(company));
    m_work = new QStackedWidget(this);
    m_area = new QMdiArea(m_work);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    m_work->addWidget(m_area);
    setCentralWidget(m_work);
    // With the last window closed, the start page comes back.
    connect(m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (!window)
            QTimer::singleShot(0, this, [this] {
                if (m_area->subWindowList().isEmpty())
                    show_start_page();
            });
    });

    m_log = new QPlainTextEdit(this);
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(2000);
    auto* dock = new QDockWidget(QStringLiteral("Notifications"), this);
    dock->setObjectName(QStringLiteral("notifications"));
    dock->setWidget(m_log);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    resizeDocks({dock}, {110}, Qt::Vertical);

    m_log_toggle = dock->toggleViewAction();
    m_log_toggle->setText(QStringLiteral("&Notifications pane"));
    build_file_menu();
    build_window_menu();
    menuBar()->addMenu(m_window_menu);
    statusBar()->showMessage(QStringLiteral("Ready"));
    resize(1360, 860);
}

void HostWindow::build_file_menu()
{
    // The host's menus use other accelerators than the windows' own (File, Edit, Record, View,
    // Tools, Format, Help), so that Alt+letter always reaches exactly one menu.
    QMenu* file = menu(QStringLiteral("&Company"));
    QAction* quit = file->addAction(QStringLiteral("E&xit"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void HostWindow::build_window_menu()
{
    m_window_menu = new QMenu(QStringLiteral("&Window"), this);
    connect(m_window_menu, &QMenu::aboutToShow, this, &HostWindow::refresh_window_menu);
    refresh_window_menu();
}

void HostWindow::refresh_window_menu()
{
    m_window_menu->clear();
    m_window_menu->addAction(QStringLiteral("&Cascade"), m_area, &QMdiArea::cascadeSubWindows);
    m_window_menu->addAction(QStringLiteral("&Tile"), m_area, &QMdiArea::tileSubWindows);
    QAction* next = m_window_menu->addAction(QStringLiteral("Ne&xt"), m_area, &QMdiArea::activateNextSubWindow);
    next->setShortcut(QKeySequence::NextChild);
    QAction* previous = m_window_menu->addAction(QStringLiteral("Pre&vious"), m_area, &QMdiArea::activatePreviousSubWindow);
    previous->setShortcut(QKeySequence::PreviousChild);
    m_window_menu->addAction(QStringLiteral("Close &All"), m_area, &QMdiArea::closeAllSubWindows);
    m_window_menu->addAction(QStringLiteral("&Start page"), this, &HostWindow::show_start_page);
    m_window_menu->addSeparator();
    m_window_menu->addAction(m_log_toggle);
    const QList<QMdiSubWindow*> windows = m_area->subWindowList();
    if (!windows.isEmpty())
        m_window_menu->addSeparator();
    for (int index = 0; index < windows.size(); ++index) {
        QMdiSubWindow* window = windows.at(index);
        const QString number = index < 9 ? QStringLiteral("&%1 ").arg(index + 1) : QStringLiteral("%1 ").arg(index + 1);
        QAction* item = m_window_menu->addAction(number + window->windowTitle());
        item->setCheckable(true);
        item->setChecked(window == m_area->activeSubWindow());
        connect(item, &QAction::triggered, m_area, [this, window] {
            m_work->setCurrentWidget(m_area);
            m_area->setActiveSubWindow(window);
        });
    }
}

QMenu* HostWindow::menu(const QString& caption)
{
    for (QAction* action : menuBar()->actions()) {
        if (action->menu() && action->text() == caption)
            return action->menu();
    }
    auto* created = new QMenu(caption, this);
    QAction* before = m_window_menu ? m_window_menu->menuAction() : nullptr;
    if (before && menuBar()->actions().contains(before))
        menuBar()->insertMenu(before, created);
    else
        menuBar()->addMenu(created);
    return created;
}

QAction* HostWindow::add_menu_item(const QString& menu_caption, const QString& caption, std::function<void()> run)
{
    QAction* action = menu(menu_caption)->addAction(caption);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

void HostWindow::set_start_page(QWidget* page)
{
    m_start = page;
    m_work->insertWidget(0, page);
    if (m_area->subWindowList().isEmpty())
        show_start_page();
}

void HostWindow::show_start_page()
{
    if (m_start)
        m_work->setCurrentWidget(m_start);
}

bool HostWindow::start_page_shown() const
{
    return m_start && m_work->currentWidget() == m_start;
}

QMdiSubWindow* HostWindow::show_child(QWidget* content, const QString& title)
{
    m_work->setCurrentWidget(m_area);
    content->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* window = m_area->addSubWindow(content);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    const QSize wanted = content->sizeHint().expandedTo(content->minimumSizeHint());
    const QSize room = m_area->viewport()->size();
    window->resize(wanted.boundedTo(room).expandedTo(QSize(480, 320)));
    // Each new window steps down and right from the last, so every title bar stays in reach.
    const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 6;
    const int placed = int(m_area->subWindowList().size()) - 1;
    QPoint corner((placed % 8) * step, (placed % 8) * step);
    if (corner.x() + window->width() > room.width() || corner.y() + window->height() > room.height())
        corner = QPoint(0, 0);
    window->move(corner);
    window->show();
    m_area->setActiveSubWindow(window);
    return window;
}

void HostWindow::log(const QString& line)
{
    m_log->appendPlainText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss ")) + line);
    statusBar()->showMessage(line, 5000);
}

QString HostWindow::log_text() const
{
    return m_log->toPlainText();
}

} // namespace zelkor::host
