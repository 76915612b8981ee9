# Writes OUT, a C++ file defining, for each file in INPUTS (a ;-list of
# NAME=PATH), `extern const std::string_view NAME` holding the file's bytes
# in namespace miravel. Run with cmake -P.
set(code "// Made by cmake/embed_files.cmake from the project's files; not edited by hand.\n#include <string_view>\n\nnamespace miravel {\n")
foreach(input IN LISTS INPUTS)
  string(REGEX MATCH "^([^=]+)=(.*)$" _ "${input}")
  set(name "${CMAKE_MATCH_1}")
  set(path "${CMAKE_MATCH_2}")
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  string(REGEX REPLACE "((\\\\x[0-9a-f][0-9a-f]){32})" "\\1\"\n    \"" escaped "${escaped}")
  string(APPEND code "extern const std::string_view ${name};\nconst std::string_view ${name}{\n    \"${escaped}\",\n    ${size}};\n")
endforeach()
string(APPEND code "}  // namespace miravel\n")
file(WRITE "${OUT}.part" "${code}")
file(RENAME "${OUT}.part" "${OUT}")
