// A poem as a page or its picture shows it, in the script the reader asks
// for: simplified characters as the poem was composed, or traditional
// characters as its poets wrote them (each line as its own poem has it; the
// hidden characters as those lines have them; a made line, its donor's
// characters with the hidden one in its commonest traditional form).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

struct ShownPoem {
  std::vector<std::u16string> lines;  // one a line, the hidden character at its place
  std::u16string hidden;              // the hidden characters as the lines show them
  std::u16string kind;                // 藏头诗, or 藏頭詩
  std::u16string theme;
  std::u16string rhyme;  // 平水韵 · 下平七阳, in the script
  // Each line's source as cited (citation.h), in the script; empty when the
  // corpus has no line of the poem's length.
  std::vector<std::string> citations;
};

// REQUIRES: `poem` was composed for `order` from `index`.
ShownPoem Show(const CorpusIndex& index, const PoemOrder& order, const Poem& poem, Script script);

// `simplified` in the script: as it is, or each character in its commonest
// traditional form (for the words around a poem, not its lines).
std::u16string InScript(const CorpusIndex& index, std::u16string_view simplified, Script script);

}  // namespace miravel::poemd
