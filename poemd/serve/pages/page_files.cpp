#include "poemd/serve/pages/page_files.h"

namespace miravel::poemd {

EmbeddedFiles PageFiles(Script script) {
  return script == Script::kTraditional ? EmbeddedTraditionalPageFile : EmbeddedPageFile;
}

PageTemplate::PageTemplate(std::string_view file)
    : simplified_(HtmlTemplate::Named(file, EmbeddedPageFile)),
      traditional_(HtmlTemplate::Named(file, EmbeddedTraditionalPageFile)) {}

}  // namespace miravel::poemd
