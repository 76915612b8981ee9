// The service's pages for a browser, in UTF-8: the form (GET /), and a poem
// (GET /poem). One layout for a phone and a desktop: the poem large and
// centred, each line with a control that swaps it (a link: it works without
// scripts), its sources in a quiet list below. Everything the pages need is
// in them: no script, style or font from elsewhere.
#pragma once

#include <string>

#include "poemd/index/corpus_index.h"
#include "poemd/serve/browser_form.h"
#include "poemd/serve/browser_poem.h"

namespace miravel::poemd {

// The form, filled in as `form`; `error` (UTF-8, may be empty) above it.
std::string BrowserFormPage(const BrowserForm& form, const std::string& error);

// REQUIRES: request.order is set and matches `poem`.
std::string BrowserPoemPage(const CorpusIndex& index, const BrowserRequest& request,
                            const BrowserPoem& poem);

}  // namespace miravel::poemd
