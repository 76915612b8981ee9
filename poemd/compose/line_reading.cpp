#include "poemd/compose/line_reading.h"

namespace miravel::poemd {

LineReading ReadingOf(const LineTraits& traits) {
  return {traits.classical, traits.modern, traits.pingshui, traits.xinyun};
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
  const LineReading donor = ReadingOf(index.Traits(length, line.corpus_line));
  if (!line.made) return donor;
  return WithCharacter(donor, index, line.text[at], at, length);
}

}  // namespace miravel::poemd
