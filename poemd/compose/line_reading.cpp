#include "poemd/compose/line_reading.h"

#include "poemd/index/syllables.h"

namespace miravel::poemd {

LineReading ReadingOf(const LineTraits& traits) {
  return {traits.classical, traits.modern, traits.pingshui, traits.xinyun};
}

LineReading ReadingOfLine(const CorpusIndex& index, int length, uint32_t line) {
  LineReading reading = ReadingOf(index.Traits(length, line));
  const uint8_t both = reading.classical.level & reading.classical.oblique;
  if (both == 0) return reading;
  const std::u16string_view text = index.Text(length, line);
  for (int i = 0; i < length && i < static_cast<int>(text.size()); ++i) {
    if ((both >> i & 1) == 0) continue;
    const int oblique = index.Pinyin().VerseObliquePercent(text[i]);
    if (oblique == kUnattested) continue;
    const auto bit = static_cast<uint8_t>(1 << i);
    if (oblique < kVersePercentToChoose) reading.classical.oblique &= static_cast<uint8_t>(~bit);
    if (100 - oblique < kVersePercentToChoose) {
      reading.classical.level &= static_cast<uint8_t>(~bit);
    }
  }
  return reading;
}

LineReading WithCharacter(LineReading reading, const CorpusIndex& index, char16_t c, int at,
                          int length) {
  const ClassicalReading classical = index.ClassicalReadingOf(c);
  const Reading modern = index.ReadingOf(c);
  reading.classical = reading.classical.WithCharacterAt(at, classical.level, classical.oblique);
  reading.modern = reading.modern.WithToneAt(at, modern.tone);
  if (at == length - 1) {
    reading.pingshui = classical.level ? classical.rhymes : 0;
    reading.xinyun = modern.rhyme;
  }
  return reading;
}

LineReading ReadingOfText(const CorpusIndex& index, std::u16string_view text) {
  LineReading reading;
  const int length = static_cast<int>(text.size());
  for (int i = 0; i < length; ++i) reading = WithCharacter(reading, index, text[i], i, length);
  return reading;
}

LineReading ReadingOfComposed(const CorpusIndex& index, int length, const ComposedLine& line,
                              int at) {
  if (!line.has_source) return ReadingOfText(index, line.text);
  const LineReading donor = ReadingOfLine(index, length, line.corpus_line);
  if (!line.made) return donor;
  return WithCharacter(donor, index, line.text[at], at, length);
}

}  // namespace miravel::poemd
