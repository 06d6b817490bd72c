#pragma once

#include <QStyledItemDelegate>

namespace zelkor {

/// Cell editors of a grid view: a multi-column drop-down for columns with a pick-list, a line
/// edit showing the user's date format for date columns, a right-aligned line edit for numbers.
class GridItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridItemDelegate(QString date_format, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    /// Rows of void documents are drawn struck through.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QString m_date_format;
};

} // namespace zelkor
