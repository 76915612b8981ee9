// The rhyme books a poem can follow, and the names of their rhymes.
//
//   平水韵 (pingshui): the classical book of regulated verse, read in the
//     classical tones (the 广韵 readings, the entering tone counted 仄); its
//     thirty level rhymes, 上平一东 ... 下平十五咸, are the rhymes a line can
//     end on (a line ends 平).
//   中华新韵 (xinyun): the modern book, read in Mandarin; fourteen groups
//     (verse/tones.h).
//   both: a line must keep its rule in both books.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "poemd/verse/tones.h"

namespace miravel::poemd {

enum class RhymeBook : uint8_t { kPingshui = 0, kXinyun = 1, kBoth = 2 };

// Whether the book reads lines classically, and in modern tones.
inline bool ReadsClassically(RhymeBook book) { return book != RhymeBook::kXinyun; }
inline bool ReadsModern(RhymeBook book) { return book != RhymeBook::kPingshui; }

// "上平一东", ..., "下平十五咸"; "" for 0 or beyond.
std::string_view PingshuiRhymeName(PingshuiRhyme rhyme);
// "一麻", ..., "十四姑"; "" for 0 or beyond.
std::string_view XinyunGroupName(RhymeGroup group);
// "平水韵", "中华新韵", "平水韵与中华新韵".
std::string_view RhymeBookName(RhymeBook book);
// "pingshui", "xinyun", "both": the book's name in options and addresses.
std::string_view RhymeBookKey(RhymeBook book);
// What a poem's page says it follows: "平水韵 · 下平七阳", "中华新韵 · 十唐",
// or both, "平水韵 · 下平七阳，中华新韵 · 十唐"; a rhyme of 0 is left out.
std::string RhymeTitle(RhymeBook book, PingshuiRhyme pingshui, RhymeGroup xinyun);
std::optional<RhymeBook> RhymeBookFromKey(std::string_view key);

}  // namespace miravel::poemd
