// The 格律 view under a poem on the browser's page: each character with its
// tone in the poem's book (平 ○, 仄 ●, either ◐, neither ·; in both books the
// classical reading above the modern one) and, when pinyin is shown, its
// reading beside them; and which rules the poem keeps, as a checker tells a
// poet. UTF-8 HTML, a <details> that opens without a script.
#pragma once

#include <string>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/compose/poem_pinyin.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

// `shown`: the poem's lines as the page shows them (shown_poem.h);
// `readings`: each character's (poem_pinyin.h), or none for no pinyin.
std::string MetreView(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                      const std::vector<std::u16string>& shown,
                      const std::vector<std::vector<ShownSyllable>>& readings, Script script);

}  // namespace miravel::poemd
