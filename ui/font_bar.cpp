#include "ui/font_bar.h"

#include "windows/base/colour_list.h"
#include "windows/base/window_model.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QToolButton>

namespace zelkor {

FontBar::FontBar(WindowModel& model, const QHash<int, QAction*>& commands, QWidget* parent)
    : QToolBar(QStringLiteral("Font"), parent), m_model(&model)
{
    setObjectName(QStringLiteral("font_bar"));
    toggleViewAction()->setText(QStringLiteral("Font &Bar"));
    // The font commands' letter icons look alike; their captions say what each does.
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    build_pickers();
    for (int id = to_int(CommandId::SaveFont); id <= to_int(CommandId::AlignRight); ++id) {
        if (QAction* action = commands.value(id)) {
            if (id == to_int(CommandId::Bold) || id == to_int(CommandId::AlignLeft))
                addSeparator();
            addAction(action);
        }
    }
    // Styling columns is designing the window: without the right the pickers only show.
    const bool design = model.rights().allows(Right::Design);
    for (QWidget* picker : std::initializer_list<QWidget*>{m_columns, m_font, m_size, m_colour})
        picker->setEnabled(design);
    refresh_columns();
}

void FontBar::build_pickers()
{
    // Showing a column the window hides by default (the audit stamp, allocated tax) is reading,
    // not designing: it needs no right and lasts for the session.
    auto* shown = new QToolButton(this);
    shown->setObjectName(QStringLiteral("shown_columns"));
    shown->setText(QStringLiteral("Columns"));
    shown->setPopupMode(QToolButton::InstantPopup);
    m_columns_menu = new QMenu(shown);
    shown->setMenu(m_columns_menu);
    addWidget(shown);
    addSeparator();

    addWidget(new QLabel(QStringLiteral("Apply to "), this));
    m_columns = new QComboBox(this);
    m_columns->setObjectName(QStringLiteral("font_columns"));
    m_columns->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    addWidget(m_columns);
    connect(m_columns, &QComboBox::activated, this, [this] {
        if (m_model)
            m_model->layouts().font_panel().choose_columns(m_columns->currentText());
    });

    m_font = new QFontComboBox(this);
    m_font->setObjectName(QStringLiteral("font_name"));
    m_font->setMaximumWidth(fontMetrics().averageCharWidth() * 24);
    addWidget(m_font);
    connect(m_font, &QComboBox::activated, this, [this] {
        change_layout([family = m_font->currentFont().family()](FontPanel& panel) { panel.set_font_name(family); });
    });

    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("font_size"));
    m_size->setEditable(true);
    m_size->addItems(FontPanel::size_choices());
    m_size->setCurrentIndex(-1);
    m_size->setMinimumContentsLength(3);
    addWidget(m_size);
    connect(m_size, &QComboBox::activated, this, [this] {
        if (const auto size = Decimal::parse(m_size->currentText()))
            change_layout([size = *size](FontPanel& panel) { panel.set_size(size); });
    });

    m_colour = new QComboBox(this);
    m_colour->setObjectName(QStringLiteral("font_colour"));
    m_colour->setMaxVisibleItems(20);
    fill_colours();
    addWidget(m_colour);
    connect(m_colour, &QComboBox::activated, this, [this] {
        change_layout([hex = m_colour->currentData().toString()](FontPanel& panel) { panel.set_colour(hex); });
    });
}

void FontBar::fill_colours()
{
    QPixmap swatch(14, 14);
    for (const ColourEntry& entry : colour_list) {
        const QString hex = QString::fromLatin1(entry.hex.data(), qsizetype(entry.hex.size()));
        swatch.fill(QColor(QLatin1Char('#') + hex));
        m_colour->addItem(QIcon(swatch), QString::fromLatin1(entry.name.data(), qsizetype(entry.name.size())), hex);
    }
    m_colour->setCurrentIndex(-1);
    m_colour->setPlaceholderText(QStringLiteral("Font colour"));
}

template <typename Change> void FontBar::change_layout(Change&& change)
{
    if (!m_model)
        return;
    WindowLayouts& layouts = m_model->layouts();
    change(layouts.font_panel());
    emit layoutEdited(layouts.chosen_grid());
}

void FontBar::refresh_columns()
{
    if (!m_model)
        return;
    const FontPanel& panel = m_model->layouts().font_panel();
    m_columns->clear();
    m_columns->addItems(panel.column_choices());
    m_columns->setCurrentText(panel.chosen());
}

} // namespace zelkor
