#include "poemd/serve/pages/shown_poem.h"

#include "poemd/serve/pages/citation.h"
#include "text/utf.h"

namespace miravel::poemd {

std::u16string InScript(const CorpusIndex& index, std::u16string_view simplified, Script script) {
  if (script == Script::kSimplified) return std::u16string(simplified);
  return index.Poems().ToTraditional(simplified);
}

namespace {

// A line as its poem writes it: the corpus's line, or a made line's donor
// with the hidden character put in.
std::u16string Written(const CorpusIndex& index, int length, const ComposedLine& line, int at) {
  if (!line.has_source) return index.Poems().ToTraditional(line.text);
  std::u16string written(index.Written(length, line.corpus_line));
  if (line.made) written[at] = index.Poems().ToTraditional(line.text.substr(at, 1))[0];
  return written;
}

}  // namespace

ShownPoem Show(const CorpusIndex& index, const PoemOrder& order, const Poem& poem, Script script) {
  ShownPoem shown;
  shown.kind = InScript(index, Utf8ToUtf16(order.PoemKind()), script);
  shown.theme = InScript(index, order.theme, script);
  shown.rhyme = InScript(
      index, Utf8ToUtf16(RhymeTitle(poem.book, poem.rhyme.pingshui, poem.rhyme.xinyun)), script);
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const ComposedLine& line = poem.lines[i];
    const int at = order.PositionAt(i);
    shown.lines.push_back(script == Script::kSimplified ? line.text
                                                        : Written(index, order.length, line, at));
    shown.hidden.push_back(shown.lines.back()[at]);
    shown.citations.push_back(
        line.has_source ? Citation(index.Source(order.length, line.corpus_line), script) : "");
  }
  return shown;
}

}  // namespace miravel::poemd
