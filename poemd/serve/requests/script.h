// The script a reader asks to see a poem in: simplified characters as the
// poem was composed, or traditional characters as its poets wrote them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace miravel::poemd {

enum class Script : uint8_t { kSimplified, kTraditional };

// "simplified", "traditional": the script's name in addresses.
std::string_view ScriptKey(Script script);
std::optional<Script> ScriptFromKey(std::string_view key);

}  // namespace miravel::poemd
