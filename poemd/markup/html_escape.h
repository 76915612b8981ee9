// Text placed in HTML or XML (an SVG): the five characters that could end an
// element or an attribute become entities; every other byte passes as it
// is, so the same escaper serves UTF-8 and GBK pages (no GBK trail byte is
// one of the five).
#pragma once

#include <string>
#include <string_view>

namespace miravel::poemd {

std::string EscapeHtml(std::string_view text);

}  // namespace miravel::poemd
