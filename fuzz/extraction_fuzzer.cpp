// Feeds arbitrary pages to RegexObject and ExtractPoems: no crash, no hang,
// and every extracted line ends with "\r\n".
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "composer/control_names.h"
#include "composer/testing/fake_toolkit.h"
#include "composer/result_extraction.h"
#include "text/regex_object.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace miravel;
  const Text page(reinterpret_cast<const char*>(data), size);
  for (const char* mode : {"cangtou", "cangzhong", "cangwei"}) {
    FakeToolkit toolkit;
    RegexObject regex;
    ExtractPoems(page, mode, regex, toolkit);
    const Text& box = toolkit.edits[kResultEdit];
    if (!box.empty() && !box.ends_with("\r\n")) std::abort();
  }
  // The page as a pattern too: compiling and matching must fail softly.
  RegexObject regex;
  regex.Search(page, page);
  for (int i = 1; i <= regex.GetMatchCount() && i <= 8; ++i) {
    int position = 0;
    regex.GetMatchText(i, &position);
    for (int g = 0; g <= regex.GetSubmatchCount() + 1; ++g) regex.GetSubmatchText(i, g, &position);
  }
  regex.Substitute(page.substr(0, 16));
  return 0;
}
