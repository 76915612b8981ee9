#include "poemd/compose/poem_pinyin.h"

#include <optional>

#include "poemd/compose/line_reading.h"
#include "poemd/index/pinyin_letters.h"

namespace miravel::poemd {
namespace {

// How far a line's own words were written in metre.
enum class Metre {
  kNone,     // a 词's, a song's or a play's: their tunes' own
  kPattern,  // a poem of shi: its pattern in the line (二四六分明) tells
  kWhole,    // regulated verse, or what the composer put in its place
};

// The tone the metre asks of character `at` of a line: at the second,
// fourth or sixth, what the line's own pattern gives it (the poet's
// reading, wherever the line now stands), else, in regulated verse, the
// template's by the poem's opening; at the end of a rhyming line 平, the
// rhyme being heard. Elsewhere kUnknown: the first, third and fifth are
// free (一三五不论), and an unrhymed end tells nothing, as the composer takes
// a line that rhymed in its own poem for an unrhymed place as readily (翠屏
// is píng there all the same).
Tone MetreTone(const PoemOrder& order, Opening opening, LineTones tones, size_t line, int at,
               Metre metre) {
  const int length = order.length;
  if (at == length - 1) {
    return IsRhymingLine(line, order.first_line_rhymes) ? Tone::kLevel : Tone::kUnknown;
  }
  if (at % 2 == 0 || metre == Metre::kNone) return Tone::kUnknown;
  if (const Tone own = ToneByPattern(tones, length, at); own != Tone::kUnknown) return own;
  if (metre != Metre::kWhole) return Tone::kUnknown;
  const Tone second = SecondTone(opening, line);
  return at == 3 ? Other(second) : second;
}

// The syllables of a line of the poem as its words read them.
std::vector<LineSyllable> WordsOf(const CorpusIndex& index, const PoemOrder& order,
                                  const ComposedLine& line, int hidden_at) {
  const Syllables& pinyin = index.Pinyin();
  if (!line.has_source) {
    std::vector<LineSyllable> alone;
    for (char16_t c : line.text) alone.push_back({pinyin.Alone(c), false});
    return alone;
  }
  const int length = order.length;
  std::vector<LineSyllable> read =
      pinyin.OfLine(length, line.corpus_line, index.Text(length, line.corpus_line));
  if (line.made && hidden_at >= 0 && static_cast<size_t>(hidden_at) < read.size()) {
    read[hidden_at] = {pinyin.Alone(line.text[hidden_at]), false};
  }
  return read;
}

// The reading of class `wanted` that the metre takes instead of `shown`,
// when the character has one and reads `shown` in the other class.
std::optional<SyllableId> MetreChoice(const Syllables& pinyin, char16_t c, SyllableId shown,
                                      Tone wanted) {
  const PolyphoneReadings polyphone = pinyin.ReadingsOf(c);
  Tone shown_class = Tone::kUnknown;
  for (const CharacterReading& r : polyphone.readings) {
    if (r.syllable == shown) shown_class = r.classical;
  }
  if (shown_class == Tone::kUnknown || shown_class == wanted) return std::nullopt;
  if (const int oblique = polyphone.verse_oblique_percent; oblique != kUnattested) {
    const int share = wanted == Tone::kOblique ? oblique : 100 - oblique;
    if (share < kVersePercentToChoose) return std::nullopt;
  }
  std::optional<SyllableId> choice;
  for (const CharacterReading& r : polyphone.readings) {
    if (r.classical != wanted) continue;
    if (SameLetters(pinyin.Name(r.syllable), pinyin.Name(shown))) return r.syllable;
    if (!choice) choice = r.syllable;
  }
  return choice;
}

}  // namespace

std::vector<std::vector<ShownSyllable>> PoemPinyin(const CorpusIndex& index, const PoemOrder& order,
                                                   const Poem& poem) {
  const Syllables& pinyin = index.Pinyin();
  const bool classical = ReadsClassically(poem.book);
  std::vector<std::vector<ShownSyllable>> shown;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const ComposedLine& line = poem.lines[i];
    const int hidden_at = order.PositionAt(i);
    const std::vector<LineSyllable> words = WordsOf(index, order, line, hidden_at);
    const LineTones tones = ReadingOfComposed(index, order.length, line, hidden_at).classical;
    const SourceRank rank = line.has_source ? index.Traits(order.length, line.corpus_line).rank()
                                            : SourceRank::kRegulatedShi;
    const Metre metre = rank == SourceRank::kRegulatedShi ? Metre::kWhole
                        : rank == SourceRank::kShi        ? Metre::kPattern
                                                          : Metre::kNone;
    std::vector<ShownSyllable>& row = shown.emplace_back();
    for (size_t k = 0; k < line.text.size(); ++k) {
      const int at = static_cast<int>(k);
      const LineSyllable read = k < words.size() ? words[k] : LineSyllable{};
      ShownSyllable syllable{pinyin.Name(read.syllable)};
      const Tone wanted = MetreTone(order, poem.opening, tones, i, at,
                                    line.made && at == hidden_at ? Metre::kWhole : metre);
      if (classical && wanted != Tone::kUnknown && !read.decided_by_word && tones.CanBeLevel(at) &&
          tones.CanBeOblique(at)) {
        if (const auto choice = MetreChoice(pinyin, line.text[k], read.syllable, wanted)) {
          syllable = {pinyin.Name(*choice), wanted};
        }
      }
      row.push_back(syllable);
    }
  }
  return shown;
}

std::string_view MetreReason(Tone chosen) {
  switch (chosen) {
    case Tone::kLevel:
      return "此处读平声";
    case Tone::kOblique:
      return "此处读仄声";
    case Tone::kUnknown:
      break;
  }
  return "";
}

}  // namespace miravel::poemd
