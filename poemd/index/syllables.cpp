#include "poemd/index/syllables.h"

#include <algorithm>
#include <string>

#include "poemd/index/sorted_runs.h"
#include "poemd/verse/places.h"

namespace miravel::poemd {
namespace {

Status Damaged(const std::string& what) { return Status::Corruption("damaged: " + what); }

bool IsSyllable(uint16_t id, size_t count) { return id != kNoSyllable && id < count; }

}  // namespace

Status Syllables::Check(const SyllableArrays& a, const size_t (&lines)[2]) {
  const size_t count = a.names.size() / kSyllableBytes;
  if (a.names.size() % kSyllableBytes != 0 || count == 0 || count > kSyllableLimit) {
    return Damaged("the syllable table is not whole");
  }
  for (size_t id = 0; id < count; ++id) {
    const char* name = a.names.data() + id * kSyllableBytes;
    if (name[kSyllableBytes - 1] != '\0' || (id == 0) != (name[0] == '\0')) {
      return Damaged("a syllable's name is empty or not ended");
    }
  }
  if (a.alone.size() != 65536) return Damaged("the syllables do not cover every character");
  for (uint16_t id : a.alone) {
    if (id >= count) return Damaged("a character reads a syllable that is not there");
  }
  if (!RunsAreWhole(a.polyphones, a.polyphone_starts, a.polyphone_readings.size())) {
    return Damaged("the polyphones' readings are not whole");
  }
  if (a.polyphone_verse.size() != a.polyphones.size() ||
      std::any_of(a.polyphone_verse.begin(), a.polyphone_verse.end(),
                  [](uint8_t percent) { return percent > 100 && percent != kUnattested; })) {
    return Damaged("the polyphones' shares in verse are out of range");
  }
  for (uint16_t packed : a.polyphone_readings) {
    if (!IsSyllable(packed & (kSyllableLimit - 1), count) ||
        (packed >> kReadingClassShift) > static_cast<int>(Tone::kOblique)) {
      return Damaged("a polyphone's reading is out of range");
    }
  }
  for (int slot = 0; slot < 2; ++slot) {
    const std::span<const uint32_t> keys = a.line_keys[slot];
    const std::span<const uint16_t> values = a.line_values[slot];
    const auto length = static_cast<uint32_t>(kLengths[slot]);
    if (keys.size() != values.size() ||
        std::adjacent_find(keys.begin(), keys.end(), std::greater_equal<uint32_t>()) !=
            keys.end()) {
      return Damaged("the lines' syllables are not in order");
    }
    for (size_t k = 0; k < keys.size(); ++k) {
      if (keys[k] >> 3 >= lines[slot] || (keys[k] & 7) >= length ||
          !IsSyllable(values[k] & ~kDecidedByWord, count)) {
        return Damaged("a line's syllable is out of range");
      }
    }
  }
  return Status::Ok();
}

std::string_view Syllables::Name(SyllableId id) const {
  if (size_t{id} >= Count()) return {};
  return a_.names.data() + size_t{id} * kSyllableBytes;
}

Syllables::Syllables(const SyllableArrays& arrays)
    : a_(arrays), verse_by_character_(size_t{1} << 16, kUnattested) {
  for (size_t k = 0; k < a_.polyphones.size() && k < a_.polyphone_verse.size(); ++k) {
    verse_by_character_[a_.polyphones[k]] = a_.polyphone_verse[k];
  }
}

uint8_t Syllables::VerseObliquePercent(char16_t character) const {
  return verse_by_character_.empty() ? kUnattested : verse_by_character_[character];
}

PolyphoneReadings Syllables::ReadingsOf(char16_t character) const {
  PolyphoneReadings out;
  const auto it = std::lower_bound(a_.polyphones.begin(), a_.polyphones.end(), character);
  if (it == a_.polyphones.end() || *it != character) return out;
  const size_t k = static_cast<size_t>(it - a_.polyphones.begin());
  out.verse_oblique_percent = a_.polyphone_verse[k];
  for (uint32_t i = a_.polyphone_starts[k]; i < a_.polyphone_starts[k + 1]; ++i) {
    const uint16_t packed = a_.polyphone_readings[i];
    out.readings.push_back({static_cast<SyllableId>(packed & (kSyllableLimit - 1)),
                            static_cast<Tone>(packed >> kReadingClassShift)});
  }
  return out;
}

std::vector<LineSyllable> Syllables::OfLine(int length, uint32_t line,
                                            std::u16string_view text) const {
  std::vector<LineSyllable> out;
  for (char16_t c : text) out.push_back({Alone(c), false});
  const std::span<const uint32_t> keys = a_.line_keys[LengthSlot(length)];
  const std::span<const uint16_t> values = a_.line_values[LengthSlot(length)];
  const uint32_t first = line << 3;
  for (auto it = std::lower_bound(keys.begin(), keys.end(), first);
       it != keys.end() && *it >> 3 == line; ++it) {
    const size_t at = *it & 7;
    const uint16_t value = values[static_cast<size_t>(it - keys.begin())];
    if (at < out.size()) {
      out[at] = {static_cast<SyllableId>(value & ~kDecidedByWord), (value & kDecidedByWord) != 0};
    }
  }
  return out;
}

}  // namespace miravel::poemd
