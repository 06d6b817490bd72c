#include "ui/field_editor.h"

#include "core/fiscal_periods.h"
#include "ui/message_box_prompter.h"
#include "ui/pick_list_combo_box.h"
#include "windows/base/window_model.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QToolButton>
#include <QWidgetAction>

namespace zelkor {

namespace {

/// No line box asks for more room than this many average characters; longer texts scroll.
constexpr int WidestCharacters = 48;
/// The room a line edit keeps beside its text (its text margins and cursor).
constexpr int LineTextMargins = 8;

} // namespace

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
    if (!field.declaration.unit.isEmpty())
        build_unit(field.declaration.unit);
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

void FieldEditor::build_unit(const QString& unit)
{
    auto* label = new QLabel(unit, this);
    label->setObjectName(m_name + QStringLiteral("_unit"));
    layout()->addWidget(label);
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
    Entry entry = Entry::Accepted;
    {
        const ValueCheck checking;
        entry = m_model->type_into(m_name, text);
    }
    m_committing = false;
    refresh_value();
    mark_refused(entry == Entry::Refused);
}

void FieldEditor::mark_refused(bool refused)
{
    if (refused) {
        // Back to the field once the message is gone, wherever the clerk was going.
        QTimer::singleShot(0, this, [box = QPointer<QWidget>(control())] {
            if (box && box->isVisible())
                box->setFocus(Qt::OtherFocusReason);
        });
    }
    if (m_refused == refused)
        return;
    m_refused = refused;
    setProperty("refused", refused);
    if (QWidget* box = control(); box && box != m_check)
        box->setStyleSheet(refused ? QStringLiteral("border: 2px solid #c62828;") : QString());
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
    if (m_line) {
        m_line->setCursorPosition(0);
        fit_line_to_value();
    }
    if (m_text && m_text->toPlainText() != field->value)
        m_text->setPlainText(field->value);
    if (m_check)
        m_check->setChecked(field->checked());
    if (m_combo)
        m_combo->show_value(field->value);
}

void FieldEditor::fit_line_to_value()
{
    // Wide enough for the value it holds (a thirty-character number shows whole), within reason:
    // a longer text scrolls inside the box.
    const QFontMetrics metrics = m_line->fontMetrics();
    const int text = std::min(metrics.horizontalAdvance(m_line->text()), metrics.averageCharWidth() * WidestCharacters);
    QStyleOptionFrame option;
    option.initFrom(m_line);
    option.lineWidth = m_line->hasFrame() ? m_line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_line) : 0;
    const int wanted = m_line->style()
                           ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text + LineTextMargins, metrics.height()), m_line)
                           .width();
    const int least = m_kind == FieldKind::Date ? metrics.horizontalAdvance(QStringLiteral("00/00/00000")) + 12 : 0;
    m_line->setMinimumWidth(std::max(wanted, least));
}

void FieldEditor::refresh_state()
{
    if (!m_model)
        return;
    const bool editable = m_model->field_editable(m_name);
    // Read mode shows values as read-only text in normal contrast, not as disabled controls; a
    // box that cannot be typed into is no tab stop.
    if (m_line)
        m_line->setReadOnly(!editable);
    if (m_text)
        m_text->setReadOnly(!editable);
    if (m_check)
        m_check->setAttribute(Qt::WA_TransparentForMouseEvents, !editable);
    if (m_combo)
        m_combo->set_read_only(!editable);
    if (m_calendar)
        m_calendar->setEnabled(editable);
    if (QWidget* box = control()) {
        box->setFocusPolicy(editable ? Qt::StrongFocus : (box == m_check ? Qt::NoFocus : Qt::ClickFocus));
        QPalette palette = box->palette();
        const QPalette normal = QApplication::palette(box);
        // Read-only boxes take the window's background, so the clerk sees at once what can be
        // typed into; their text keeps the normal colour.
        if (box != m_check)
            palette.setBrush(QPalette::Base, normal.brush(editable ? QPalette::Base : QPalette::Window));
        palette.setBrush(QPalette::Text, normal.brush(QPalette::Text));
        palette.setBrush(QPalette::WindowText, normal.brush(QPalette::WindowText));
        box->setPalette(palette);
        if (m_combo)
            m_combo->lineEdit()->setPalette(palette);
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
