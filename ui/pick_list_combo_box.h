#pragma once

#include "forms/common/field.h"

#include <QComboBox>

class QStandardItemModel;
class QTableView;

namespace zelkor {

/// An editable drop-down whose list shows every column of a pick-list (code, name, ...) with
/// headings, while the box itself holds the bound column's value. Typing is free: a value that is
/// not in the list is still handed to the window, whose check decides about it.
class PickListComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit PickListComboBox(QWidget* parent = nullptr);

    void set_choices(const Choices& choices);
    /// Shows a value without telling anyone (the model already has it).
    void show_value(const QString& value);
    QString value() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;

signals:
    /// The user chose a row or finished typing.
    void committed(const QString& value);

private:
    void size_list_columns(const Choices& choices);

    QStandardItemModel* m_items = nullptr;
    QTableView* m_list = nullptr;
    int m_list_width = 0;
};

/// Fills an item model with the rows of a pick-list (used by drop-downs in fields and cells).
void fill_pick_list_model(QStandardItemModel& model, const Choices& choices);

} // namespace zelkor
