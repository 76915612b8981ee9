// The classical readings of characters, as regulated verse counts them:
// each character's readings in the 广韵, from the npm package tshet-uinh
// (its table written by guangyun_readings.js: character, rhyme, tone per
// line), reduced to the tone class (平, or 仄 for 上 去 入) and, for level
// readings, the 平水韵 rhyme that the 广韵 rhyme merged into.
//
// The table holds traditional characters (and the few simplified forms the
// 广韵 itself has). Text written in traditional characters is read as it is;
// a character of text written in simplified characters may stand for any
// traditional character that simplifies to it (发 for 發 and 髮), so it
// takes the readings of all of them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "poemd/verse/tones.h"

namespace miravel::poemd {

// The 平水韵 level rhyme that a 广韵 rhyme, as tshet-uinh names it (東, 冬,
// 鍾, ...: the rhyme of all four tones by its level-tone name), merged into:
// 冬 and 鍾 into 二冬, 支 脂 之 into 四支, and so on; 0 for a rhyme of no level
// tone (祭, 泰, 夬, 廢) or a name it does not know.
PingshuiRhyme PingshuiRhymeOf(std::u16string_view guangyun_rhyme);

class ClassicalReadings {
 public:
  // Knows no character.
  ClassicalReadings();
  ~ClassicalReadings();
  ClassicalReadings(ClassicalReadings&&) noexcept;
  ClassicalReadings& operator=(ClassicalReadings&&) noexcept;

  // NotFound when the file cannot be opened; Corruption when a line is not
  // "character TAB rhyme TAB tone" or no line is. Characters beyond the
  // basic plane are passed over.
  static StatusOr<ClassicalReadings> FromFile(const std::string& path);
  static StatusOr<ClassicalReadings> FromText(std::string_view utf8);

  size_t CharacterCount() const;
  // The character's readings as the table holds them (none when it is not
  // there).
  ClassicalReading Of(char16_t character) const;
  // The readings a character of simplified text may have: its own and
  // those of every character that simplifies to it.
  ClassicalReading OfSimplified(char16_t character) const;

 private:
  std::vector<ClassicalReading> own_;
  std::vector<ClassicalReading> simplified_;
  size_t characters_ = 0;
};

}  // namespace miravel::poemd
