// A poem's own address (short_address.h) with what its query adds, and
// everything its page links to, made from it.
#pragma once

#include <cstddef>
#include <string>

#include "poemd/compose/poem_composer.h"
#include "poemd/serve/browser_form.h"
#include "poemd/serve/pages/poem_page.h"
#include "poemd/serve/pages/shown_poem.h"

namespace miravel::poemd {

struct OwnPoem {
  std::string path;   // from "/", UTF-8
  std::string lines;  // named only when the seed alone does not give the poem
  Script script = Script::kSimplified;

  // The address the poem's page settles at: the path, then `lines` and
  // `script` (when traditional) in that order.
  std::string Target() const;
  // The picture's `page` (from 0) as "png" or "svg"; "page" follows the
  // page's query only from the second on.
  std::string Picture(std::string_view extension, size_t page) const;
};

// What the page of `poem` at `own` links to; `base` goes before the
// addresses shared outside ("https://poems.example.org"), `pages` is how
// many pages its picture takes and `width`, `height` the first's size.
// REQUIRES: request.order is set and `poem` was composed for it.
PoemLinks LinksOf(const OwnPoem& own, const BrowserRequest& request, const Poem& poem,
                  const std::string& base, size_t pages, int width, int height);

}  // namespace miravel::poemd
