#include "poemd/serve/pages/poem_picture.h"

#include "poemd/serve/pages/citation.h"
#include "text/utf.h"

namespace miravel::poemd {

PoemPicture PictureOf(const CorpusIndex& index, const PoemOrder& order, const Poem& poem) {
  PoemPicture picture;
  picture.title = Utf8ToUtf16(order.PoemKind()) + u" · " + order.Hidden();
  picture.colophon = Utf8ToUtf16(RhymeTitle(poem.book, poem.rhyme.pingshui, poem.rhyme.xinyun));
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const ComposedLine& line = poem.lines[i];
    picture.lines.push_back(
        {line.text, static_cast<size_t>(order.PositionAt(i)), line.made,
         line.has_source ? Utf8ToUtf16(Citation(index.Source(order.length, line.corpus_line)))
                         : u""});
  }
  return picture;
}

}  // namespace miravel::poemd
