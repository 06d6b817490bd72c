#pragma once

#include "windows/base/prompter.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace zelkor {

/// How the view shows a window's message.
enum class MessageStyle {
    Confirmation, ///< "... complete": the status bar and the notification log, no box
    Refusal,      ///< a typed value was refused: a box with the warning icon
    Error,        ///< "... failed": a box with the critical icon
    Information,  ///< any other message: a box with the information icon
};

/// The style of a message; `checking_value` while a typed field or cell value is being checked.
MessageStyle message_style(const QString& text, bool checking_value);

/// Marks the time a value the user typed is being checked: a message meanwhile refuses it.
class ValueCheck {
public:
    ValueCheck();
    ~ValueCheck();
    ValueCheck(const ValueCheck&) = delete;
    ValueCheck& operator=(const ValueCheck&) = delete;

    static bool active();
};

/// The prompter of a window on screen: message boxes and questions over the window, titled with
/// the window's caption unless the window gives its own title. Confirmations of success show no
/// box; they go to `on_confirmation`. Errors, refusals and questions stay modal.
class MessageBoxPrompter : public Prompter {
public:
    MessageBoxPrompter(QWidget* owner, QString default_title);

    void message(const QString& text, const QString& title = {}) override;
    bool ask_yes_no(const QString& text, const QString& title = {}) override;
    bool ask_ok_cancel(const QString& text, const QString& title = {}) override;
    std::optional<QString> prompt(const QString& text, const QString& title = {}, const QString& initial = {}) override;

    /// Receives every confirmation ("Add new PO no. ... complete") instead of a message box.
    std::function<void(const QString& text)> on_confirmation;

private:
    QString title_or_default(const QString& title) const;

    QPointer<QWidget> m_owner;
    QString m_default_title;
};

} // namespace zelkor
