// The files the pages are made of (the templates, pages.css, copy.js), as
// built into the program from this folder (cmake/embed_files.cmake).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "poemd/markup/html_template.h"

namespace miravel {

// The bytes of the embedded file `name` ("page.html"); nullopt when no
// file of that name is embedded.
std::optional<std::string_view> EmbeddedPageFile(std::string_view name);
// The names of every file embedded.
std::vector<std::string_view> EmbeddedPageFileNames();

namespace poemd {

// The page file `file` as a template, read on first use and kept.
// REQUIRES: it is embedded and reads.
inline const HtmlTemplate& PageTemplate(std::string_view file) {
  return HtmlTemplate::Named(file, EmbeddedPageFile);
}

}  // namespace poemd
}  // namespace miravel
