// The frame of every page for a browser (page.html): UTF-8, one layout for
// a phone and a desktop, the stylesheet inline (pages.css), light and dark.
// Everything a page needs is in it: no script, style or font from elsewhere.
// Its words, and those of the error pages, are in the script of the page.
#pragma once

#include <string>

#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

// `body` (markup) in the frame, titled `title` (markup: text escaped, or a
// title template rendered); `head` (markup) adds to the head.
std::string BrowserPage(Script script, const std::string& title, std::string body,
                        std::string head = {});

// A page that says, in Chinese, what went wrong, by the HTTP status that
// says it (400, 404, 405, 408, 413, 414, 429, 431, 500, 503, 505; another
// reads as 500), with a way back to the form; `allow` (text) lists the
// methods a 405's address takes.
std::string ErrorPage(int status, Script script = Script::kSimplified,
                      const std::string& allow = {});

}  // namespace miravel::poemd
