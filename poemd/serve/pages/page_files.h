// The files the pages are made of (the templates, pages.css, copy.js), as
// built into the program from this folder (cmake/embed_files.cmake).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace miravel {

// The bytes of the embedded file `name` ("page.html"); nullopt when no
// file of that name is embedded.
std::optional<std::string_view> EmbeddedPageFile(std::string_view name);
// The names of every file embedded.
std::vector<std::string_view> EmbeddedPageFileNames();

}  // namespace miravel
