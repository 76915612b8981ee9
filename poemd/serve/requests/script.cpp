#include "poemd/serve/requests/script.h"

#include "poemd/serve/requests/form_fields.h"

namespace miravel::poemd {

std::string_view ScriptKey(Script script) {
  return script == Script::kTraditional ? "traditional" : "simplified";
}

std::optional<Script> ScriptFromKey(std::string_view key) {
  if (key == "traditional") return Script::kTraditional;
  if (key == "simplified") return Script::kSimplified;
  return std::nullopt;
}

Script ScriptOfQuery(std::string_view query) {
  const StatusOr<FormFields> fields = FormFields::Read(query);
  if (!fields.ok()) return Script::kSimplified;
  return ScriptFromKey(fields->Value("script")).value_or(Script::kSimplified);
}

}  // namespace miravel::poemd
