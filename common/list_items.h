// The texts of an HTML page's list items, as a reader of the poem pages
// (the measuring tool, tests, the stand-in service) takes the poem lines out:
// what stands between each "<li>" and the next "</li>", every tag removed.
// Bytes pass as they are, so the same reader serves GBK and UTF-8 pages (no
// GBK trail byte is '<' or '>'). An item without its "</li>" ends the list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace miravel {

std::vector<std::string> ListItemTexts(std::string_view page);

}  // namespace miravel
