#include "poemd/tonal_pattern.h"

namespace miravel::poemd {
namespace {

Tone Opposite(Tone t) { return t == Tone::kLevel ? Tone::kOblique : Tone::kLevel; }

}  // namespace

Tone SecondTone(Opening opening, size_t line) {
  const Tone first = opening == Opening::kLevel ? Tone::kLevel : Tone::kOblique;
  const size_t k = line % 4;
  return k == 0 || k == 3 ? first : Opposite(first);
}

bool KeepsLink(LineTones tones, Opening opening, size_t line) {
  return tones.At(1) == SecondTone(opening, line);
}

bool KeepsInLine(LineTones tones, int length) {
  const Tone second = tones.At(1);
  if (second == Tone::kUnknown || tones.At(3) != Opposite(second)) return false;
  return length < 7 || tones.At(5) == second;
}

bool KeepsLinks(std::span<const LineTones> poem) {
  for (const Opening opening : {Opening::kLevel, Opening::kOblique}) {
    bool kept = true;
    for (size_t i = 0; i < poem.size() && kept; ++i) kept = KeepsLink(poem[i], opening, i);
    if (kept) return true;
  }
  return false;
}

}  // namespace miravel::poemd
