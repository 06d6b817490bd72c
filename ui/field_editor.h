#pragma once

#include "windows/base/window_model.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace zelkor {

class PickListComboBox;

/// The control of one header field: a line edit, a multi-line box, a date box with a calendar,
/// a check box or a multi-column drop-down, by the field's kind. What the user types goes to
/// WindowModel::type_into when the control is left; the model's signals keep the control current.
class FieldEditor : public QWidget {
    Q_OBJECT
public:
    FieldEditor(WindowModel& model, const Field& field, QWidget* parent = nullptr);

    const QString& name() const { return m_name; }
    FieldKind kind() const { return m_kind; }
    /// The widget that takes focus (the buddy of the field's label).
    QWidget* control() const;

    /// Shows the model's value, state and list.
    void refresh_value();
    void refresh_state();
    void refresh_choices();
    /// Whether the window refused the last value typed here; the field stays marked until a
    /// value is accepted.
    bool is_refused() const { return m_refused; }
    /// Takes the mark away (another document or mode is shown).
    void clear_refusal() { mark_refused(false); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_line(bool date);
    void build_calendar_button();
    void build_multi_line();
    void build_check(const QString& caption);
    void build_drop_down();
    void commit(const QString& text);
    void build_unit(const QString& unit);
    void mark_refused(bool refused);
    /// A line box is at least as wide as the value it shows.
    void fit_line_to_value();

    QPointer<WindowModel> m_model;
    QString m_name;
    FieldKind m_kind;
    bool m_committing = false;
    bool m_refused = false;
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QCheckBox* m_check = nullptr;
    PickListComboBox* m_combo = nullptr;
    QToolButton* m_calendar = nullptr;
};

} // namespace zelkor
