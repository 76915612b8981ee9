// The reading a poem shows: over each character of a composed poem, the
// syllable to read, and whether the metre chose it.
//
// A character reads as its line's words read it (index/syllables.h): a
// corpus line as the index recorded it, a made line as its donor does with
// the hidden character read alone, a line the corpus lacks character by
// character alone.
//
// The metre chooses in a poem read classically (平水韵, or both books),
// where the tonal template asks a tone of a character (verse/tonal_pattern.h:
// the second, fourth and sixth characters by the poem's opening; the last,
// 平 in a rhyming line and 仄 in another) and the character
//   - has readings of both classes, and its line's words leave it free
//     (the line's classical tones allow both, and no word of the dictionary
//     holds it: 长安 is cháng, 行人 xíng, wherever they stand), and
//   - reads in the other class: then it shows its reading of the class the
//     template asks for, one of the same letters first (看 kàn becomes kān in
//     a 平 place, 骑 qí becomes jì in a 仄 one).
// A character that already reads as the template asks shows that reading,
// unmarked.
#pragma once

#include <string_view>
#include <vector>

#include "poemd/compose/poem.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

struct ShownSyllable {
  std::string_view pinyin;  // toned, UTF-8, in the index; "" when no reading is known
  // The class the metre chose the reading for; kUnknown where the words
  // give the reading.
  Tone metre = Tone::kUnknown;
};

// One syllable a character, one row a line of `poem`, composed for `order`.
std::vector<std::vector<ShownSyllable>> PoemPinyin(const CorpusIndex& index, const PoemOrder& order,
                                                   const Poem& poem);

// Why a reading was chosen, in words a reader understands (UTF-8):
// "此处读平声" or "此处读仄声"; "" for kUnknown.
std::string_view MetreReason(Tone chosen);

}  // namespace miravel::poemd
