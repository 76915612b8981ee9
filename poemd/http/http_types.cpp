#include "poemd/http/http_types.h"

namespace miravel::poemd {

std::string_view HttpRequest::Path() const {
  return std::string_view(target).substr(0, target.find('?'));
}

std::string_view HttpRequest::Query() const {
  const size_t mark = target.find('?');
  return mark == std::string::npos ? std::string_view() : std::string_view(target).substr(mark + 1);
}

bool AcceptsHtml(std::string_view accept) { return accept.find("text/html") != std::string::npos; }

bool HttpRequest::AcceptsHtml() const { return poemd::AcceptsHtml(accept); }

}  // namespace miravel::poemd
