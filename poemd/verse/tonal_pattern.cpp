#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

bool KeepsLinks(std::span<const LineTones> poem) {
  for (const Opening opening : {Opening::kLevel, Opening::kOblique}) {
    bool kept = true;
    for (size_t i = 0; i < poem.size() && kept; ++i) kept = KeepsLink(poem[i], opening, i);
    if (kept) return true;
  }
  return false;
}

bool KeepsWholeTemplate(std::span<const LineTones> poem, int length) {
  for (const Opening opening : {Opening::kLevel, Opening::kOblique}) {
    bool kept = true;
    for (size_t i = 0; i < poem.size() && kept; ++i) {
      kept = KeepsTemplate(poem[i], length, opening, i);
    }
    if (kept) return true;
  }
  return false;
}

}  // namespace miravel::poemd
