#pragma once

namespace zelkor::schema {

extern const char* const embedded_tables_sql;
extern const char* const embedded_demo_sql;
extern const char* const embedded_fixture_sql;

} // namespace zelkor::schema
