#include "poemd/serve/pages/poem_picture.h"

#include "text/utf.h"

namespace miravel::poemd {

PoemPicture PictureOf(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                      Script script) {
  const ShownPoem shown = Show(index, order, poem, script);
  PoemPicture picture;
  picture.title = shown.kind + u" · " + shown.hidden;
  picture.colophon = shown.rhyme;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    picture.lines.push_back({shown.lines[i], static_cast<size_t>(order.PositionAt(i)),
                             poem.lines[i].made, Utf8ToUtf16(shown.citations[i])});
  }
  return picture;
}

}  // namespace miravel::poemd
