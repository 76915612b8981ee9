// The 格律 view under a poem on the browser's page: each character with its
// tone in the poem's book (平 ○, 仄 ●, either ◐, neither ·; in both books the
// classical reading above the modern one), and which rules the poem keeps,
// as a checker tells a poet. UTF-8 HTML, a <details> that opens without a
// script.
#pragma once

#include <string>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

// `shown`: the poem's lines as the page shows them (shown_poem.h).
std::string MetreView(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                      const std::vector<std::u16string>& shown);

}  // namespace miravel::poemd
