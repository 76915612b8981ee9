#include "poemd/serve/pages/poem_page.h"

#include <algorithm>
#include <span>

#include "poemd/compose/poem_pinyin.h"
#include "poemd/markup/html_escape.h"
#include "poemd/serve/pages/browser_page.h"
#include "poemd/serve/pages/metre_view.h"
#include "poemd/serve/pages/page_files.h"
#include "poemd/serve/pages/poem_ruby.h"
#include "poemd/serve/pages/subject_line.h"
#include "poemd/serve/requests/iri.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

using Readings = std::vector<std::vector<ShownSyllable>>;

// The poem's lines as shown, each with its swap link; `readings` one a
// character of each line, or none.
std::string Lines(const PoemOrder& order, const Poem& poem, const ShownPoem& shown,
                  const Readings& readings, const PoemLinks& links, Script script) {
  static const PageTemplate line_template("poem_line.html");
  std::string lines;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const auto at = static_cast<size_t>(order.PositionAt(i));
    const std::u16string_view text(shown.lines[i]);
    // One reading a character shown, or none.
    std::span<const ShownSyllable> read;
    if (i < readings.size() && readings[i].size() == text.size()) read = readings[i];
    const auto part = [&](size_t from, size_t count) {
      count = std::min(count, text.size() - from);
      return RubyText(text.substr(from, count), read.empty() ? read : read.subspan(from, count),
                      script);
    };
    lines += line_template.Render(PageValues()
                                      .Html("before", part(0, at))
                                      .Html("hidden", part(at, 1))
                                      .Html("after", part(at + 1, text.size()))
                                      .Flag("made", poem.lines[i].made)
                                      .Text("swap", EncodeIri(links.swap + std::to_string(i)))
                                      .Text("number", std::to_string(i + 1)),
                                  script);
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

std::string Downloads(const ShownPoem& shown, const PoemLinks& links, PoemDisplay display) {
  static const PageTemplate download("poem_download.html");
  // Named by the poem as shown: its kind and its first twenty hidden
  // characters, and 拼音 (alike in both scripts) when the picture has it.
  const std::string file = Utf16ToUtf8(shown.kind) + "-" +
                           Utf16ToUtf8(std::u16string_view(shown.hidden).substr(0, 20)) +
                           (display.pinyin ? "-拼音" : "");
  const size_t pages = links.pngs.size();
  std::string html;
  for (size_t page = 0; page < pages; ++page) {
    const std::string number = std::to_string(page + 1);
    html += download.Render(PageValues()
                                .Flag("several", pages > 1)
                                .Text("number", number)
                                .Text("png", EncodeIri(links.pngs[page]))
                                .Text("svg", EncodeIri(links.svgs[page]))
                                .Text("file", pages == 1 ? file : file + "-" + number),
                            display.script);
  }
  return html;
}

// Where each line came from: the line as the corpus has it, its poem, and a
// link to the poem whole.
std::string Sources(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                    const ShownPoem& shown, Script script, const PoemLinks& links) {
  static const PageTemplate source("poem_source.html");
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
    html += source.Render(values, script);
  }
  return html;
}

// The occasions to choose from, the one asked for chosen.
std::string Occasions(const CorpusIndex& index, Occasion asked, Script script) {
  static const PageTemplate option("poem_occasion.html");
  std::string html;
  for (int k = 0; k < kOccasions; ++k) {
    const auto occasion = static_cast<Occasion>(k);
    html += option.Render(
        PageValues()
            .Text("key", std::string(OccasionKey(occasion)))
            .Text("name", Utf16ToUtf8(InScript(index, Utf8ToUtf16(OccasionName(occasion)), script)))
            .Flag("chosen", occasion == asked),
        script);
  }
  return html;
}

std::string Head(const std::string& title, const std::string& said, const PoemLinks& links,
                 Script script) {
  static const PageTemplate head("poem_head.html");
  return head.Render(PageValues()
                         .Text("page", EncodeIri(links.page))
                         .Text("title", title)
                         .Text("said", said)
                         .Text("image", EncodeIri(links.pngs.front()))
                         .Text("width", std::to_string(links.width))
                         .Text("height", std::to_string(links.height)),
                     script);
}

bool AnyChosenByMetre(const Readings& readings) {
  for (const std::vector<ShownSyllable>& line : readings) {
    for (const ShownSyllable& syllable : line) {
      if (syllable.metre != Tone::kUnknown) return true;
    }
  }
  return false;
}

}  // namespace

std::string BrowserPoemPage(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                            const PoemLinks& links, PoemDisplay display) {
  static const PageTemplate page("poem_page.html");
  const Script script = display.script;
  const ShownPoem shown = Show(index, order, poem, script);
  const Readings readings = display.pinyin ? PoemPinyin(index, order, poem) : Readings();
  const std::string title = Utf16ToUtf8(shown.kind) + " · " + Utf16ToUtf8(shown.hidden);
  const std::string said = Said(shown);
  bool any_made = false;
  for (const ComposedLine& line : poem.lines) any_made = any_made || line.made;
  const std::string body = page.Render(
      PageValues()
          .Text("kind", Utf16ToUtf8(shown.kind))
          .Flag("seven", order.length == 7)
          .Flag("first_rhymes", order.first_line_rhymes)
          .Text("theme", Utf16ToUtf8(shown.theme))
          .Flag("traditional", script == Script::kTraditional)
          .Flag("pinyin", display.pinyin)
          .Text("simplified_href", EncodeIri(links.simplified))
          .Text("traditional_href", EncodeIri(links.traditional))
          .Text("pinyin_href", EncodeIri(links.pinyin))
          .Html("lines", Lines(order, poem, shown, readings, links, script))
          .Flag("any_metre", AnyChosenByMetre(readings))
          .Html("subject", SubjectLine(index, poem, links, script))
          .Text("rhyme", Utf16ToUtf8(shown.rhyme))
          .Text("occasion",
                Utf16ToUtf8(InScript(index, Utf8ToUtf16(OccasionName(poem.occasion)), script)))
          .Flag("occasion_found", order.occasion == Occasion::kAutomatic)
          .Html("occasions", Occasions(index, order.occasion, script))
          .Text("xing", Utf16ToUtf8(order.Hidden()))
          .Text("gender", std::to_string(order.length))
          .Text("num", order.ModeName())
          .Text("limit", order.first_line_rhymes ? "200" : "100")
          .Text("book", std::string(RhymeBookKey(order.book)))
          .Text("theme_query", Utf16ToUtf8(order.theme))
          .Html("metre", MetreView(index, order, poem, shown.lines, readings, script))
          .Text("again", EncodeIri(links.again))
          .Text("edit", EncodeIri(links.edit))
          .Text("share_href", EncodeIri(links.page))
          .Text("share", links.page)
          .Html("downloads", Downloads(shown, links, display))
          .Html("sources", Sources(index, order, poem, shown, script, links))
          .Flag("any_made", any_made),
      script);
  return BrowserPage(script, EscapeHtml(title), body, Head(title, said, links, script));
}

}  // namespace miravel::poemd
