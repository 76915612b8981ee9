#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

std::string_view ScriptKey(Script script) {
  return script == Script::kTraditional ? "traditional" : "simplified";
}

std::optional<Script> ScriptFromKey(std::string_view key) {
  if (key == "traditional") return Script::kTraditional;
  if (key == "simplified") return Script::kSimplified;
  return std::nullopt;
}

}  // namespace miravel::poemd
