#include "poemd/serve/pages/client_page.h"

#include "poemd/serve/pages/citation.h"
#include "poemd/serve/pages/page_files.h"
#include "poemd/serve/pages/shown_poem.h"
#include "text/utf.h"

namespace miravel::poemd {

std::string ClientRefusalPage(const std::string& why) {
  static const PageTemplate page("client_refusal.html");
  return page.Render(PageValues().Text("title", "不能作诗 · Miravel").Text("why", why));
}

std::string ClientPoemPage(const CorpusIndex& index, const PoemOrder& order, const Poem& poem) {
  static const PageTemplate page("client_poem.html");
  static const PageTemplate line_template("client_line.html");
  static const PageTemplate source_template("client_source.html");
  std::string lines;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const auto at = static_cast<size_t>(order.PositionAt(i));
    const std::u16string_view text(poem.lines[i].text);
    lines += line_template.Render(PageValues()
                                      .Text("before", Utf16ToUtf8(text.substr(0, at)))
                                      .Text("hidden", Utf16ToUtf8(text.substr(at, 1)))
                                      .Text("after", Utf16ToUtf8(text.substr(at + 1))));
  }
  std::string sources;
  for (const ComposedLine& line : poem.lines) {
    PageValues values;
    values.Flag("made", line.made);
    if (line.has_source) {
      values.Text("line", Utf16ToUtf8(index.Text(order.length, line.corpus_line)))
          .Text("citation",
                Citation(index.Source(order.length, line.corpus_line), Script::kSimplified));
    }
    sources += source_template.Render(values);
  }
  const std::string hidden = Utf16ToUtf8(order.Hidden());
  return page.Render(
      PageValues()
          .Text("title", std::string(order.PoemKind()) + " · " + hidden)
          .Text("hidden", hidden)
          .Text("length", order.length == 5 ? "五言" : "七言")
          .Text("mode", order.ModeTitle())
          .Text("scheme", order.first_line_rhymes ? "首句入韵" : "双句押韵")
          .Text("rhyme", RhymeTitle(poem.book, poem.rhyme.pingshui, poem.rhyme.xinyun))
          .Html("lines", std::move(lines))
          .Html("sources", std::move(sources)));
}

}  // namespace miravel::poemd
