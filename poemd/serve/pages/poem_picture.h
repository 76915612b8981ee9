// A composed poem as its picture (poemd/picture): the title names the kind
// and the hidden characters (藏头诗 · 春江花月), the colophon the book and
// rhyme, each line's source its poet and poem.
#pragma once

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/picture/picture_layout.h"

namespace miravel::poemd {

PoemPicture PictureOf(const CorpusIndex& index, const PoemOrder& order, const Poem& poem);

}  // namespace miravel::poemd
