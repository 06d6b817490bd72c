#include "ui/field_editor.h"

#include "forms/common/window_model.h"
#include "services/fiscal_periods.h"
#include "ui/pick_list_combo_box.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QWidgetAction>

namespace zelkor {

FieldEditor::FieldEditor(WindowModel& model, const Field& field, QWidget* parent)
    : QWidget(parent), m_model(&model), m_name(field.name()), m_kind(field.kind())
{
    setObjectName(m_name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    switch (m_kind) {
    case FieldKind::Text:
    case FieldKind::Number:
        build_line(false);
        break;
    case FieldKind::Date:
        build_line(true);
        build_calendar_button();
        break;
    case FieldKind::MultiLine:
        build_multi_line();
        break;
    case FieldKind::Check:
        build_check(field.caption());
        break;
    case FieldKind::DropDown:
        build_drop_down();
        break;
    }
    refresh_choices();
    refresh_value();
    refresh_state();
}

void FieldEditor::build_line(bool date)
{
    m_line = new QLineEdit(this);
    m_line->setObjectName(m_name + QStringLiteral("_edit"));
    if (m_kind == FieldKind::Number)
        m_line->setAlignment(Qt::AlignRight);
    if (date) {
        m_line->setPlaceholderText(m_model->settings().ZELKOR_DATE_FORMAT);
        m_line->setMaxLength(20);
        // A date is always shown whole, however narrow its layout row.
        m_line->setMinimumWidth(m_line->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    }
    layout()->addWidget(m_line);
    connect(m_line, &QLineEdit::editingFinished, this, [this] { commit(m_line->text()); });
}

void FieldEditor::build_calendar_button()
{
    m_calendar = new QToolButton(this);
    m_calendar->setText(QStringLiteral("..."));
    m_calendar->setToolTip(QStringLiteral("Choose the date on a calendar"));
    m_calendar->setPopupMode(QToolButton::InstantPopup);
    m_calendar->setFocusPolicy(Qt::NoFocus);
    m_calendar->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    auto* menu = new QMenu(m_calendar);
    auto* calendar = new QCalendarWidget(menu);
    calendar->setGridVisible(true);
    auto* holder = new QWidgetAction(menu);
    holder->setDefaultWidget(calendar);
    menu->addAction(holder);
    m_calendar->setMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, calendar] {
        const auto shown = parse_user_date(m_line->text(), m_model->settings().ZELKOR_DATE_FORMAT);
        calendar->setSelectedDate(shown && shown->isValid() ? *shown : QDate::currentDate());
    });
    connect(calendar, &QCalendarWidget::activated, this, [this, menu](QDate date) {
        menu->close();
        const QString text = format_user_date(date, m_model->settings().ZELKOR_DATE_FORMAT);
        m_line->setText(text);
        commit(text);
    });
    connect(calendar, &QCalendarWidget::clicked, calendar, &QCalendarWidget::activated);
    layout()->addWidget(m_calendar);
}

void FieldEditor::build_multi_line()
{
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(m_name + QStringLiteral("_edit"));
    m_text->setTabChangesFocus(true);
    const int line = fontMetrics().lineSpacing();
    m_text->setMinimumHeight(line * 2 + 12);
    m_text->setMaximumHeight(line * 4 + 12);
    m_text->installEventFilter(this);
    layout()->addWidget(m_text);
}

void FieldEditor::build_check(const QString& caption)
{
    m_check = new QCheckBox(caption, this);
    m_check->setObjectName(m_name + QStringLiteral("_edit"));
    layout()->addWidget(m_check);
    connect(m_check, &QCheckBox::clicked, this, [this](bool ticked) {
        commit(ticked ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

void FieldEditor::build_drop_down()
{
    m_combo = new PickListComboBox(this);
    m_combo->setObjectName(m_name + QStringLiteral("_edit"));
    layout()->addWidget(m_combo);
    connect(m_combo, &PickListComboBox::committed, this, &FieldEditor::commit);
}

QWidget* FieldEditor::control() const
{
    if (m_line)
        return m_line;
    if (m_text)
        return m_text;
    if (m_check)
        return m_check;
    return m_combo;
}

bool FieldEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text && event->type() == QEvent::FocusOut)
        commit(m_text->toPlainText());
    return QWidget::eventFilter(watched, event);
}

void FieldEditor::commit(const QString& text)
{
    // A message box from the field's check takes the focus away, which would commit again.
    if (m_committing || !m_model || m_model->is_closed() || text == m_model->field(m_name))
        return;
    if (!m_model->field_editable(m_name)) {
        refresh_value();
        return;
    }
    m_committing = true;
    m_model->type_into(m_name, text);
    m_committing = false;
    refresh_value();
}

void FieldEditor::refresh_value()
{
    if (!m_model)
        return;
    const Field* field = m_model->find_field(m_name);
    if (!field)
        return;
    const QSignalBlocker block(control());
    if (m_line && m_line->text() != field->value)
        m_line->setText(field->value);
    if (m_line)
        m_line->setCursorPosition(0);
    if (m_text && m_text->toPlainText() != field->value)
        m_text->setPlainText(field->value);
    if (m_check)
        m_check->setChecked(field->checked());
    if (m_combo)
        m_combo->show_value(field->value);
}

void FieldEditor::refresh_state()
{
    if (!m_model)
        return;
    const bool editable = m_model->field_editable(m_name);
    if (m_line)
        m_line->setReadOnly(!editable);
    if (m_text)
        m_text->setReadOnly(!editable);
    if (m_check)
        m_check->setEnabled(editable);
    if (m_combo)
        m_combo->setEnabled(editable);
    if (m_calendar)
        m_calendar->setEnabled(editable);
    // Read-only boxes look it, so the clerk sees at once what can be typed into.
    if (QWidget* box = control(); box && box != m_check && box != m_combo) {
        QPalette palette = box->palette();
        palette.setBrush(QPalette::Base, QApplication::palette(box).brush(editable ? QPalette::Base : QPalette::Window));
        box->setPalette(palette);
    }
}

void FieldEditor::refresh_choices()
{
    if (!m_model || !m_combo)
        return;
    if (const Field* field = m_model->find_field(m_name))
        m_combo->set_choices(field->choices);
}

} // namespace zelkor
