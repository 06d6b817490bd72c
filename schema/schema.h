#pragma once

#include "core/db/database.h"

#include <expected>

namespace zelkor::schema {

/// The DDL of the suite's tables as the given engine reads it.
QString tables_sql(Engine engine);

/// Creates every table and index of an empty company database, in one transaction; on
/// PostgreSQL with the company's roles and their grants (roles.h).
[[nodiscard]] std::expected<void, Error> create_tables(Database& db);
/// Loads the demo company, with its fiscal years around `current_year`.
[[nodiscard]] std::expected<void, Error> load_demo(Database& db, int current_year);
/// Loads the compact data set the tests build on (fixed years 2025 to 2027).
[[nodiscard]] std::expected<void, Error> load_fixture(Database& db);
/// True when the database already holds the suite's tables.
[[nodiscard]] std::expected<bool, Error> has_tables(Database& db);

} // namespace zelkor::schema
