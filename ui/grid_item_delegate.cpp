#include "ui/grid_item_delegate.h"

#include "ui/grid_table_model.h"
#include "ui/pick_list_combo_box.h"
#include "windows/base/grid.h"

#include <QLineEdit>

namespace zelkor {

namespace {

const GridColumn* column_of(const QModelIndex& index)
{
    const auto* model = qobject_cast<const GridTableModel*>(index.model());
    if (!model || !model->grid() || index.column() >= model->grid()->column_count())
        return nullptr;
    return &model->grid()->column(index.column());
}

} // namespace

GridItemDelegate::GridItemDelegate(QString date_format, QObject* parent)
    : QStyledItemDelegate(parent), m_date_format(std::move(date_format))
{
}

QWidget* GridItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const GridColumn* column = column_of(index);
    if (!column)
        return QStyledItemDelegate::createEditor(parent, option, index);
    if (column->kind == FieldKind::DropDown && !column->choices.empty()) {
        auto* combo = new PickListComboBox(parent);
        combo->set_choices(column->choices);
        // Choosing a row in the list is the end of the edit, as in a spreadsheet.
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, combo](int) {
            auto* self = const_cast<GridItemDelegate*>(this);
            emit self->commitData(combo);
            emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
        });
        return combo;
    }
    auto* line = new QLineEdit(parent);
    line->setFrame(false);
    if (column->kind == FieldKind::Number)
        line->setAlignment(Qt::AlignRight);
    if (column->kind == FieldKind::Date)
        line->setPlaceholderText(m_date_format);
    return line;
}

void GridItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(GridTableModel::StruckOutRole).toBool())
        option->font.setStrikeOut(true);
}

void GridItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<PickListComboBox*>(editor))
        combo->show_value(text);
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(text);
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void GridItemDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<PickListComboBox*>(editor))
        model->setData(index, combo->value());
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        model->setData(index, line->text());
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace zelkor
