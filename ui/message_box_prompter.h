#pragma once

#include "forms/common/prompter.h"

#include <QPointer>
#include <QWidget>

namespace zelkor {

/// The prompter of a window on screen: message boxes and questions over the window, titled with
/// the window's caption unless the window gives its own title.
class MessageBoxPrompter : public Prompter {
public:
    MessageBoxPrompter(QWidget* owner, QString default_title);

    void message(const QString& text, const QString& title = {}) override;
    bool ask_yes_no(const QString& text, const QString& title = {}) override;
    bool ask_ok_cancel(const QString& text, const QString& title = {}) override;
    std::optional<QString> prompt(const QString& text, const QString& title = {}, const QString& initial = {}) override;

private:
    QString title_or_default(const QString& title) const;

    QPointer<QWidget> m_owner;
    QString m_default_title;
};

} // namespace zelkor
