#pragma once

#include "core/rights.h"
#include "windows/base/font_panel.h"
#include "windows/base/grid_layout.h"

#include <QObject>
#include <QString>

#include <map>
#include <vector>

namespace zelkor {

class Grid;
class Prompter;

/// Everything a window remembers about its presentation: the stored layout of each of its
/// grids, the font panel acting on one of them, the user's toolbar and font-panel choices and
/// the shared alternate-row colour. A window model owns one and runs open() and close(); the
/// view reads it and reports moves, widths and row heights into the layouts.
class WindowLayouts : public QObject {
    Q_OBJECT
public:
    explicit WindowLayouts(QObject* parent = nullptr);

    /// Restores every grid's layout, the user's form properties and the alternate-row switch.
    /// Nothing stored or a failing read leaves the window's defaults.
    void open(Database& db, const QString& form, const QString& userid, const Rights& rights,
              const std::vector<Grid*>& grids);
    /// Stores the grids' order, widths and row heights (with the design right only) and the
    /// user's form properties.
    void close();

    GridLayout* layout(const QString& grid);
    FontPanel& font_panel() { return m_font_panel; }
    /// The font panel now acts on this grid's layout.
    void choose_grid(const QString& grid);
    const QString& chosen_grid() const { return m_font_grid; }

    bool toolbar_text() const { return m_toolbar_text; }
    bool fontbar() const { return m_fontbar; }
    bool alternate_rows() const { return m_alternate_rows; }
    void set_toolbar_text(bool on);
    void set_fontbar(bool on);
    /// Stores the shared switch and asks the view to restyle every grid of the window.
    void set_alternate_rows(bool on);

    /// Whether the id is a font panel command (401 to 408).
    static bool handles(int command_id);
    /// Runs a font panel command on the chosen grid; "Save Font" shows "save font complete".
    /// False when the command did not complete (no layout, no design right, a database failure).
    bool execute(int command_id, Prompter& prompter);

signals:
    /// The layouts are about to be stored: the view writes its columns' positions, widths and
    /// the row height into them now.
    void aboutToStore();
    void layoutChanged(const QString& grid);
    void toolbarTextChanged(bool on);
    void fontbarChanged(bool on);
    void alternateRowsChanged(bool on);

private:
    /// Gives the chosen grid the alignments its layout now has (printing and cell editors read
    /// them from the grid).
    void align_grid_columns();

    Database* m_db = nullptr;
    std::vector<Grid*> m_grids;
    QString m_form;
    QString m_userid;
    Rights m_rights;
    std::map<QString, GridLayout> m_layouts;
    QString m_font_grid;
    FontPanel m_font_panel;
    bool m_toolbar_text = false;
    bool m_fontbar = false;
    bool m_alternate_rows = false;
};

} // namespace zelkor
