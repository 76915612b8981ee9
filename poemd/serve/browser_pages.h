// The service's pages for a browser, in UTF-8: the form (GET /), a poem
// (at its own address, short_address.h), and the pages of errors. One layout for a phone and a
// desktop: the poem large and centred, each line with a control that swaps it (a link: it works
// without scripts), its sources in a quiet list below. Everything the pages need is in them: no
// script, style or font from elsewhere.
#pragma once

#include <string>
#include <vector>

#include "poemd/index/corpus_index.h"
#include "poemd/serve/browser_form.h"
#include "poemd/serve/browser_poem.h"

namespace miravel::poemd {

// The form, filled in as `form`; `error` (UTF-8, may be empty) above it,
// about the field `invalid`, which is marked so.
std::string BrowserFormPage(const BrowserForm& form, const std::string& error,
                            FormField invalid = FormField::kNone);

// Where a poem page links to: IRIs (short_address.h), UTF-8.
struct PoemLinks {
  std::string page;                     // the poem's own address, absolute
  std::string swap;                     // relative; a line's number after it asks to swap that line
  std::vector<std::string> pngs, svgs;  // the picture's pages, absolute; at least one
  int width = 0, height = 0;            // the first page's, in pixels
};

// The poem's page, with what a shared link shows (Open Graph and Twitter
// cards naming the poem and its picture), the link to copy, and the picture
// to download. REQUIRES: request.order is set and matches `poem`.
std::string BrowserPoemPage(const CorpusIndex& index, const BrowserRequest& request,
                            const BrowserPoem& poem, const PoemLinks& links);

// A page that says, in Chinese and in the pages' style, what went wrong
// (a missing page, a wrong method), with a way back to the form.
std::string ErrorPage(const std::string& heading, const std::string& message);

}  // namespace miravel::poemd
