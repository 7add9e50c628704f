# Checks that no #include "..." of the program points up the layer order.
#
#   cmake [-DSOURCE_DIR=<repository>] -P tools/check-layers.cmake
#
# The order itself is the "Layer order:" line in docs/architecture.md, bottom
# layer first. A layer is a top-level folder ("views") or its Qt part
# ("views/gui"); a file may include headers of its own layer and of any layer
# below it. Every offending include is printed as
#   file:line: includes <header> (layer X above layer Y)
# and the script then fails. Quoted includes that name no layer (system or
# generated headers) are ignored.

cmake_minimum_required(VERSION 3.25)

# Composition code, allowed to include anything (paths from the repository root).
set(LAYER_EXCEPTIONS
  shell/gui/main.cpp
)

# Folders that are not part of the program.
set(NOT_PROGRAM_FOLDERS tests bench tools resources docs)

if(NOT DEFINED SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()
set(doc "${SOURCE_DIR}/docs/architecture.md")

# --- The order --------------------------------------------------------------

if(NOT EXISTS "${doc}")
  message(FATAL_ERROR "${doc} not found (pass -DSOURCE_DIR=<repository>)")
endif()
file(STRINGS "${doc}" order_lines REGEX "^Layer order:")
list(LENGTH order_lines n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "${doc} must hold exactly one line starting \"Layer order:\", found ${n}")
endif()
string(REGEX REPLACE "^Layer order:" "" order_text "${order_lines}")
string(REPLACE "<" ";" order_items "${order_text}")
set(LAYERS)
foreach(item IN LISTS order_items)
  string(STRIP "${item}" item)
  if(NOT item MATCHES "^[A-Za-z0-9_]+(/gui)?$")
    message(FATAL_ERROR "${doc}: \"${item}\" in the layer order is not a folder or folder/gui")
  endif()
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${item}")
    message(FATAL_ERROR "${doc}: layer \"${item}\" has no folder ${SOURCE_DIR}/${item}")
  endif()
  if(item IN_LIST LAYERS)
    message(FATAL_ERROR "${doc}: layer \"${item}\" appears twice in the layer order")
  endif()
  list(APPEND LAYERS "${item}")
endforeach()

foreach(exception IN LISTS LAYER_EXCEPTIONS)
  if(NOT EXISTS "${SOURCE_DIR}/${exception}")
    message(FATAL_ERROR "LAYER_EXCEPTIONS names ${exception}, which does not exist")
  endif()
endforeach()

# Sets <out> to the layer of a repository-relative path ("" when none).
function(layer_of path out)
  set(layer "")
  if(path MATCHES "^([^/]+)/gui/")
    set(layer "${CMAKE_MATCH_1}/gui")
  elseif(path MATCHES "^([^/]+)/")
    set(layer "${CMAKE_MATCH_1}")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# --- The program's files ----------------------------------------------------

# Every top-level folder holding C++ belongs to the program unless listed above,
# so a new folder cannot slip past the check by being missing from the order.
file(GLOB top_entries LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(sources)
foreach(entry IN LISTS top_entries)
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${entry}" OR entry MATCHES "^(\\.|build)"
     OR entry IN_LIST NOT_PROGRAM_FOLDERS)
    continue()
  endif()
  file(GLOB_RECURSE found RELATIVE "${SOURCE_DIR}"
    "${SOURCE_DIR}/${entry}/*.h" "${SOURCE_DIR}/${entry}/*.cpp")
  list(APPEND sources ${found})
endforeach()
list(SORT sources)

set(problems)
foreach(rel IN LISTS sources)
  layer_of("${rel}" file_layer)
  list(FIND LAYERS "${file_layer}" file_rank)
  if(file_rank LESS 0)
    list(APPEND problems "${rel}: folder ${file_layer} has no place in the layer order")
    continue()
  endif()
  if(rel IN_LIST LAYER_EXCEPTIONS)
    continue()
  endif()

  file(READ "${SOURCE_DIR}/${rel}" content)
  if(NOT content MATCHES "#[ \t]*include[ \t]*\"")
    continue()
  endif()
  # Make the text safe to split into a CMake list of lines.
  string(REPLACE "\\" "/" content "${content}")
  string(REPLACE ";" "," content "${content}")
  string(REPLACE "[" "(" content "${content}")
  string(REPLACE "]" ")" content "${content}")
  string(REPLACE "\r" "" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")

  get_filename_component(file_dir "${rel}" DIRECTORY)
  set(line_no 0)
  foreach(line IN LISTS lines)
    math(EXPR line_no "${line_no} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(header "${CMAKE_MATCH_1}")
    layer_of("${header}" header_layer)
    list(FIND LAYERS "${header_layer}" header_rank)
    if(header_rank LESS 0 AND EXISTS "${SOURCE_DIR}/${file_dir}/${header}")
      # A path relative to the including file.
      cmake_path(SET beside NORMALIZE "${file_dir}/${header}")
      layer_of("${beside}" header_layer)
      list(FIND LAYERS "${header_layer}" header_rank)
    endif()
    if(header_rank GREATER file_rank)
      list(APPEND problems
        "${rel}:${line_no}: includes ${header} (layer ${header_layer} above layer ${file_layer})")
    endif()
  endforeach()
endforeach()

list(LENGTH problems n)
if(n GREATER 0)
  foreach(problem IN LISTS problems)
    message("${problem}")
  endforeach()
  message(FATAL_ERROR "${n} include(s) break the layer order of docs/architecture.md")
endif()
list(LENGTH sources n)
message(STATUS "${n} files keep to the layer order")
