# Compiler settings for the project's own targets (never applied to Qt or GoogleTest).
# With ZELKOR_FORCE_ASSERTS (on whenever the tests are built) Q_ASSERT checks run in every build
# type: an assertion that never runs checks nothing.
function(zelkor_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(ZELKOR_FORCE_ASSERTS)
    target_compile_definitions(${target} PRIVATE QT_FORCE_ASSERTS)
  endif()
endfunction()

# Headers are included by their path from the repository root ("services/decimal.h"), but no
# target sees the whole root: each folder is published through a staging directory of its own
# (build/layers/<folder>/<folder> links to the sources), and a target sees only the folders of
# the targets it links. A file that includes a layer above its own therefore fails to compile.
function(zelkor_publish_folder target folder)
  string(REPLACE "/" "_" stage_name ${folder})
  set(stage ${CMAKE_BINARY_DIR}/layers/${stage_name})
  if(NOT EXISTS ${stage}/${folder})
    get_filename_component(parent ${stage}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${stage}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${stage})
endfunction()

# The target name of a folder: "zelkor_" and its path with "_" for "/" (documents/bill ->
# zelkor_documents_bill).
function(zelkor_folder_target out)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" name ${folder})
  set(${out} zelkor_${name} PARENT_SCOPE)
endfunction()

# The library of the calling folder, named after it: every .cpp and .h of the folder itself (not
# of its subfolders, which are layers of their own), less EXCLUDE (the sources of a program).
# Add a file and re-run the build.
function(zelkor_layer)
  cmake_parse_arguments(ARG "AUTOMOC" "" "LINKS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  zelkor_folder_target(target)
  if(ARG_AUTOMOC)
    zelkor_library(${target} AUTOMOC SOURCES ${sources} LINKS ${ARG_LINKS})
  else()
    zelkor_library(${target} SOURCES ${sources} LINKS ${ARG_LINKS})
  endif()
endfunction()

# A library of one layer (the folder of the calling CMakeLists.txt): sources listed by the caller.
function(zelkor_library target)
  cmake_parse_arguments(ARG "AUTOMOC" "" "SOURCES;LINKS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  zelkor_publish_folder(${target} ${folder})
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})
  if(ARG_AUTOMOC)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
  zelkor_target(${target})
endfunction()

# One GoogleTest executable of a test folder, registered twice with CTest: once against a
# SQLite file ("sqlite." prefix, label "sqlite") and once against the PostgreSQL server named by
# ZELKOR_TEST_PG ("pg." prefix, label "pg"). The engine travels as a command-line argument of
# each test: a list-valued ENVIRONMENT property does not survive test discovery.
function(zelkor_test target)
  cmake_parse_arguments(ARG "SQLITE_ONLY" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE zelkor_test_support ${ARG_LINKS})
  zelkor_target(${target})
  set(engines sqlite)
  if(NOT ARG_SQLITE_ONLY)
    list(APPEND engines pg)
  endif()
  foreach(engine IN LISTS engines)
    gtest_discover_tests(${target}
      TEST_PREFIX "${engine}."
      EXTRA_ARGS "--engine=${engine}"
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "${engine}" TIMEOUT 300)
  endforeach()
endfunction()

# The test program of the calling test folder (tests/documents/bill -> documents_bill_tests):
# every *_test.cpp of the folder, less those of GUI_TESTS_LINK's program. With GUI_TESTS_LINK,
# the folder's *_gui_test.cpp form a second program (<name>_gui_tests) that runs once, on
# SQLite: a view touches nothing engine-specific.
function(zelkor_test_folder)
  cmake_parse_arguments(ARG "SQLITE_ONLY" "" "LINKS;GUI_TESTS_LINK" ${ARGN})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" name ${folder})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB gui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_gui_test.cpp)
  if(ARG_GUI_TESTS_LINK AND gui_sources)
    list(REMOVE_ITEM sources ${gui_sources})
    zelkor_test(${name}_gui_tests SQLITE_ONLY SOURCES ${gui_sources} LINKS ${ARG_GUI_TESTS_LINK})
  endif()
  set(engines)
  if(ARG_SQLITE_ONLY)
    set(engines SQLITE_ONLY)
  endif()
  zelkor_test(${name}_tests ${engines} SOURCES ${sources} LINKS ${ARG_LINKS})
endfunction()
