// How a measurement divides the corpus, so that poems are judged on what
// the composer never saw: by a hash of each poem's title, author and first
// paragraph, a tenth of the real quatrains (Tang and Song shi of four lines
// of one length) is held out, and the other poems fall into two parts:
// three quarters for the index measured and one quarter for the judge.
#pragma once

#include <string>
#include <vector>

#include "poemd/indexing/corpus_index_builder.h"

namespace miravel::poemd {

enum class SplitPart { kIndex, kJudge, kHeldOut };

// `lines`: the poem's pieces as LineSplitter cuts them.
SplitPart PartOf(const PoemText& poem, const std::vector<std::u16string>& lines);
bool IsRealQuatrain(const PoemText& poem, const std::vector<std::u16string>& lines);

}  // namespace miravel::poemd
