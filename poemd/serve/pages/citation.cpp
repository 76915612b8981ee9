#include "poemd/serve/pages/citation.h"

#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel::poemd {

std::string Citation(const LineSource& source) {
  const std::string dynasty = DynastyName(source.dynasty);
  return (dynasty.empty() ? "" : "〔" + dynasty + "〕") + Utf16ToUtf8(GbkToUtf16(source.author)) +
         "《" + Utf16ToUtf8(GbkToUtf16(source.title)) + "》";
}

}  // namespace miravel::poemd
