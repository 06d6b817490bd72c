#pragma once

#include "windows/base/field.h"

#include <QComboBox>

class QStandardItemModel;
class QTableView;

namespace zelkor {

/// An editable drop-down whose list shows every column of a pick-list (code, name, ...) with
/// headings, while the box itself holds the bound column's value. Typing is free: a value that is
/// not in the list is still handed to the window, whose check decides about it. Once chosen, a
/// code of a list that names its codes shows as "code — name" until the box is typed into again;
/// the value stays the code.
class PickListComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit PickListComboBox(QWidget* parent = nullptr);

    void set_choices(const Choices& choices);
    /// Shows a value without telling anyone (the model already has it).
    void show_value(const QString& value);
    /// The value in the box: the code, whether or not its name is shown beside it.
    QString value() const;
    /// A read-only box shows its value as text in normal contrast; its list does not open.
    void set_read_only(bool read_only);
    bool is_read_only() const { return m_read_only; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;

signals:
    /// The user chose a row or finished typing.
    void committed(const QString& value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void size_list_columns(const Choices& choices);
    void measure_values(const Choices& choices);
    /// Shows the value with its name, or the bare code while the user types.
    void show_text(bool typing);
    int width_for_text(int text_width) const;

    QStandardItemModel* m_items = nullptr;
    QTableView* m_list = nullptr;
    Choices m_choices;
    QString m_value;
    QString m_display; ///< the text shown for m_value when not typing
    int m_list_width = 0;
    int m_longest_value = 0; ///< pixels of the longest shown value of the list
    bool m_read_only = false;
};

/// Fills an item model with the rows of a pick-list (used by drop-downs in fields and cells);
/// a list with a swatch column shows its colours.
void fill_pick_list_model(QStandardItemModel& model, const Choices& choices);

} // namespace zelkor
