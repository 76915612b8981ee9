#include "poemd/indexing/character_syllables.h"

#include <algorithm>
#include <unordered_map>

#include "poemd/index/index_sections.h"
#include "poemd/index/pinyin_letters.h"
#include "poemd/indexing/phonetics.h"
#include "poemd/verse/cjk.h"
#include "poemd/verse/places.h"

namespace miravel::poemd {
namespace {

// Lowercase letters, ü and the tone marks only, and short enough for the
// table's slot.
bool IsSyllable(std::string_view pinyin) {
  if (pinyin.empty() || pinyin.size() >= kSyllableBytes) return false;
  for (char16_t c : Letters(pinyin)) {
    if ((c < u'a' || c > u'z') && c != u'ü') return false;
  }
  return true;
}

// A polyphone's places in verse: fewer than this many tell nothing of it.
constexpr uint32_t kAttestedPlaces = 20;

// Whether two syllables are one old syllable of a voiced initial, which
// Mandarin split by tone: aspirated in the level tone, plain in the others
// (騎 qí and jì, 長 cháng and zhàng, 尚 cháng and shàng): their initials a
// pair of b p, d t, g k, j q, z c, zh ch or sh ch, the rest alike.
bool SplitByTone(std::string_view a, std::string_view b) {
  static constexpr std::pair<std::u16string_view, std::u16string_view> kPairs[] = {
      {u"b", u"p"}, {u"d", u"t"},   {u"g", u"k"},   {u"j", u"q"},
      {u"z", u"c"}, {u"zh", u"ch"}, {u"sh", u"ch"},
  };
  const std::u16string x = Letters(a);
  const std::u16string y = Letters(b);
  // The initial `initial` of `s`, not the first letter of a longer one (z of zh).
  const auto opens = [](const std::u16string& s, std::u16string_view initial) {
    return s.starts_with(initial) && (initial.size() == 2 || s.size() < 2 || s[1] != u'h');
  };
  for (const auto& [plain, aspirated] : kPairs) {
    for (const auto& [one, other] : {std::pair(plain, aspirated), std::pair(aspirated, plain)}) {
      if (opens(x, one) && opens(y, other) && x.substr(one.size()) == y.substr(other.size())) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

Tone ClassOfReading(const ClassicalReading& classical, std::string_view syllable) {
  if (classical.level != classical.oblique) return classical.level ? Tone::kLevel : Tone::kOblique;
  if (!classical.Known()) return Tone::kUnknown;
  const Tone modern = ReadingOfPinyin(syllable).tone;
  if (classical.entering && modern != Tone::kOblique) return Tone::kUnknown;
  return modern;
}

struct CharacterSyllables::Impl {
  Impl(WordReadings* w, const UnihanReadings* u, const ClassicalReadings* c)
      : words(w), unihan(u), classical(c) {}

  WordReadings* words;
  const UnihanReadings* unihan;
  const ClassicalReadings* classical;
  Phonetics icu;

  std::vector<std::string> names{""};
  std::unordered_map<std::string, SyllableId> ids;

  struct Character {
    SyllableId alone = kNoSyllable;
    std::vector<CharacterReading> readings;  // of a polyphone, alone first
    bool both_classes = false;
  };
  std::unordered_map<char16_t, Character> characters;
  // Per character, its places in verse read 平 and 仄.
  std::unordered_map<char16_t, std::pair<uint32_t, uint32_t>> in_verse;

  SyllableId Intern(const std::string& syllable) {
    if (!IsSyllable(syllable)) return kNoSyllable;
    const auto [it, added] = ids.try_emplace(syllable, static_cast<SyllableId>(names.size()));
    if (added) {
      if (names.size() >= kSyllableLimit) {
        ids.erase(it);
        return kNoSyllable;
      }
      names.push_back(syllable);
    }
    return it->second;
  }

  const Character& Of(char16_t c) {
    const auto [it, added] = characters.try_emplace(c);
    if (added) it->second = Gather(c);
    return it->second;
  }

  Character Gather(char16_t c) {
    Character character;
    const std::string alone = words ? words->PinyinAlone(c) : icu.Pinyin(c);
    character.alone = Intern(alone);
    std::vector<std::string> known;
    const auto add = [&](const std::string& s) {
      if (IsSyllable(s) && std::find(known.begin(), known.end(), s) == known.end()) {
        known.push_back(s);
      }
    };
    if (character.alone != kNoSyllable) add(alone);
    if (words) {
      for (const std::string& s : words->PinyinInWords(c)) add(s);
    }
    if (unihan) {
      const DictionaryReadings dictionaries = unihan->OfSimplified(c);
      for (const std::string& s : dictionaries.modern) add(s);
      for (const std::string& s : dictionaries.historical) {
        const bool another_tone = std::any_of(known.begin(), known.end(),
                                              [&](const auto& k) { return SameLetters(k, s); });
        if (another_tone || (!alone.empty() && SplitByTone(alone, s))) add(s);
      }
    }
    if (known.size() < 2) return character;
    const ClassicalReading reading = classical ? classical->OfSimplified(c) : ClassicalReading{};
    bool level = false;
    bool oblique = false;
    for (const std::string& s : known) {
      const Tone tone = ClassOfReading(reading, s);
      level = level || tone == Tone::kLevel;
      oblique = oblique || tone == Tone::kOblique;
      character.readings.push_back({Intern(s), tone});
    }
    character.both_classes = level && oblique;
    return character;
  }
};

CharacterSyllables::CharacterSyllables(WordReadings* words, const UnihanReadings* unihan,
                                       const ClassicalReadings* classical)
    : impl_(std::make_unique<Impl>(words, unihan, classical)) {}

CharacterSyllables::~CharacterSyllables() = default;

void CharacterSyllables::ReadLine(std::u16string_view text, const std::vector<std::string>& pinyin,
                                  const std::vector<bool>& in_word, std::span<uint16_t> out) {
  for (size_t i = 0; i < text.size(); ++i) {
    const Impl::Character& c = impl_->Of(text[i]);
    const SyllableId here = i < pinyin.size() ? impl_->Intern(pinyin[i]) : kNoSyllable;
    out[i] = here == kNoSyllable ? c.alone : here;
    if (out[i] != kNoSyllable && c.both_classes && i < in_word.size() && in_word[i]) {
      out[i] |= kDecidedByWord;
    }
  }
}

void CharacterSyllables::CountInVerse(std::u16string_view text, LineTones tones, size_t line) {
  const int length = static_cast<int>(text.size());
  const auto count = [&](int at, Tone tone) {
    if (tone == Tone::kUnknown || !tones.CanBeLevel(at) || !tones.CanBeOblique(at)) return;
    auto& [level, oblique] = impl_->in_verse[text[at]];
    ++(tone == Tone::kLevel ? level : oblique);
  };
  for (int at = 1; at < length - 1; at += 2) count(at, ToneByPattern(tones, length, at));
  if (line > 0) count(length - 1, line % 2 == 1 ? Tone::kLevel : Tone::kOblique);
}

void CharacterSyllables::Write(IndexFileWriter& w, const std::u16string_view (&texts)[2],
                               const std::span<const uint16_t> (&values)[2]) {
  using namespace sections;
  std::vector<uint16_t> alone(65536, kNoSyllable);
  std::vector<char16_t> polyphones;
  std::vector<uint32_t> starts{0};
  std::vector<uint16_t> readings;
  std::vector<uint8_t> verse;
  for (char32_t c = kCjkFirst; c <= kCjkLast; ++c) {
    const Impl::Character& character = impl_->Of(static_cast<char16_t>(c));
    alone[c] = character.alone;
    if (character.readings.empty()) continue;
    polyphones.push_back(static_cast<char16_t>(c));
    const auto [level, oblique] = impl_->in_verse[static_cast<char16_t>(c)];
    verse.push_back(
        level + oblique < kAttestedPlaces
            ? kUnattested
            : static_cast<uint8_t>((100 * oblique + (level + oblique) / 2) / (level + oblique)));
    for (const CharacterReading& r : character.readings) {
      readings.push_back(
          static_cast<uint16_t>(r.syllable | static_cast<int>(r.classical) << kReadingClassShift));
    }
    starts.push_back(static_cast<uint32_t>(readings.size()));
  }
  std::vector<char> names(impl_->names.size() * kSyllableBytes, '\0');
  for (size_t id = 0; id < impl_->names.size(); ++id) {
    std::copy(impl_->names[id].begin(), impl_->names[id].end(),
              names.begin() + static_cast<std::ptrdiff_t>(id * kSyllableBytes));
  }
  w.AddContainer(Id(kSyllableNames), names);
  w.AddContainer(Id(kAloneSyllables), alone);
  w.AddContainer(Id(kPolyphones), polyphones);
  w.AddContainer(Id(kPolyphoneStarts), starts);
  w.AddContainer(Id(kPolyphoneReadings), readings);
  w.AddContainer(Id(kPolyphoneVerse), verse);
  for (int slot = 0; slot < 2; ++slot) {
    const std::u16string_view text = texts[slot];
    std::vector<uint32_t> keys;
    std::vector<uint16_t> kept;
    for (size_t k = 0; k < text.size() && k < values[slot].size(); ++k) {
      const uint16_t value = values[slot][k];
      if (value == alone[text[k]] || (value & ~kDecidedByWord) == kNoSyllable) continue;
      const size_t length = static_cast<size_t>(kLengths[slot]);
      keys.push_back(static_cast<uint32_t>(k / length << 3 | k % length));
      kept.push_back(value);
    }
    w.AddContainer(Id(kLineSyllableKeys, slot), keys);
    w.AddContainer(Id(kLineSyllableValues, slot), kept);
  }
}

}  // namespace miravel::poemd
