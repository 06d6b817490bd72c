#pragma once

#include "core/db/database.h"

#include <QString>

#include <optional>

namespace zelkor {

/// What a command asks of the user's rights on its window.
enum class Right { None, Update, Print, Design };

/// The rights of one user on one window, read once when the window opens. Everything is
/// refused until a row of User_right_table grants it.
struct Rights {
    bool update = false;
    bool print = false;
    bool design = false;

    bool allows(Right right) const;
};

/// Reads the rights of `userid` on the window `form` (its own name, e.g. "POform_pr"). A user
/// without a row gets nothing; a database error is logged and also leaves everything refused,
/// so the window still opens, read-only.
Rights load_rights(Database& db, const QString& form, const QString& userid);

/// The first id of the commands a window defines for itself.
inline constexpr int FirstWindowCommand = 1001;

/// The right a command shared by the document windows needs: update for every command that
/// writes or starts writing (save, new, edit mode, copy to new, lines, void, delete), print
/// for preview, design for the grid font commands. A window's own commands (1001 and up) need
/// update unless the window declares otherwise, so that a forgotten declaration refuses
/// rather than lets a read-only user write.
Right right_needed(int command_id);

/// Whether the user may run a command; `declared` overrides the default of right_needed (a
/// window passes Right::None for its commands that only show something, Right::Update for a
/// hand-off, ...).
bool command_allowed(const Rights& rights, int command_id, std::optional<Right> declared = std::nullopt);

} // namespace zelkor
