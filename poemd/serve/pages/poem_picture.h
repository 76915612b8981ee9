// A composed poem as its picture (poemd/picture): the title names the kind
// and the hidden characters (藏头诗 · 春江花月), the colophon the book and
// rhyme, each line's source its poet and poem, all in the script asked for
// and in its glyph shapes; with pinyin, each character's reading beside it.
#pragma once

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/picture/picture_layout.h"
#include "poemd/serve/pages/shown_poem.h"

namespace miravel::poemd {

// REQUIRES: `poem` was composed for `order` from `index`.
PoemPicture PictureOf(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                      PoemDisplay display);

}  // namespace miravel::poemd
