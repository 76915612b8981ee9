// Small made-up corpora for tests: lines are invented, in the shapes the
// composer needs (several per hidden character, rhyming and not).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/indexing/corpus_index_builder.h"

namespace miravel::poemd::testing {

// An order for `characters` (their GBK bytes left empty).
PoemOrder OrderFor(std::u16string characters, int length, Place place, bool first_rhymes = false,
                   RhymeBook book = RhymeBook::kBoth);

// A poem of the Tang dynasty from `lines` (paragraphs, UTF-8).
PoemText Shi(std::string_view title, std::string_view author, std::vector<std::string> lines,
             Collection collection = Collection::kTangSongShi);

// Five-character lines for 春 风 花 月 at each place, with level and
// oblique endings in the 唐 (ang) and 寒 (an) groups; a few seven-character
// lines; no line holds 龘; one poem written in traditional characters, the
// others converted to them as the index converts.
CorpusIndex MadeUpCorpus();

// The file of a small index (two poems, couplets and all, and 长 read
// zhǎng in 白云长): the starting point of the damage tests and the loader's
// fuzzer.
std::vector<std::byte> SmallIndexFile();

// A larger made-up corpus, the same every time: about two thousand poems of
// four and eight lines, five and seven characters, invented from a few
// hundred common characters. Each poem keeps to a few dozen characters of
// its own (so that lines of one poem go together), rhymes on one of a few
// endings, and has a title of the kinds the learners read (寿, 送, 挽, 中秋,
// 山居, ...). Every part of the composer has choices to make on it.
CorpusIndex VariedCorpus();

// For 春 and 风 at the head, three five-character lines each that are alike
// by every rule and stand in no poem with another: only chance chooses.
CorpusIndex EvenChoiceCorpus();

}  // namespace miravel::poemd::testing
