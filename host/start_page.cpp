#include "host/start_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelkor::host {

namespace {

constexpr int ButtonsPerLine = 4;

QLabel* heading(const QString& text, qreal scale, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

StartPage::StartPage(const QString& company, const QString& user, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("start_page"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(32, 24, 32, 24);
    outer->setSpacing(12);
    outer->addWidget(heading(company, 1.6, this));
    outer->addWidget(new QLabel(QStringLiteral("Purchasing — signed in as %1").arg(user), this));
    m_groups = new QVBoxLayout;
    m_groups->setSpacing(16);
    outer->addLayout(m_groups);
    outer->addStretch(1);
}

void StartPage::add_group(const QString& title, const std::vector<StartAction>& actions)
{
    auto* group = new QVBoxLayout;
    group->setSpacing(6);
    group->addWidget(heading(title, 1.1, this));
    auto* buttons = new QGridLayout;
    buttons->setHorizontalSpacing(8);
    for (int at = 0; at < int(actions.size()); ++at) {
        auto* button = new QPushButton(actions[size_t(at)].caption, this);
        button->setMinimumHeight(button->sizeHint().height() * 3 / 2);
        connect(button, &QPushButton::clicked, this, actions[size_t(at)].run);
        buttons->addWidget(button, at / ButtonsPerLine, at % ButtonsPerLine);
    }
    for (int column = 0; column < ButtonsPerLine; ++column)
        buttons->setColumnStretch(column, 1);
    buttons->setColumnStretch(ButtonsPerLine, 2);
    group->addLayout(buttons);
    m_groups->addLayout(group);
}

} // namespace zelkor::host
