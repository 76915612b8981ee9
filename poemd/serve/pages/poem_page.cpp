#include "poemd/serve/pages/poem_page.h"

#include "poemd/serve/pages/browser_page.h"
#include "poemd/serve/pages/metre_view.h"
#include "poemd/serve/pages/page_files.h"
#include "poemd/serve/requests/iri.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

// The poem's lines as shown, each with its swap link.
std::string Lines(const PoemOrder& order, const Poem& poem, const ShownPoem& shown,
                  const PoemLinks& links) {
  static const HtmlTemplate& line_template = PageTemplate("poem_line.html");
  std::string lines;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const auto at = static_cast<size_t>(order.PositionAt(i));
    const std::u16string_view text(shown.lines[i]);
    lines += line_template.Render(PageValues()
                                      .Text("before", Utf16ToUtf8(text.substr(0, at)))
                                      .Text("hidden", Utf16ToUtf8(text.substr(at, 1)))
                                      .Text("after", Utf16ToUtf8(text.substr(at + 1)))
                                      .Flag("made", poem.lines[i].made)
                                      .Text("swap", EncodeIri(links.swap + std::to_string(i)))
                                      .Text("number", std::to_string(i + 1)));
  }
  return lines;
}

// The poem as one text, for previews: 春风……，风引……。
std::string Said(const ShownPoem& shown) {
  static constexpr std::string_view kComma = "，";
  static constexpr std::string_view kStop = "。";
  std::string said;
  for (size_t i = 0; i < shown.lines.size(); ++i) {
    said += Utf16ToUtf8(shown.lines[i]);
    said += i % 2 == 0 ? kComma : kStop;
  }
  if (said.ends_with(kComma)) said.replace(said.size() - kComma.size(), kComma.size(), kStop);
  return said;
}

std::string Downloads(const ShownPoem& shown, const PoemLinks& links) {
  static const HtmlTemplate& download = PageTemplate("poem_download.html");
  // Named by the poem as shown: its kind and its first twenty hidden characters.
  const std::string file =
      Utf16ToUtf8(shown.kind) + "-" + Utf16ToUtf8(std::u16string_view(shown.hidden).substr(0, 20));
  const size_t pages = links.pngs.size();
  std::string html;
  for (size_t page = 0; page < pages; ++page) {
    const std::string number = std::to_string(page + 1);
    html += download.Render(PageValues()
                                .Text("which", pages == 1 ? "" : "第 " + number + " 页")
                                .Text("number", number)
                                .Text("png", EncodeIri(links.pngs[page]))
                                .Text("svg", EncodeIri(links.svgs[page]))
                                .Text("file", pages == 1 ? file : file + "-" + number));
  }
  return html;
}

// Where each line came from: the line as the corpus has it, its poem, and a
// link to the poem whole.
std::string Sources(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                    const ShownPoem& shown, Script script, const PoemLinks& links) {
  static const HtmlTemplate& source = PageTemplate("poem_source.html");
  std::string html;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const ComposedLine& line = poem.lines[i];
    PageValues values;
    values.Flag("made", line.made);
    if (line.has_source) {
      const std::u16string_view text = script == Script::kTraditional
                                           ? index.Written(order.length, line.corpus_line)
                                           : index.Text(order.length, line.corpus_line);
      values.Text("line", Utf16ToUtf8(text))
          .Text("citation", shown.citations[i])
          .Text("href", i < links.sources.size() ? EncodeIri(links.sources[i]) : "");
    }
    html += source.Render(values);
  }
  return html;
}

// The occasions to choose from, the one asked for chosen.
std::string Occasions(Occasion asked) {
  static const HtmlTemplate& option = PageTemplate("poem_occasion.html");
  std::string html;
  for (int k = 0; k < kOccasions; ++k) {
    const auto occasion = static_cast<Occasion>(k);
    html += option.Render(PageValues()
                              .Text("key", std::string(OccasionKey(occasion)))
                              .Text("name", std::string(OccasionName(occasion)))
                              .Flag("chosen", occasion == asked));
  }
  return html;
}

std::string Head(const std::string& title, const std::string& said, const PoemLinks& links) {
  static const HtmlTemplate& head = PageTemplate("poem_head.html");
  const std::string alt = "竖排的" + title + "：" + said;
  return head.Render(PageValues()
                         .Text("page", EncodeIri(links.page))
                         .Text("title", title)
                         .Text("said", said)
                         .Text("image", EncodeIri(links.pngs.front()))
                         .Text("width", std::to_string(links.width))
                         .Text("height", std::to_string(links.height))
                         .Text("alt", alt));
}

}  // namespace

std::string BrowserPoemPage(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                            const PoemLinks& links, Script script) {
  static const HtmlTemplate& page = PageTemplate("poem_page.html");
  const ShownPoem shown = Show(index, order, poem, script);
  const std::string title = Utf16ToUtf8(shown.kind) + " · " + Utf16ToUtf8(shown.hidden);
  const std::string said = Said(shown);
  const bool traditional = script == Script::kTraditional;
  bool any_made = false;
  for (const ComposedLine& line : poem.lines) any_made = any_made || line.made;
  const std::string body = page.Render(
      PageValues()
          .Text("kind", Utf16ToUtf8(shown.kind))
          .Text("length", order.length == 5 ? "五言" : "七言")
          .Text("scheme", Utf16ToUtf8(InScript(
                              index, order.first_line_rhymes ? u"首句入韵" : u"双句押韵", script)))
          .Text("theme", Utf16ToUtf8(shown.theme))
          .Flag("traditional", traditional)
          .Text("simplified_href", EncodeIri(links.simplified))
          .Text("traditional_href", EncodeIri(links.traditional))
          .Html("lines", Lines(order, poem, shown, links))
          .Text("rhyme", Utf16ToUtf8(shown.rhyme))
          .Text("occasion", std::string(OccasionName(poem.occasion)))
          .Flag("occasion_found", order.occasion == Occasion::kAutomatic)
          .Html("occasions", Occasions(order.occasion))
          .Text("xing", Utf16ToUtf8(order.Hidden()))
          .Text("gender", std::to_string(order.length))
          .Text("num", order.ModeName())
          .Text("limit", order.first_line_rhymes ? "200" : "100")
          .Text("book", std::string(RhymeBookKey(order.book)))
          .Text("theme_query", Utf16ToUtf8(order.theme))
          .Text("script", std::string(ScriptKey(script)))
          .Html("metre", MetreView(index, order, poem, shown.lines))
          .Text("again", EncodeIri(links.again))
          .Text("edit", EncodeIri(links.edit))
          .Text("share_href", EncodeIri(links.page))
          .Text("share", links.page)
          .Html("downloads", Downloads(shown, links))
          .Html("sources", Sources(index, order, poem, shown, script, links))
          .Flag("any_made", any_made));
  return BrowserPage(title, body, Head(title, said, links));
}

}  // namespace miravel::poemd
