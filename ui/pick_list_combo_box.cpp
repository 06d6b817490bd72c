#include "ui/pick_list_combo_box.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyleOptionComboBox>
#include <QTableView>

namespace zelkor {

namespace {

/// Lists longer than this are measured over their first rows only.
constexpr size_t MeasuredRows = 500;
/// No box asks for more room than this many average characters; longer texts scroll inside it.
constexpr int WidestCharacters = 48;

QIcon swatch_of(const QString& hex)
{
    const QColor colour(QLatin1Char('#') + hex.trimmed());
    if (!colour.isValid())
        return {};
    QPixmap swatch(16, 16);
    swatch.fill(colour);
    QPainter frame(&swatch);
    frame.setPen(Qt::darkGray);
    frame.drawRect(0, 0, 15, 15);
    return QIcon(swatch);
}

} // namespace

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
            if (column == choices.swatch_column)
                item->setIcon(swatch_of(row.value(column)));
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
        if (!view()->isVisible() && !m_read_only)
            emit committed(value());
    });
}

void PickListComboBox::set_choices(const Choices& choices)
{
    const QString shown = value();
    const QSignalBlocker block(this);
    m_choices = choices;
    fill_pick_list_model(*m_items, choices);
    setModelColumn(std::clamp(choices.bound_column, 0, m_items->columnCount() - 1));
    m_list->horizontalHeader()->setVisible(!choices.captions.isEmpty() && m_items->columnCount() > 1);
    size_list_columns(choices);
    measure_values(choices);
    show_value(shown);
}

void PickListComboBox::size_list_columns(const Choices& choices)
{
    // Measured over the rows themselves: a table view that is not shown yet measures only the
    // rows it would show first.
    const QFontMetrics metrics = m_list->fontMetrics();
    const size_t measured_rows = std::min(choices.rows.size(), MeasuredRows);
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
        if (column == choices.swatch_column)
            width += m_list->iconSize().width() + 8;
        m_list->setColumnWidth(column, width);
        m_list_width += width;
    }
}

void PickListComboBox::measure_values(const Choices& choices)
{
    const QFontMetrics metrics = fontMetrics();
    const size_t measured_rows = std::min(choices.rows.size(), MeasuredRows);
    m_longest_value = 0;
    for (size_t row = 0; row < measured_rows; ++row)
        m_longest_value = std::max(m_longest_value,
                                   metrics.horizontalAdvance(choices.display_text(choices.value_of(int(row)))));
    m_longest_value = std::min(m_longest_value, metrics.averageCharWidth() * WidestCharacters);
    updateGeometry();
}

void PickListComboBox::show_value(const QString& value)
{
    const QSignalBlocker block(this);
    m_value = value;
    m_display = m_choices.display_text(value);
    setCurrentIndex(findText(value, Qt::MatchFixedString));
    show_text(hasFocus() && !m_read_only);
    updateGeometry();
}

void PickListComboBox::show_text(bool typing)
{
    const QSignalBlocker block(this);
    setEditText(typing ? m_value : m_display);
    lineEdit()->setCursorPosition(0);
}

QString PickListComboBox::value() const
{
    const QString text = currentText();
    return text == m_display ? m_value : text;
}

void PickListComboBox::set_read_only(bool read_only)
{
    m_read_only = read_only;
    lineEdit()->setReadOnly(read_only);
    show_text(hasFocus() && !read_only);
}

void PickListComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    if (!m_read_only && event->reason() != Qt::PopupFocusReason) {
        show_text(true);
        lineEdit()->selectAll();
    }
}

void PickListComboBox::focusOutEvent(QFocusEvent* event)
{
    // Leaving the box commits what was typed first; then the value shows with its name.
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        show_text(false);
}

void PickListComboBox::keyPressEvent(QKeyEvent* event)
{
    static const QList<int> choosing{Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_F4};
    if (m_read_only && choosing.contains(event->key())) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void PickListComboBox::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls the window; it never changes a value by passing over a box.
    event->ignore();
}

int PickListComboBox::width_for_text(int text_width) const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const int icon = currentIndex() >= 0 && !itemIcon(currentIndex()).isNull() ? iconSize().width() + 4 : 0;
    const QSize contents(text_width + icon + 4, fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this).width();
}

QSize PickListComboBox::sizeHint() const
{
    QSize hint = QComboBox::sizeHint();
    const int character = fontMetrics().averageCharWidth();
    hint.setWidth(std::max(minimumSizeHint().width(), width_for_text(character * 14)));
    return hint;
}

QSize PickListComboBox::minimumSizeHint() const
{
    // The box is wide enough for every value it can show, so no chosen value is ever cut.
    QSize hint = QComboBox::minimumSizeHint();
    const int shown = std::max(m_longest_value, fontMetrics().horizontalAdvance(currentText()));
    const int character = fontMetrics().averageCharWidth();
    hint.setWidth(width_for_text(std::clamp(shown, character * 6, character * WidestCharacters)));
    return hint;
}

void PickListComboBox::showPopup()
{
    if (m_read_only)
        return;
    // The list shows every column in full, even when the box itself is narrow.
    const int scroll = m_list->verticalScrollBar()->sizeHint().width();
    const int wanted = std::max(width(), m_list_width + scroll + 2 * m_list->frameWidth() + 4);
    m_list->setMinimumWidth(wanted);
    if (QWidget* popup = m_list->parentWidget())
        popup->setMinimumWidth(wanted);
    QComboBox::showPopup();
}

} // namespace zelkor
