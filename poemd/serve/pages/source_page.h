// The page of a poem one line of ours came from (source_page.html): the
// poem whole, as the corpus has it (the 词's lines of every length
// included), its title, poet and dynasty, the borrowed line in a <mark>, in
// simplified or traditional characters, and a way back to the poem that
// borrowed it.
#pragma once

#include <cstdint>
#include <string>

#include "poemd/index/corpus_index.h"
#include "poemd/serve/pages/shown_poem.h"
#include "poemd/serve/requests/source_address.h"

namespace miravel::poemd {

// REQUIRES: `line` < index.LineCount(length).
std::string SourcePage(const CorpusIndex& index, int length, uint32_t line, Script script,
                       const SourceLinks& links);

}  // namespace miravel::poemd
