#include "poemd/serve/pages/citation.h"

namespace miravel::poemd {

std::string Citation(const LineSource& source) {
  const std::string dynasty = DynastyName(source.dynasty);
  return (dynasty.empty() ? "" : "〔" + dynasty + "〕") + source.author + "《" + source.title +
         "》";
}

}  // namespace miravel::poemd
