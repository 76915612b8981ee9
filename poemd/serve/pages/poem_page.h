// A poem's page for a browser (poem_page.html), at its own address: the
// poem large and centred, each line with a link that swaps it, its rhyme
// and metre, the link to share and its picture to download, its sources in
// a quiet list below; and what a shared link shows (Open Graph and Twitter
// cards naming the poem and its picture).
#pragma once

#include <string>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/pages/shown_poem.h"

namespace miravel::poemd {

// Where a poem page links to: IRIs (UTF-8), made by the routes.
struct PoemLinks {
  std::string page;                     // the poem's own address, absolute
  std::string swap;                     // relative; a line's number after it asks to swap that line
  std::vector<std::string> pngs, svgs;  // the picture's pages, absolute; at least one
  int width = 0, height = 0;            // the first page's, in pixels
  std::string again;                    // another poem of the same form
  std::string edit;                     // the form, filled in as for this poem
  std::string simplified, traditional;  // this poem in either script
  std::vector<std::string> sources;     // each line's source poem, whole; empty without one
};

// In `script`: its lines as the poets wrote them in traditional characters.
// REQUIRES: `poem` was composed for `order` from `index`.
std::string BrowserPoemPage(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                            const PoemLinks& links, Script script = Script::kSimplified);

}  // namespace miravel::poemd
