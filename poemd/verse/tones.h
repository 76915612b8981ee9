// The tones and rhymes a line is held to, as every layer names them.
//
// Modern reading (中华新韵): a character's tone class, 平 (level) or 仄
// (oblique), kUnknown for one that keeps no rule asking for a tone (a
// neutral tone); and its rhyme group, one of fourteen.
// Classical reading (平水韵, from the 广韵): whether a character has readings
// of the level tone, of the oblique tones (上 去 入), or both (it may then
// be read either way), and the 平水韵 rhymes of its level readings.
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

// 1 上平一东 ... 15 上平十五删, 16 下平一先 ... 30 下平十五咸; 0 none.
using PingshuiRhyme = uint8_t;
inline constexpr PingshuiRhyme kNoPingshuiRhyme = 0;
inline constexpr int kPingshuiRhymeCount = 30;
// A set of 平水韵 level rhymes: bit r - 1 for rhyme r (a character with
// level readings in several rhymes belongs to each).
using PingshuiRhymes = uint32_t;
constexpr PingshuiRhymes RhymeBit(PingshuiRhyme r) {
  return r == 0 ? 0 : PingshuiRhymes{1} << (r - 1);
}
inline constexpr PingshuiRhymes kAllPingshuiRhymes = (PingshuiRhymes{1} << kPingshuiRhymeCount) - 1;

struct ClassicalReading {
  bool level = false;         // has a reading of the level tone
  bool oblique = false;       // has a reading of the rising, departing or entering tone
  bool entering = false;      // one of them is of the entering tone (入声)
  PingshuiRhymes rhymes = 0;  // of its level readings

  bool Known() const { return level || oblique; }
  bool Free() const { return level && oblique; }
};

}  // namespace miravel::poemd
