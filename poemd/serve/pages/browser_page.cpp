#include "poemd/serve/pages/browser_page.h"

#include <algorithm>
#include <iterator>

#include "poemd/serve/pages/page_files.h"

namespace miravel::poemd {
namespace {

// The statuses the error pages word, each its section's name.
constexpr int kWorded[] = {400, 404, 405, 408, 413, 414, 429, 431, 500, 503, 505};

}  // namespace

std::string BrowserPage(Script script, const std::string& title, std::string body,
                        std::string head) {
  static const PageTemplate page("page.html");
  return page.Render(PageValues()
                         .Flag("traditional", script == Script::kTraditional)
                         .Html("title", title)
                         .Html("head", std::move(head))
                         .Html("body", std::move(body)),
                     script);
}

std::string ErrorPage(int status, Script script, const std::string& allow) {
  static const PageTemplate error("error_page.html");
  static const PageTemplate title("error_title.html");
  if (std::find(std::begin(kWorded), std::end(kWorded), status) == std::end(kWorded)) status = 500;
  const std::string section = "s" + std::to_string(status);
  PageValues values;
  values.Flag(section, true)
      .Flag("traditional", script == Script::kTraditional)
      .Text("allow", allow);
  return BrowserPage(script, title.Render(values, script), error.Render(values, script));
}

}  // namespace miravel::poemd
