// The poem a browser's request asks for (browser_form.h): composed from its
// seed; exactly the lines its address names when it names them; and with
// one line swapped when it asks, for another line of the same character,
// place, tonal template and rhyme that goes with the lines kept.
#pragma once

#include <cstdint>

#include "poemd/compose/poem_composer.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/browser_form.h"

namespace miravel::poemd {

struct BrowserPoem {
  Poem poem;
  uint64_t seed = 0;
};

// REQUIRES: request.order is set. `fresh_seed` serves when the request names
// no seed.
BrowserPoem ComposeForBrowser(const CorpusIndex& index, const BrowserRequest& request,
                              uint64_t fresh_seed);

}  // namespace miravel::poemd
