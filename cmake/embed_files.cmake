# Writes OUT, a C++ file holding the bytes of each file in INPUTS (a ;-list
# of NAME=PATH), in namespace miravel. Run with cmake -P.
#
# Without LOOKUP, each NAME is an identifier: `extern const std::string_view
# NAME` holds the file's bytes. With LOOKUP, each NAME is the file's own name
# and `std::optional<std::string_view> LOOKUP(std::string_view name)` finds
# its bytes (nullopt for a name not embedded); `LOOKUPNames()` lists them.
set(code "// Made by cmake/embed_files.cmake from the project's files; not edited by hand.\n")
if(DEFINED LOOKUP)
  string(APPEND code "#include <optional>\n#include <string_view>\n#include <utility>\n#include <vector>\n\nnamespace miravel {\nnamespace {\n")
else()
  string(APPEND code "#include <string_view>\n\nnamespace miravel {\n")
endif()
set(table "")
set(number 0)
foreach(input IN LISTS INPUTS)
  string(REGEX MATCH "^([^=]+)=(.*)$" _ "${input}")
  set(name "${CMAKE_MATCH_1}")
  set(path "${CMAKE_MATCH_2}")
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  string(REGEX REPLACE "((\\\\x[0-9a-f][0-9a-f]){32})" "\\1\"\n    \"" escaped "${escaped}")
  if(DEFINED LOOKUP)
    string(APPEND code "constexpr std::string_view kFile${number}{\n    \"${escaped}\",\n    ${size}};\n")
    string(APPEND table "    {\"${name}\", kFile${number}},\n")
    math(EXPR number "${number} + 1")
  else()
    string(APPEND code "extern const std::string_view ${name};\nconst std::string_view ${name}{\n    \"${escaped}\",\n    ${size}};\n")
  endif()
endforeach()
if(DEFINED LOOKUP)
  string(APPEND code "constexpr std::pair<std::string_view, std::string_view> kFiles[] = {\n"
                     "${table}};\n"
                     "}  // namespace\n\nstd::optional<std::string_view> ${LOOKUP}(std::string_view name) {\n"
                     "  for (const auto& [file, bytes] : kFiles) {\n"
                     "    if (file == name) return bytes;\n"
                     "  }\n"
                     "  return std::nullopt;\n}\n\n"
                     "std::vector<std::string_view> ${LOOKUP}Names() {\n"
                     "  std::vector<std::string_view> names;\n"
                     "  for (const auto& file : kFiles) names.push_back(file.first);\n"
                     "  return names;\n}\n")
endif()
string(APPEND code "}  // namespace miravel\n")
file(WRITE "${OUT}.part" "${code}")
file(RENAME "${OUT}.part" "${OUT}")
