// What a poem is for, and what that asks of its lines. People give
// acrostic poems: for a birthday, a wedding, a festival, to honour someone,
// at a parting, in remembrance. A happy occasion takes no line of ill omen
// (death, mourning, illness, decline, grief); every occasion prefers lines
// in keeping with it (their moods, index/moods.h) and the images its poems
// use (the characters that mark its mood classes).
//
// The occasion is asked for, or found (kAutomatic) from the hidden
// characters and the theme: a wish among them (生日快乐, 新婚, 寿, 福, 安康,
// 一路顺风, 怀念, ...), or a person's name, which makes the poem a gift.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

enum class Occasion : uint8_t {
  kAutomatic,
  kBirthday,     // 祝寿: birthdays and long life
  kWedding,      // 新婚: weddings and love
  kFestival,     // 节庆: festivals and good wishes
  kPraise,       // 赠人: in praise of a person, a gift
  kFarewell,     // 送别: a parting
  kRemembrance,  // 怀念: remembering someone gone
  kNone,         // 无: no occasion; nothing is asked of the lines
};
inline constexpr int kOccasions = 8;

// "auto", "birthday", "wedding", "festival", "praise", "farewell",
// "remembrance", "none": the occasion's name in queries.
std::string_view OccasionKey(Occasion occasion);
std::optional<Occasion> OccasionFromKey(std::string_view key);
// "自动", "祝寿", "新婚", "节庆", "赠人", "送别", "怀念", "不限": its name on pages.
std::string_view OccasionName(Occasion occasion);

// The occasion the hidden characters and the theme speak of; kNone when
// they speak of none.
Occasion OccasionOf(std::u16string_view hidden, std::u16string_view theme);
// `asked`, or, for kAutomatic, the occasion found.
Occasion Resolve(Occasion asked, std::u16string_view hidden, std::u16string_view theme);

// Whether the occasion is a happy one: no line of ill omen.
bool IsHappy(Occasion occasion);

// The title classes of the occasion's poems (index/moods.h), its own first,
// then those beside it (a celebration beside a birthday or a wedding): their
// poems are what a poem for the occasion is made of (subject_choice.h), and
// the characters that mark them its images. None for no occasion.
std::vector<MoodClass> ClassesOf(Occasion occasion);

// What the occasion makes of a line: `refused` when it is of ill omen for a
// happy occasion (a mood of death or sorrow too strong, or a word of the
// guard list or of plain grief, 愁 恨 悲 凄 怨, outside the hidden
// character's place `at`); else how far it is in keeping with the occasion
// and how far out of keeping, as shares of its moods (0 to 1 each, summed
// over the moods that count), which the occasion term weighs
// (terms/occasion_term.h).
struct OccasionFit {
  bool refused = false;
  float keeping = 0;
  float avoiding = 0;
};
OccasionFit FitOf(Occasion occasion, const LineTraits& traits, std::u16string_view text, int at);

}  // namespace miravel::poemd
