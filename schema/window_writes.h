#pragma once
// What each window right may write, table by table: the one list from which the PostgreSQL
// roles of a company get their grants (schema/roles.h). A save that writes a table its right does
// not list here is refused by the server, so the list must cover every save, edit and void of the
// window; the suite runs the windows' saves under these roles to prove it.

#include <QString>

#include <vector>

namespace zelkor::schema {

/// A table a role may write and how, as GRANT lists it: "INSERT, UPDATE, DELETE", or
/// "INSERT, UPDATE (void)" where rows once written are kept (journal, inventory history,
/// payables) and only the columns a reversal, void or edit sets may change. A save that locks
/// rows it does not change still needs UPDATE on some column of their table: PostgreSQL asks it
/// of SELECT ... FOR UPDATE.
struct TableWrite {
    QString table;
    QString privileges;
};

/// One group role of a company and what it may write; every such role also reads every table
/// and keeps its own window settings (see roles.h).
struct WriteRole {
    QString suffix; ///< the role's name after the company's prefix: "pr_update"
    QString form;   ///< the window whose right it carries; empty for a right of every window
    QString right;  ///< "update", "print" or "design"
    std::vector<TableWrite> writes;
};

/// The group roles that write, one per window's update right and one each for printing and
/// layout (a user with that right in any window).
const std::vector<WriteRole>& write_roles();

/// What every clerk may write whatever their rights: the remembered values and toolbar choices a
/// window keeps when it closes.
const std::vector<TableWrite>& settings_writes();

/// The write role carrying `right` in the window `form`, or nullptr when that right writes
/// nothing (a report's update right).
const WriteRole* write_role_of(const QString& form, const QString& right);
/// The write roles of the rights a user holds in the window `form`.
std::vector<const WriteRole*> write_roles_of(const QString& form, bool update, bool print, bool design);

} // namespace zelkor::schema
