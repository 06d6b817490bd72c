#include "ui/pick_list_combo_box.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>

namespace zelkor {

void fill_pick_list_model(QStandardItemModel& model, const Choices& choices)
{
    model.clear();
    int columns = int(choices.captions.size());
    for (const QStringList& row : choices.rows)
        columns = std::max(columns, int(row.size()));
    model.setColumnCount(std::max(columns, 1));
    if (!choices.captions.isEmpty())
        model.setHorizontalHeaderLabels(choices.captions);
    for (const QStringList& row : choices.rows) {
        QList<QStandardItem*> items;
        for (int column = 0; column < model.columnCount(); ++column) {
            auto* item = new QStandardItem(row.value(column));
            item->setEditable(false);
            items << item;
        }
        model.appendRow(items);
    }
}

PickListComboBox::PickListComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    m_items = new QStandardItemModel(this);
    m_list = new QTableView(this);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setShowGrid(false);
    m_list->setAlternatingRowColors(true);
    setModel(m_items);
    setView(m_list);
    // A completer would match only the bound column; typing stays free instead.
    setCompleter(nullptr);

    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) { emit committed(value()); });
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (!view()->isVisible())
            emit committed(value());
    });
}

void PickListComboBox::set_choices(const Choices& choices)
{
    const QString shown = value();
    const QSignalBlocker block(this);
    fill_pick_list_model(*m_items, choices);
    setModelColumn(std::clamp(choices.bound_column, 0, m_items->columnCount() - 1));
    m_list->horizontalHeader()->setVisible(!choices.captions.isEmpty() && m_items->columnCount() > 1);
    size_list_columns(choices);
    show_value(shown);
}

void PickListComboBox::size_list_columns(const Choices& choices)
{
    // Measured over the rows themselves: a table view that is not shown yet measures only the
    // rows it would show first.
    const QFontMetrics metrics = m_list->fontMetrics();
    const size_t measured_rows = std::min<size_t>(choices.rows.size(), 500);
    m_list_width = 0;
    for (int column = 0; column < m_items->columnCount(); ++column) {
        const int declared = column < int(choices.widths.size()) ? choices.widths[size_t(column)] : -1;
        m_list->setColumnHidden(column, declared == 0);
        if (declared == 0)
            continue;
        int width = declared;
        if (declared < 0) {
            width = metrics.horizontalAdvance(choices.captions.value(column));
            for (size_t row = 0; row < measured_rows; ++row)
                width = std::max(width, metrics.horizontalAdvance(choices.rows[row].value(column)));
            width = std::clamp(width + 16, 60, 360);
        }
        m_list->setColumnWidth(column, width);
        m_list_width += width;
    }
}

void PickListComboBox::show_value(const QString& value)
{
    const QSignalBlocker block(this);
    const int row = findText(value, Qt::MatchFixedString);
    setCurrentIndex(row);
    setEditText(value);
}

QString PickListComboBox::value() const
{
    return currentText();
}

QSize PickListComboBox::sizeHint() const
{
    QSize hint = QComboBox::sizeHint();
    hint.setWidth(std::clamp(hint.width(), fontMetrics().averageCharWidth() * 14, fontMetrics().averageCharWidth() * 30));
    return hint;
}

QSize PickListComboBox::minimumSizeHint() const
{
    QSize hint = QComboBox::minimumSizeHint();
    hint.setWidth(fontMetrics().averageCharWidth() * 10);
    return hint;
}

void PickListComboBox::showPopup()
{
    // The list shows every column in full, even when the box itself is narrow.
    const int scroll = m_list->verticalScrollBar()->sizeHint().width();
    const int wanted = std::max(width(), m_list_width + scroll + 2 * m_list->frameWidth() + 4);
    m_list->setMinimumWidth(wanted);
    if (QWidget* popup = m_list->parentWidget())
        popup->setMinimumWidth(wanted);
    QComboBox::showPopup();
}

} // namespace zelkor
