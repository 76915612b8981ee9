// The frame of every page for a browser (page.html): UTF-8, one layout for
// a phone and a desktop, the stylesheet inline (pages.css), light and dark.
// Everything a page needs is in it: no script, style or font from elsewhere.
#pragma once

#include <string>

namespace miravel::poemd {

// `body` (markup) in the frame, titled `title` (text); `head` (markup) adds
// to the head.
std::string BrowserPage(const std::string& title, std::string body, std::string head = {});

// A page that says, in Chinese, what went wrong (a missing page, a wrong
// method), with a way back to the form. `heading` and `message` are text.
std::string ErrorPage(const std::string& heading, const std::string& message);

}  // namespace miravel::poemd
