// The files the pages are made of (the templates, pages.css, copy.js), as
// built into the program from this folder (cmake/embed_files.cmake): as
// written, in simplified characters, and as the build converted them to
// traditional characters, for the pages in that script.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "poemd/markup/html_template.h"
#include "poemd/serve/requests/script.h"

namespace miravel {

// The bytes of the embedded file `name` ("page.html"); nullopt when no
// file of that name is embedded.
std::optional<std::string_view> EmbeddedPageFile(std::string_view name);
// The names of every file embedded.
std::vector<std::string_view> EmbeddedPageFileNames();
// The same files, their words in traditional characters.
std::optional<std::string_view> EmbeddedTraditionalPageFile(std::string_view name);
std::vector<std::string_view> EmbeddedTraditionalPageFileNames();

namespace poemd {

// The page files in `script`.
EmbeddedFiles PageFiles(Script script);

// A page file as a template in both scripts, read when made: a page keeps
// one as a static and renders it in the script it is asked for.
// REQUIRES: the file is embedded and reads.
class PageTemplate {
 public:
  explicit PageTemplate(std::string_view file);

  const HtmlTemplate& In(Script script) const {
    return script == Script::kTraditional ? traditional_ : simplified_;
  }
  std::string Render(const PageValues& values, Script script = Script::kSimplified) const {
    return In(script).Render(values);
  }

 private:
  const HtmlTemplate& simplified_;
  const HtmlTemplate& traditional_;
};

}  // namespace poemd
}  // namespace miravel
