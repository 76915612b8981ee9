// The service's pages, in GBK HTML. On the poem page each poem line is one
// list item on its own line, the hidden character wrapped exactly as
// <font style="color:red">X</font>; nothing else on the page is a list item.
#pragma once

#include <string>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

std::string PoemPage(const CorpusIndex& index, const PoemOrder& order, const Poem& poem);

// The page of a refused request: why (UTF-8 in), in the page's style, with
// no list item, so that no client takes a poem from it.
std::string RefusalPage(const std::string& why);

}  // namespace miravel::poemd
