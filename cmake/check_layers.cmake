# Checks that no source file includes a header of a layer above its own or of a sibling layer,
# nor reaches a header by "../". Run as: cmake -DROOT=<repository> -P check_layers.cmake (a CTest
# test does). The build enforces the same through each target's include directories; this check
# also names the offending line.

# The layers, lowest first; folders joined by "|" share a rank and may not include each other. A
# subfolder that is a layer of its own (core/db) is listed before its parent, so it is found first.
set(ranks
  "core/money"
  "core/db"
  "core"
  "ledger|tax|stock|schema"
  "payables"
  "documents/common"
  "documents/requisition|documents/order"
  "documents/bill"
  "documents/receipt"
  "documents/landed"
  "windows/base"
  "windows/print"
  "windows/document"
  "windows/requisition|windows/order|windows/receipt|windows/bill|windows/landed|windows/masters|reports"
  "facade|check"
  "ui"
  "host|script")

# The rank and folder of a path; -1 when it lies outside the layers.
function(rank_of path out_rank out_folder)
  set(index 0)
  set(${out_rank} -1 PARENT_SCOPE)
  set(${out_folder} "" PARENT_SCOPE)
  foreach(line IN LISTS ranks)
    string(REPLACE "|" ";" members "${line}")
    foreach(folder IN LISTS members)
      string(LENGTH "${folder}/" length)
      string(SUBSTRING "${path}" 0 ${length} head)
      if(head STREQUAL "${folder}/")
        set(${out_rank} ${index} PARENT_SCOPE)
        set(${out_folder} ${folder} PARENT_SCOPE)
        return()
      endif()
    endforeach()
    math(EXPR index "${index} + 1")
  endforeach()
endfunction()

set(patterns)
foreach(folder core ledger tax stock payables schema documents windows reports facade check ui host script)
  list(APPEND patterns ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
endforeach()
file(GLOB_RECURSE sources RELATIVE ${ROOT} ${patterns})

set(violations 0)
foreach(source IN LISTS sources)
  rank_of("${source}" source_rank source_folder)
  file(STRINGS ${ROOT}/${source} includes REGEX "^#include \"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    if(header MATCHES "\\.\\./")
      message(SEVERE_WARNING "${source} reaches a header by a relative path: ${header}")
      math(EXPR violations "${violations} + 1")
      continue()
    endif()
    rank_of("${header}" header_rank header_folder)
    if(header_rank LESS 0 OR header_folder STREQUAL source_folder)
      continue()
    endif()
    if(NOT header_rank LESS source_rank)
      message(SEVERE_WARNING "${source} (${source_folder}) includes ${header}, not of a layer below its own")
      math(EXPR violations "${violations} + 1")
    endif()
  endforeach()
endforeach()
if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) break the layering")
endif()
list(LENGTH sources count)
message(STATUS "layering holds over ${count} files")
