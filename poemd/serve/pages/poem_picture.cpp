#include "poemd/serve/pages/poem_picture.h"

#include "poemd/compose/poem_pinyin.h"
#include "text/utf.h"

namespace miravel::poemd {

PoemPicture PictureOf(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                      PoemDisplay display) {
  const ShownPoem shown = Show(index, order, poem, display.script);
  PoemPicture picture;
  picture.title = shown.kind + u" · " + shown.hidden;
  picture.colophon = shown.rhyme;
  picture.shapes =
      display.script == Script::kTraditional ? GlyphShapes::kTraditional : GlyphShapes::kSimplified;
  const std::vector<std::vector<ShownSyllable>> readings =
      display.pinyin ? PoemPinyin(index, order, poem) : std::vector<std::vector<ShownSyllable>>();
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    PictureLine& line = picture.lines.emplace_back(
        PictureLine{shown.lines[i], static_cast<size_t>(order.PositionAt(i)), poem.lines[i].made,
                    Utf8ToUtf16(shown.citations[i])});
    if (i >= readings.size()) continue;
    for (const ShownSyllable& syllable : readings[i]) {
      line.readings.emplace_back(syllable.pinyin);
      line.chosen_by_metre.push_back(syllable.metre != Tone::kUnknown);
    }
  }
  return picture;
}

}  // namespace miravel::poemd
