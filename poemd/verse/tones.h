// The tones and rhymes a line is held to, as every layer names them.
//
// Tone class: 平 (level) or 仄 (oblique); kUnknown for a character that
// keeps no rule asking for a tone (a neutral tone). Rhyme group: the fourteen
// groups of 中华新韵.
#pragma once

#include <cstdint>

namespace miravel::poemd {

enum class Tone : uint8_t { kUnknown = 0, kLevel = 1 /* 平 */, kOblique = 2 /* 仄 */ };

// 1 麻, 2 波, 3 皆, 4 开, 5 微, 6 豪, 7 尤, 8 寒, 9 文, 10 唐, 11 庚, 12 齐,
// 13 支, 14 姑; 0 when unknown.
using RhymeGroup = uint8_t;
inline constexpr RhymeGroup kNoRhymeGroup = 0;
inline constexpr int kRhymeGroupCount = 14;

struct Reading {
  Tone tone = Tone::kUnknown;
  RhymeGroup rhyme = kNoRhymeGroup;
};

}  // namespace miravel::poemd
