// The pages the desktop client's route answers with (client_poem.html,
// client_refusal.html), in UTF-8 here: the route sends them in GBK, the
// client's code page, converting each page once.
#pragma once

#include <string>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

// The poem: each poem line one list item on its own line, the hidden
// character wrapped exactly as <font style="color:red">X</font>; nothing
// else on the page is a list item. REQUIRES: `poem` was composed for
// `order` from `index`.
std::string ClientPoemPage(const CorpusIndex& index, const PoemOrder& order, const Poem& poem);

// A refused request: `why` (text), with no list item, so that no client
// takes a poem from it.
std::string ClientRefusalPage(const std::string& why);

}  // namespace miravel::poemd
