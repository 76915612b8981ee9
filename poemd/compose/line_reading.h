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
// Corpus line `line` of `length` as the rules read it: as the index
// recorded it, except that a character of both classes that the line's
// words leave open counts only in the class verse reads it in, when verse
// reads it in the other class in fewer than kVersePercentToChoose of its
// places (风 is 平: its 仄 fěng is another word, 讽; 看 stays either). A
// reader hears 春风 as 平 whatever the dictionary allows, so a line ending
// on it is no unrhymed line's 仄 ending.
LineReading ReadingOfLine(const CorpusIndex& index, int length, uint32_t line);
// A class that regulated verse gives a polyphone in fewer than this share of
// the places that tell is another word written alike, not a reading of the
// metre: 风 is read 仄 (fěng, to satirize) in 6% of them, 中 and 生 in 6%, 如
// in 8%, 尚 平 (cháng) in 11%, where 教 is read 仄 (jiào beside the verse's
// jiāo) in 13%, 长 (zhǎng) in 14%, 看 in 28% (the Tang and Song regulated
// verse of the corpus). Judged on 200 poems' choices by hand: at 10% 将
// jiàng (方将, about to) and 尚 cháng were wrongly chosen. The reading a
// poem shows (poem_pinyin.h) holds to the same share.
inline constexpr int kVersePercentToChoose = 12;
// `reading` with character `c` put in at `at` of a line of `length`.
LineReading WithCharacter(LineReading reading, const CorpusIndex& index, char16_t c, int at,
                          int length);
LineReading ReadingOfText(const CorpusIndex& index, std::u16string_view text);
// A line the composer gave, its hidden character at `at`.
LineReading ReadingOfComposed(const CorpusIndex& index, int length, const ComposedLine& line,
                              int at);

}  // namespace miravel::poemd
