#include "poemd/serve/pages/browser_page.h"

#include "poemd/serve/pages/page_files.h"

namespace miravel::poemd {

std::string BrowserPage(const std::string& title, std::string body, std::string head) {
  static const HtmlTemplate& page = PageTemplate("page.html");
  return page.Render(PageValues()
                         .Text("title", title)
                         .Html("head", std::move(head))
                         .Html("body", std::move(body)));
}

std::string ErrorPage(const std::string& heading, const std::string& message) {
  static const HtmlTemplate& error = PageTemplate("error_page.html");
  return BrowserPage(heading + " · Miravel 藏头诗",
                     error.Render(PageValues().Text("heading", heading).Text("message", message)));
}

}  // namespace miravel::poemd
