// The Mandarin readings that dictionaries give a character, from the
// Unicode Han Database's Unihan_Readings.txt (Debian's unicode-data ships
// it compressed; scripts/corpus.sh unpacks it):
//   modern      kXHC1983 (现代汉语词典), kTGHZ2013 (通用规范汉字字典) and
//               kMandarin: the readings of today;
//   historical  kHanyuPinyin (汉语大字典), which keeps the readings of
//               classical texts as well (騎 jì, a horseman).
// The table holds traditional and simplified characters apart; a character
// of simplified text takes its own readings and those of every character
// that simplifies to it (骑 those of 騎).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/status.h"

namespace miravel::poemd {

struct DictionaryReadings {
  std::vector<std::string> modern;      // toned pinyin, UTF-8, each once
  std::vector<std::string> historical;  // the same, those not among `modern`
};

class UnihanReadings {
 public:
  // Knows no character.
  UnihanReadings() = default;
  // NotFound when the file cannot be opened; Corruption when a line that is
  // no comment is not "U+XXXX TAB field TAB value", or no reading is found.
  // Characters beyond the basic plane are passed over.
  static StatusOr<UnihanReadings> FromFile(const std::string& path);
  static StatusOr<UnihanReadings> FromText(std::string_view utf8);

  size_t CharacterCount() const { return own_.size(); }
  // The readings of a character of simplified text: its own first, then
  // those of the characters that simplify to it. Empty when none is known.
  DictionaryReadings OfSimplified(char16_t character) const;

 private:
  std::unordered_map<char16_t, DictionaryReadings> own_;
  // For a simplified character, the traditional ones that simplify to it.
  std::unordered_map<char16_t, std::vector<char16_t>> traditional_;
};

}  // namespace miravel::poemd
