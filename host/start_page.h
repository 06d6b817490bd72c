#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QVBoxLayout;

namespace zelkor::host {

/// One button of the start page.
struct StartAction {
    QString caption;
    std::function<void()> run;
};

/// The host's start page: the company and user, the everyday actions of the purchasing cycle and
/// the inquiries, one click each. It fills the work area while no window is open.
class StartPage : public QWidget {
    Q_OBJECT
public:
    StartPage(const QString& company, const QString& user, QWidget* parent = nullptr);

    /// Adds a group of buttons under a heading.
    void add_group(const QString& heading, const std::vector<StartAction>& actions);

private:
    QVBoxLayout* m_groups = nullptr;
};

} // namespace zelkor::host
