#include "ui/column_choice.h"

#include "windows/base/grid.h"

#include <QMenu>
#include <QTableView>

namespace zelkor {

namespace {

/// The captions of the audit stamp, the keys and the tax allocated to a line's cost.
bool internal_caption(const QString& caption)
{
    static const QStringList captions{QStringLiteral("allocated tax"), QStringLiteral("allocated"),
                                      QStringLiteral("user created"),  QStringLiteral("user updated"),
                                      QStringLiteral("created date"),  QStringLiteral("created time"),
                                      QStringLiteral("last modified date"), QStringLiteral("last modified time"),
                                      QStringLiteral("computer id")};
    const QString name = caption.trimmed().toLower();
    return captions.contains(name) || name == u"fkey" || name.endsWith(QLatin1String(" key"));
}

} // namespace

ColumnChoice::ColumnChoice(Grid& grid, QTableView& view, bool layout_stored)
    : QObject(&view), m_grid(&grid), m_view(&view), m_layout_stored(layout_stored)
{
}

bool ColumnChoice::internal(const QString& caption) { return internal_caption(caption); }

bool ColumnChoice::hidden(int column) const
{
    if (const auto chosen = m_chosen.find(column); chosen != m_chosen.end())
        return !chosen->second;
    const GridColumn& declaration = m_grid->column(column);
    return declaration.hidden || (!m_layout_stored && internal(declaration.caption));
}

void ColumnChoice::apply(int column)
{
    if (m_grid && column >= 0 && column < m_grid->column_count())
        m_view->setColumnHidden(column, hidden(column));
}

void ColumnChoice::choose(int column, bool shown)
{
    m_chosen[column] = shown;
    apply(column);
}

void ColumnChoice::fill_menu(QMenu& menu)
{
    menu.clear();
    if (!m_grid)
        return;
    for (int column = 0; column < m_grid->column_count(); ++column) {
        const QString caption = m_grid->column(column).caption;
        if (caption.trimmed().isEmpty())
            continue;
        QAction* item = menu.addAction(caption);
        item->setCheckable(true);
        item->setChecked(!hidden(column));
        connect(item, &QAction::toggled, this, [this, column](bool shown) { choose(column, shown); });
    }
}

} // namespace zelkor
