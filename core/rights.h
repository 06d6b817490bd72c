#pragma once

#include "core/db/database.h"

#include <QString>

#include <array>
#include <optional>

namespace zelkor {

/// The windows whose rights User_right_table holds, by their class names.
inline constexpr std::array<const char*, 15> windows_with_rights{
    "POform_pr",           "POform_po",               "POform_receipt",          "POform_invoice",
    "POform_landed",       "POform_misccharge",       "POform_shipvia",          "POform_vendor_group",
    "POreport_vendor_list", "POreport_pr_transaction", "POreport_po_transaction", "POreport_receipt_transaction",
    "POreport_invoice_transaction", "POreport_payable_clearing", "POreport_purchase_tax"};

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

/// The user the module works for on this connection. On PostgreSQL it is the login role
/// (session_user): an empty `named` gives the login, and a `named` user who is someone else is
/// refused, unless the login is a superuser (who may take any role anyway: it acts as `named`,
/// or as ADMIN when `named` is empty). On SQLite it is `named`, as the host gives it (ADMIN for
/// an empty one).
[[nodiscard]] std::expected<QString, Error> module_user(Database& db, const QString& named);

/// Reads the rights of `userid` on the window `form` (its own name, e.g. "POform_pr"). A user
/// without a row gets nothing; a database error is logged and also leaves everything refused,
/// so the window still opens, read-only. On PostgreSQL a `userid` that is not the login's
/// (module_user) gets nothing either.
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
