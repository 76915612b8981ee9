// How a reader asks to see a poem: in simplified characters as the poem was
// composed, or traditional characters as its poets wrote them; and with
// each character's reading (pinyin) over it, or not.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace miravel::poemd {

enum class Script : uint8_t { kSimplified, kTraditional };

// "simplified", "traditional": the script's name in addresses.
std::string_view ScriptKey(Script script);
std::optional<Script> ScriptFromKey(std::string_view key);
// The script a query (form-encoded) asks for by its `script` field;
// simplified when it names none or does not read.
Script ScriptOfQuery(std::string_view query);

struct PoemDisplay {
  Script script = Script::kSimplified;
  bool pinyin = false;
};

}  // namespace miravel::poemd
