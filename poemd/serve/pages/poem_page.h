// A poem's page for a browser (poem_page.html), at its own address: the
// poem large and centred, each line with a link that swaps it, what it is
// about and other subjects to compose it under, its rhyme and metre, the
// link to share and its picture to download, its sources in a quiet list
// below; and what a shared link shows (Open Graph and Twitter cards naming
// the poem and its picture). Shown in the script asked for, its own words
// too, and with each character's reading over it when pinyin is asked for.
#pragma once

#include <string>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/pages/shown_poem.h"
#include "poemd/serve/requests/poem_links.h"

namespace miravel::poemd {

// In traditional script: its lines as the poets wrote them in traditional
// characters. REQUIRES: `poem` was composed for `order` from `index`.
std::string BrowserPoemPage(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                            const PoemLinks& links, PoemDisplay display = {});

}  // namespace miravel::poemd
