#include "poemd/serve/routes/route_table.h"

#include "poemd/serve/requests/script.h"
#include "poemd/serve/routes/refusals.h"

namespace miravel::poemd {

void RouteTable::Pattern::AddMethod(std::string_view method) { methods_.emplace_back(method); }

std::optional<size_t> RouteTable::Pattern::Find(std::string_view method) const {
  for (size_t k = 0; k < methods_.size(); ++k) {
    if (methods_[k] == method) return k;
  }
  return std::nullopt;
}

HttpReply RouteTable::Pattern::NotAllowed() const {
  std::string allow;
  for (const std::string& method : methods_) {
    allow += (allow.empty() ? "" : ", ") + method;
    if (method == "GET") allow += ", HEAD";
  }
  return MethodNotAllowed(allow);
}

RouteTable::Pattern* RouteTable::Named(std::string_view name) {
  for (const std::unique_ptr<Pattern>& pattern : patterns_) {
    if (pattern->Name() == name) return pattern.get();
  }
  return nullptr;
}

Answer RouteTable::Serve(const HttpRequest& request, const Defer& defer) const {
  for (const std::unique_ptr<Pattern>& pattern : patterns_) {
    if (std::optional<Answer> answer = pattern->Serve(request, defer)) return std::move(*answer);
  }
  // A page that links here, mistyped or cut short, says so in its own script.
  return MissingPage("no such page", ScriptOfQuery(request.Query()));
}

}  // namespace miravel::poemd
