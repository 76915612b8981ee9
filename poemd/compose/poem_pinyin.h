// The reading a poem shows: over each character of a composed poem, the
// syllable to read, and whether the metre chose it.
//
// A character reads as its line's words read it (index/syllables.h): a
// corpus line as the index recorded it, a made line as its donor does with
// the hidden character read alone, a line the corpus lacks character by
// character alone.
//
// The metre chooses in a poem read classically (平水韵, or both books),
// where it asks a tone of a character (verse/tonal_pattern.h): at the
// second, fourth and sixth of a line of shi, the tone the line's own pattern
// gives it (二四六分明, from another of them that reads one way only: the
// poet's reading, wherever the line now stands), else, in a line of
// regulated verse or a made line's hidden character, the template's by the
// poem's opening; at the end of a rhyming line, 平 (no 词 or song keeps
// the metre of shi, and an unrhymed end tells nothing). There a character
//   - that has readings of both classes, and whose line's words leave it
//     free (the line's classical tones allow both, and no word of the
//     dictionary holds it: 长安 is cháng, 行人 xíng, wherever they stand),
//   - that verse reads in the class asked often enough for it to be a
//     reading of the metre, not another word (风 fěng is 讽), and
//   - that reads in the other class,
// shows its reading of the class asked, one of the same letters first (看
// kàn becomes kān in a 平 place, 骑 qí becomes jì in a 仄 one). A character
// that already reads as the metre asks shows that reading, unmarked.
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
