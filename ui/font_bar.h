#pragma once

#include <QHash>
#include <QPointer>
#include <QToolBar>

class QAction;
class QComboBox;
class QFontComboBox;
class QMenu;

namespace zelkor {

class WindowModel;

/// The font panel of a window as a toolbar: the columns shown, the column chooser ("all
/// columns" or one column), the font, size and colour pickers and the window's font commands (Save Font, Restore Font,
/// bold, italic, underline, alignments). It acts on the grid the clerk last worked in.
class FontBar : public QToolBar {
    Q_OBJECT
public:
    /// `commands` are the window's actions by command id; those of 401 to 408 join the bar.
    FontBar(WindowModel& model, const QHash<int, QAction*>& commands, QWidget* parent = nullptr);

    /// Lists the chosen grid's columns in the chooser again.
    void refresh_columns();
    /// The menu of the "Columns" button, which shows and hides the chosen grid's columns; the
    /// view fills it as it opens.
    QMenu* columns_menu() const { return m_columns_menu; }

signals:
    /// A picker restyled columns of this grid.
    void layoutEdited(const QString& grid);

private:
    void build_pickers();
    void fill_colours();
    template <typename Change> void change_layout(Change&& change);

    QPointer<WindowModel> m_model;
    QComboBox* m_columns = nullptr;
    QMenu* m_columns_menu = nullptr;
    QFontComboBox* m_font = nullptr;
    QComboBox* m_size = nullptr;
    QComboBox* m_colour = nullptr;
};

} // namespace zelkor
