#pragma once

#include <QString>

namespace zelkor {

/// Where a docking pane starts.
enum class PaneArea { Right, Bottom, Left, Top };

/// A docking pane of a window ("Tax Detail Window", stock panes, the requisition pane ...). Its
/// fields name it in FieldSpec::pane and its grids in Grid::pane().
struct Pane {
    QString name{};     ///< snake_case, used by scripts and the model
    QString caption{};  ///< the pane's title bar
    PaneArea area = PaneArea::Right;
    bool visible = false;
    int toggle_command = 0; ///< the command that shows and hides it (0 when none); it is checked while visible
};

} // namespace zelkor
