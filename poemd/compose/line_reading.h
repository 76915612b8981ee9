// What the rules (line_rules.h) read of a line: of a corpus line, as the
// index recorded it; of a made line, its donor with the hidden character
// read as it reads alone; of any other text, character by character.
#pragma once

#include <string_view>

#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

LineReading ReadingOf(const LineTraits& traits);
// `reading` with character `c` put in at `at` of a line of `length`.
LineReading WithCharacter(LineReading reading, const CorpusIndex& index, char16_t c, int at,
                          int length);
LineReading ReadingOfText(const CorpusIndex& index, std::u16string_view text);
// A line the composer gave, its hidden character at `at`.
LineReading ReadingOfComposed(const CorpusIndex& index, int length, const ComposedLine& line,
                              int at);

}  // namespace miravel::poemd
