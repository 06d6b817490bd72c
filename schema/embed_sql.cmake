# Turns the schema's SQL files into one C++ source, so the library carries its own schema.
# Called as: cmake -DOUTPUT=... -DINPUTS="a.sql|b.sql" -P embed_sql.cmake
set(content "// Generated from the schema's SQL files; edit those instead.\n#include \"schema/embedded_sql.h\"\n\nnamespace zelkor::schema {\n")
string(REPLACE "|" ";" INPUTS "${INPUTS}")
foreach(input IN LISTS INPUTS)
  get_filename_component(name "${input}" NAME_WE)
  file(READ "${input}" sql)
  string(APPEND content "const char* const embedded_${name}_sql = R\"zelkorsql(${sql})zelkorsql\";\n")
endforeach()
string(APPEND content "}\n")
file(WRITE "${OUTPUT}.tmp" "${content}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
