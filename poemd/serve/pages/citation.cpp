#include "poemd/serve/pages/citation.h"

#include "poemd/serve/pages/shown_poem.h"

namespace miravel::poemd {

std::string Citation(const LineSource& source, Script script) {
  const std::string dynasty = DynastyName(source.dynasty);
  const bool traditional = script == Script::kTraditional;
  return (dynasty.empty() ? "" : "〔" + dynasty + "〕") +
         (traditional ? source.traditional_author : source.author) + "《" +
         (traditional ? source.traditional_title : source.title) + "》";
}

}  // namespace miravel::poemd
