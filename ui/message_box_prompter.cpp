#include "ui/message_box_prompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace zelkor {

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
