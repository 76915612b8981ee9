// The browser's way to a poem: the form's fields in a query (UTF-8), read
// kindly. The desktop client's POST and its plain 400s are not touched by it.
//
// GET /poem?xing=春风&gender=5&num=cangtou&limit=100&book=both&theme=春
//           &occasion=birthday[&script=traditional][&pinyin=1][&subject=N]
//           [&seed=N][&lines=12.m34.7.9][&swap=2][&page=2]
// xing holds the characters to hide: Chinese characters that GBK holds, at
// most kMaxHiddenCharacters; anything else is refused with a message in
// Chinese naming the characters. num also takes dizeng and dijian (diagonal
// hiding); book is pingshui, xinyun or both (verse/rhyme_books.h), the
// service's own when missing; occasion is one of compose/occasion.h's keys,
// "auto" when missing (found from the characters and the theme); script is
// simplified (when missing) or traditional (script.h); pinyin=1 shows each
// character's reading above it; subject asks for a poem about one of the
// index's subjects (index/subjects.h), by its number, where a number the
// index does not know leaves the composer to choose. seed makes the poem
// reproducible; lines names the poem's lines (corpus line numbers, "m"
// before a made line's donor), so that the address brings back exactly that
// poem; swap asks for line N (from 0) to be changed. A poem's own address
// (short_address.h) is the same request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/compose/poem_recompose.h"
#include "poemd/serve/requests/browser_form.h"
#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

struct BrowserRequest {
  BrowserForm form;
  FormField invalid = FormField::kHidden;  // what `order`'s error is about
  // The order when the form is sound, else InvalidArgument saying why in
  // Chinese (UTF-8), to show above the form.
  StatusOr<PoemOrder> order{Status::InvalidArgument("请输入要藏的字。")};
  std::optional<uint64_t> seed;
  std::vector<std::optional<KeptLine>> lines;  // empty when not given
  std::optional<size_t> swap;
  size_t page = 0;  // of the poem's picture, from 0 ("page" counts from 1)
  Script script = Script::kSimplified;
  bool pinyin = false;
  std::optional<SubjectId> subject;

  PoemDisplay Display() const { return {script, pinyin}; }
  // Whether the seed alone gives the poem asked for, without composing it:
  // no line named, no swap asked.
  bool SeededOnly() const { return lines.empty() && !swap; }
  // What to recompose (compose/poem_recompose.h); `fresh_seed` serves when
  // the request names no seed.
  Recomposing Asked(uint64_t fresh_seed) const;
};

// `default_book` serves when the query names no book it knows.
BrowserRequest ParseBrowserQuery(std::string_view query, RhymeBook default_book);

}  // namespace miravel::poemd
