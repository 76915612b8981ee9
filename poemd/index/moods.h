// What poems and lines are written for, as the index learns it from the
// corpus itself (indexing/mood_learner.h): a title says what its poem was
// written for (挽 and 悼 mourn, 寿 and 贺 celebrate, 送 parts, 病 is
// illness), and the characters and word pairs of the titled poems say which
// words carry each of those moods, so that untitled poems and single lines
// can be read too.
//
// Each line keeps four shares (0 to 15 each, of 15): how far it speaks of
// death (mourning, illness, decline), of sorrow (grief, lament, want), of joy
// (celebration, festivals) and of a bond with someone (parting, gifts,
// longing). The rest is the ordinary matter of poems. The index also keeps,
// per mood class, the characters that mark it most, for a poem of that
// occasion to take its images from.
#pragma once

#include <cstdint>

namespace miravel::poemd {

// What a title says its poem is for; kOther when it says none of these.
enum class MoodClass : uint8_t {
  kOther,
  kMourning,  // 挽 哭 悼 祭 吊
  kIllness,   // 病 疾 疢 卧病
  kSorrow,    // 悲 哀 愁 恨 怨 伤 离忧
  kBirthday,  // 寿 生日 诞
  kWedding,   // 婚 嫁 娶 花烛 合卺 催妆
  kHappy,     // 贺 喜 庆 祝
  kFestival,  // 元日 除夕 中秋 七夕 重阳 ...
  kParting,   // 送 别 饯
  kPraise,    // 赠 呈 献 颂 赞
  kLonging,   // 怀 忆 思 寄
  kDecline,   // 叹老 衰 白发 老矣
  kPoverty,   // 贫 穷 饥
};
inline constexpr int kMoodClasses = 13;

// The shares a line keeps.
enum class Mood : uint8_t { kDeath, kSorrow, kJoy, kBond };
inline constexpr int kMoods = 4;
inline constexpr int kMoodLevels = 15;  // a share's largest value

// The share each class counts to; kOther counts to none.
constexpr bool CountsTo(MoodClass c, Mood mood) {
  switch (c) {
    case MoodClass::kMourning:
    case MoodClass::kIllness:
    case MoodClass::kDecline:
      return mood == Mood::kDeath;
    case MoodClass::kSorrow:
    case MoodClass::kPoverty:
      return mood == Mood::kSorrow;
    case MoodClass::kBirthday:
    case MoodClass::kWedding:
    case MoodClass::kHappy:
    case MoodClass::kFestival:
      return mood == Mood::kJoy;
    case MoodClass::kParting:
    case MoodClass::kPraise:
    case MoodClass::kLonging:
      return mood == Mood::kBond;
    case MoodClass::kOther:
      break;
  }
  return false;
}

// Four shares of 0 to 15, packed two to a byte as LineTraits keeps them.
struct PackedMoods {
  uint8_t bytes[2] = {0, 0};

  int Level(Mood mood) const {
    const auto k = static_cast<int>(mood);
    return bytes[k / 2] >> (4 * (k % 2)) & 15;
  }
  void Set(Mood mood, int level) {
    const auto k = static_cast<int>(mood);
    const int shift = 4 * (k % 2);
    bytes[k / 2] = static_cast<uint8_t>((bytes[k / 2] & ~(15 << shift)) | (level & 15) << shift);
  }
};

// How many characters the index keeps per class as its images.
inline constexpr int kCharacteristicCharacters = 24;

}  // namespace miravel::poemd
