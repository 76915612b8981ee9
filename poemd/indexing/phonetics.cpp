#include "poemd/indexing/phonetics.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>
#include <utility>

#include "poemd/index/pinyin_letters.h"

namespace miravel::poemd {
namespace {

// The final of a plain syllable ("v" for ü), with y/w spellings undone and
// "-i" for the apical vowel after zh ch sh r z c s.
std::string FinalOf(std::string s) {
  if (s.starts_with("y")) {
    s.erase(0, 1);
    if (s.starts_with("u")) return "v" + s.substr(1);
    if (s.starts_with("i")) return s;
    return "i" + s;
  }
  if (s.starts_with("w")) {
    s.erase(0, 1);
    return s == "u" ? s : "u" + s;
  }
  for (const char* initial : {"zh", "ch", "sh"}) {
    if (s.starts_with(initial)) return s == std::string(initial) + "i" ? "-i" : s.substr(2);
  }
  if (s.empty()) return s;
  const char first = s[0];
  if (std::string_view("rzcs").find(first) != std::string_view::npos) {
    return s.substr(1) == "i" ? "-i" : s.substr(1);
  }
  if (std::string_view("jqx").find(first) != std::string_view::npos) {
    std::string rest = s.substr(1);
    if (rest.starts_with("u")) rest[0] = 'v';
    return rest;
  }
  if (std::string_view("bpmfdtnlgkh").find(first) != std::string_view::npos) return s.substr(1);
  return s;  // no initial: "a", "e", "er", "ou", ...
}

RhymeGroup GroupOfFinal(const std::string& f) {
  static const std::pair<const char*, RhymeGroup> kGroups[] = {
      {"a", 1},     {"ia", 1},    {"ua", 1},    {"o", 2},    {"uo", 2},   {"e", 2},    {"ie", 3},
      {"ve", 3},    {"ue", 3},    {"ai", 4},    {"uai", 4},  {"ei", 5},   {"ui", 5},   {"uei", 5},
      {"ao", 6},    {"iao", 6},   {"ou", 7},    {"iu", 7},   {"iou", 7},  {"an", 8},   {"ian", 8},
      {"uan", 8},   {"van", 8},   {"en", 9},    {"in", 9},   {"un", 9},   {"uen", 9},  {"vn", 9},
      {"ang", 10},  {"iang", 10}, {"uang", 10}, {"eng", 11}, {"ing", 11}, {"ong", 11}, {"iong", 11},
      {"ueng", 11}, {"i", 12},    {"v", 12},    {"er", 12},  {"-i", 13},  {"u", 14},
  };
  for (const auto& [final, group] : kGroups) {
    if (f == final) return group;
  }
  return kNoRhymeGroup;
}

}  // namespace

Reading ReadingOfPinyin(std::string_view pinyin) {
  const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(pinyin.data(), static_cast<int32_t>(pinyin.size())));
  std::string plain;
  int tone = 0;
  for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
    const UChar32 c = text.char32At(i);
    if (c < 0x80) {
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) plain += static_cast<char>(c | 0x20);
      continue;
    }
    for (const MarkedVowel& m : MarkedVowels()) {
      if (c == m.code) {
        plain += m.letter == u'ü' ? 'v' : static_cast<char>(m.letter);
        if (m.tone != 0) tone = m.tone;
      }
    }
  }
  if (plain.empty()) return {};
  Reading reading;
  // The neutral tone of a word's weak syllable ("聪明" cōng ming) is neither
  // class: such a character fits no rule that asks for a tone.
  reading.tone = (tone == 1 || tone == 2)   ? Tone::kLevel
                 : (tone == 3 || tone == 4) ? Tone::kOblique
                                            : Tone::kUnknown;
  reading.rhyme = GroupOfFinal(FinalOf(plain));
  return reading;
}

struct Phonetics::Impl {
  std::unique_ptr<icu::Transliterator> han_latin;
};

Phonetics::Phonetics() : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->han_latin.reset(icu::Transliterator::createInstance("Han-Latin", UTRANS_FORWARD, status));
  if (U_FAILURE(status)) impl_->han_latin.reset();
}

Phonetics::~Phonetics() = default;

std::string Phonetics::Pinyin(char16_t character) {
  if (!impl_->han_latin) return {};
  icu::UnicodeString text(character);
  impl_->han_latin->transliterate(text);
  if (text.length() == 1 && text.charAt(0) == character) return {};
  std::string utf8;
  text.toUTF8String(utf8);
  return utf8;
}

Reading Phonetics::Of(char16_t character) { return ReadingOfPinyin(Pinyin(character)); }

}  // namespace miravel::poemd
