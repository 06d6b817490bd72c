#pragma once
// The company's clerks: their User_table and User_right_table rows and, on PostgreSQL, their
// login roles and memberships in the company's roles (schema/roles.h), changed together in one
// transaction so that the rights a window shows and the writes the server allows never part.

#include "core/db/database.h"

#include <QStringList>

#include <expected>
#include <vector>

namespace zelkor::admin {

/// A clerk's rights in one window.
struct WindowRights {
    QString form;
    bool update = false;
    bool print = false;
    bool design = false;

    /// Reads "POform_pr=update,print" (the rights after "=" in any order; none gives nothing).
    [[nodiscard]] static std::expected<WindowRights, QString> parse(const QString& text);
    /// "POform_pr=update,print".
    QString text() const;
};

struct Clerk {
    QString userid;
    QString name;
    bool active = true;
    std::vector<WindowRights> rights;
    QStringList roles; ///< on PostgreSQL, the company's roles the clerk's login belongs to
};

/// Adds a clerk with these rights; on PostgreSQL its login role (an existing role of that name,
/// a clerk of another company, is used as it is) joins the company's roles its rights name. Its
/// password is set apart from the command line (psql's \password). A clerk already in
/// User_table is refused.
[[nodiscard]] std::expected<void, Error> add_clerk(Database& db, const Clerk& clerk);
/// Replaces a clerk's rights, and its memberships with them; on PostgreSQL an active clerk without
/// a login role (a user of the demo company) gets one.
[[nodiscard]] std::expected<void, Error> set_clerk_rights(Database& db, const QString& userid,
                                                          const std::vector<WindowRights>& rights);
/// Marks a clerk inactive and takes away its memberships: its login can no longer connect to the
/// company. Its rows stay, for the documents it wrote.
[[nodiscard]] std::expected<void, Error> disable_clerk(Database& db, const QString& userid);
/// Every clerk with its rights (and memberships), by user id.
[[nodiscard]] std::expected<std::vector<Clerk>, Error> list_clerks(Database& db);

} // namespace zelkor::admin
