#pragma once
// The PostgreSQL roles of a company, so that the database itself holds who may write what: an
// owner that no clerk uses owns every table; a reading role; a settings role; and the write roles
// of schema/window_writes.h. A clerk's login role is a member of the reading and settings roles
// and of the write roles its rights name (admin/clerks.h). Nothing of this exists on SQLite.

#include "core/db/database.h"

#include <QStringList>

#include <expected>

namespace zelkor::schema {

/// Suffixes of the roles that are not write roles.
inline constexpr const char* OwnerRole = "owner";
inline constexpr const char* ReadRole = "read";
inline constexpr const char* SettingsRole = "settings";

/// The name of one of the company's roles: its prefix, "_", and the role's suffix.
QString role_name(const QString& prefix, const QString& suffix);
/// Every role of the company with this prefix: owner, reading, settings and write roles.
QStringList role_names(const QString& prefix);

/// Makes the company's roles, named after its database (with a few characters more when another
/// company already has roles of that name), and gives the tables to the owner, with the reads and
/// writes of each role. Runs inside the caller's transaction; needs a user who may create roles.
/// Does nothing on SQLite.
[[nodiscard]] std::expected<void, Error> create_roles(Database& db);

/// The prefix of the company's roles; empty on SQLite or where no roles were made.
[[nodiscard]] std::expected<QString, Error> role_prefix(Database& db);

/// An identifier as PostgreSQL reads it double-quoted ("ADMIN" stays upper case).
QString quoted_identifier(const QString& name);

} // namespace zelkor::schema
