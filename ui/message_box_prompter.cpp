#include "ui/message_box_prompter.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace zelkor {

namespace {

int value_checks = 0;

} // namespace

MessageStyle message_style(const QString& text, bool checking_value)
{
    // "Add new PO no. PO-26-00001 complete", "Save format complete", "Export complete: path".
    static const QRegularExpression complete(QStringLiteral("(^|\\s)complete(\\s*:|\\s*$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression failed(QStringLiteral("\\bfailed\\b"), QRegularExpression::CaseInsensitiveOption);
    if (failed.match(text).hasMatch())
        return MessageStyle::Error;
    if (complete.match(text).hasMatch())
        return MessageStyle::Confirmation;
    return checking_value ? MessageStyle::Refusal : MessageStyle::Information;
}

ValueCheck::ValueCheck() { ++value_checks; }

ValueCheck::~ValueCheck() { --value_checks; }

bool ValueCheck::active() { return value_checks > 0; }

MessageBoxPrompter::MessageBoxPrompter(QWidget* owner, QString default_title)
    : m_owner(owner), m_default_title(std::move(default_title))
{
}

QString MessageBoxPrompter::title_or_default(const QString& title) const
{
    return title.isEmpty() ? m_default_title : title;
}

void MessageBoxPrompter::message(const QString& text, const QString& title)
{
    switch (message_style(text, ValueCheck::active())) {
    case MessageStyle::Confirmation:
        if (on_confirmation) {
            on_confirmation(text);
            return;
        }
        break;
    case MessageStyle::Refusal: QMessageBox::warning(m_owner, title_or_default(title), text); return;
    case MessageStyle::Error: QMessageBox::critical(m_owner, title_or_default(title), text); return;
    case MessageStyle::Information: break;
    }
    QMessageBox::information(m_owner, title_or_default(title), text);
}

bool MessageBoxPrompter::ask_yes_no(const QString& text, const QString& title)
{
    return QMessageBox::question(m_owner, title_or_default(title), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes)
           == QMessageBox::Yes;
}

bool MessageBoxPrompter::ask_ok_cancel(const QString& text, const QString& title)
{
    return QMessageBox::question(m_owner, title_or_default(title), text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok)
           == QMessageBox::Ok;
}

std::optional<QString> MessageBoxPrompter::prompt(const QString& text, const QString& title, const QString& initial)
{
    bool accepted = false;
    const QString answer = QInputDialog::getText(m_owner, title_or_default(title), text, QLineEdit::Normal, initial, &accepted);
    if (!accepted)
        return std::nullopt;
    return answer;
}

} // namespace zelkor
