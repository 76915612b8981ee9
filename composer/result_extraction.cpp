#include "composer/result_extraction.h"

#include "composer/control_names.h"

namespace miravel {

const char* const kHeadPattern = "<li><font style=\"color:red\">(.*?)</font>(.*?)</li>";
const char* const kInnerPattern = "<li>(.*?)<font style=\"color:red\">(.*?)</font>(.*?)</li>";

int ExtractPoems(const Text& page, const Text& hide_mode, RegexObject& regex,
                 WindowToolkit& toolkit) {
  toolkit.SetEditContent(kResultEdit, "");
  const bool head = hide_mode == "cangtou";
  regex.Search(head ? kHeadPattern : kInnerPattern, page);
  const int groups = head ? 2 : 3;
  const int matches = regex.GetMatchCount();
  if (matches <= 0) return 0;
  Text lines;
  for (int i = 1; i <= matches; ++i) {
    for (int g = 1; g <= groups; ++g) lines += regex.GetSubmatchText(i, g);
    lines += "\r\n";
  }
  toolkit.SetEditContent(kResultEdit, toolkit.EditContent(kResultEdit) + lines);
  return matches;
}

}  // namespace miravel
