#include "common/list_items.h"

namespace miravel {

std::vector<std::string> ListItemTexts(std::string_view page) {
  constexpr std::string_view kOpen = "<li>";
  constexpr std::string_view kClose = "</li>";
  std::vector<std::string> items;
  for (size_t at = 0; (at = page.find(kOpen, at)) != std::string_view::npos;) {
    const size_t end = page.find(kClose, at);
    if (end == std::string_view::npos) break;
    std::string text;
    bool in_tag = false;
    for (size_t k = at + kOpen.size(); k < end; ++k) {
      if (page[k] == '<') in_tag = true;
      if (!in_tag) text += page[k];
      if (page[k] == '>') in_tag = false;
    }
    items.push_back(std::move(text));
    at = end + kClose.size();
  }
  return items;
}

}  // namespace miravel
