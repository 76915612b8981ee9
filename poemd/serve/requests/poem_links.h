// A poem's own address (short_address.h) with what its query adds, and
// everything its page links to, made from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/http/http_types.h"
#include "poemd/serve/requests/browser_request.h"
#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

struct OwnPoem {
  std::string path;   // from "/", UTF-8
  std::string lines;  // named only when the seed alone does not give the poem
  // The subject it was composed under as the reader chose it; unset when
  // the composer chose.
  std::optional<SubjectId> subject;
  Script script = Script::kSimplified;
  bool pinyin = false;

  // The address of the poem the seed alone gives, in the request's form,
  // subject, script and pinyin. REQUIRES: request.order is set.
  static OwnPoem Seeded(const BrowserRequest& request, uint64_t seed);

  // The address the poem's page settles at: the path, then `lines`,
  // `subject`, `script` (when traditional) and `pinyin` (when shown) in
  // that order.
  std::string Target() const;
  // The picture's `page` (from 0) as "png" or "svg"; "page" follows the
  // page's query only from the second on.
  std::string Picture(std::string_view extension, size_t page) const;
};

// The value of `lines` that names exactly this poem's lines ("12.m34.7"):
// empty when a line has no source to name.
std::string PoemLines(const Poem& poem);

// A poem of the same form and seed about another subject.
struct SubjectLink {
  SubjectId subject = 0;
  std::string href;  // relative
};

// Where a poem page links to: IRIs (UTF-8).
struct PoemLinks {
  std::string page;                     // the poem's own address, absolute
  std::string swap;                     // relative; a line's number after it asks to swap that line
  std::vector<std::string> pngs, svgs;  // the picture's pages, absolute; at least one
  int width = 0, height = 0;            // the first page's, in pixels
  std::string again;                    // another poem of the same form
  std::string edit;                     // the form, filled in as for this poem
  std::string simplified, traditional;  // this poem in either script
  std::string pinyin;                   // this poem with pinyin shown, or without when shown
  std::vector<std::string> sources;     // each line's source poem, whole; empty without one
  std::vector<SubjectLink> subjects;    // one a subject offered, in its order
};

// What goes before the addresses a page shares outside
// ("https://poems.example.org"): `public_url` when there is one, else
// http:// and the name the browser used (its Host, when that is a plain
// host[:port], else localhost).
std::string BaseAddress(const HttpRequest& request, const std::string& public_url);

// What the page of `poem` at `own` links to; `base` as BaseAddress gives
// it, `pages` is how many pages its picture takes and `width`, `height` the
// first's size; `subjects` are the subjects to offer in its stead.
// REQUIRES: request.order is set and `poem` was composed for it.
PoemLinks LinksOf(const OwnPoem& own, const BrowserRequest& request, const Poem& poem,
                  const std::string& base, size_t pages, int width, int height,
                  const std::vector<SubjectId>& subjects = {});

}  // namespace miravel::poemd
