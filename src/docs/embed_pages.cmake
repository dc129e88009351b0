# Turns every pages/*.md file into a constant std::string_view in a generated header, run as
#   cmake -DPAGES_DIR=<dir> -DOUTPUT=<header> -P embed_pages.cmake
# Each byte is written as a \x escape, so no page text (quotes, backslashes, a stray ")" followed by a
# raw-string delimiter, non-ASCII characters) can ever change how the literal is read, and the view's
# length is the exact byte count of the file.

cmake_minimum_required(VERSION 3.25)

if(NOT PAGES_DIR OR NOT OUTPUT)
  message(FATAL_ERROR "embed_pages.cmake needs -DPAGES_DIR=... and -DOUTPUT=...")
endif()

file(GLOB pages LIST_DIRECTORIES false "${PAGES_DIR}/*.md")
if(NOT pages)
  message(FATAL_ERROR "no pages found in ${PAGES_DIR}")
endif()

# CMake regular expressions have no {n} repetition: spell out the 32 bytes of one output line.
string(REPEAT "[0-9a-f]" 64 line_of_hex)

set(body "")
set(seen_names "")
foreach(page IN LISTS pages)
  get_filename_component(stem "${page}" NAME_WE)
  string(MAKE_C_IDENTIFIER "page_${stem}" name)
  if(name IN_LIST seen_names)
    message(FATAL_ERROR "two pages map to the C++ name ${name}; rename one of them")
  endif()
  list(APPEND seen_names ${name})

  file(READ "${page}" hex HEX)
  string(REGEX REPLACE "(${line_of_hex})" "\\1;" chunks "${hex}")
  string(APPEND body "\n// ${stem}.md\ninline constexpr std::string_view ${name} =")
  if(hex STREQUAL "")
    string(APPEND body " \"\"")
  endif()
  foreach(chunk IN LISTS chunks)
    if(NOT chunk STREQUAL "")
      string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${chunk}")
      string(APPEND body "\n    \"${escaped}\"")
    endif()
  endforeach()
  string(APPEND body ";\n")
endforeach()

set(text "// Generated from ${PAGES_DIR} by embed_pages.cmake; edit the .md files instead.\n")
string(APPEND text "#pragma once\n\n#include <string_view>\n\nnamespace tarnu::docs::pages {\n")
string(APPEND text "${body}")
string(APPEND text "\n}  // namespace tarnu::docs::pages\n")

file(WRITE "${OUTPUT}" "${text}")
