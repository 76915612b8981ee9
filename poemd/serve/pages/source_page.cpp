#include "poemd/serve/pages/source_page.h"

#include "poemd/serve/pages/browser_page.h"
#include "poemd/serve/pages/page_files.h"
#include "poemd/serve/requests/iri.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

// The poem's paragraphs, the characters [from, to) marked.
std::string Paragraphs(std::u16string_view text, size_t from, size_t to) {
  static const PageTemplate paragraph("source_paragraph.html");
  std::string html;
  size_t begin = 0;
  while (begin <= text.size()) {
    const size_t end = std::min(text.find(u'\n', begin), text.size());
    const std::u16string_view here = text.substr(begin, end - begin);
    PageValues values;
    if (from >= begin && to <= end) {
      values.Text("before", Utf16ToUtf8(here.substr(0, from - begin)))
          .Text("marked", Utf16ToUtf8(here.substr(from - begin, to - from)))
          .Text("after", Utf16ToUtf8(here.substr(to - begin)));
    } else {
      values.Text("before", Utf16ToUtf8(here)).Text("after", "");
    }
    html += paragraph.Render(values);  // no words of its own
    if (end == text.size()) break;
    begin = end + 1;
  }
  return html;
}

}  // namespace

std::string SourcePage(const CorpusIndex& index, int length, uint32_t line, Script script,
                       const SourceLinks& links) {
  static const PageTemplate page("source_page.html");
  static const PageTemplate page_title("source_title.html");
  const LineSource source = index.Source(length, line);
  const bool traditional = script == Script::kTraditional;
  const std::string title = traditional ? source.traditional_title : source.title;
  const std::string author = traditional ? source.traditional_author : source.author;
  const std::u16string text = traditional ? std::u16string(index.Poems().Traditional(source.poem))
                                          : index.Poems().Simplified(source.poem);
  const size_t at = index.WrittenAt(length, line);
  PageValues values;
  values.Text("title", title)
      .Text("dynasty", DynastyName(source.dynasty))
      .Text("author", author)
      .Flag("traditional", traditional)
      .Text("simplified_href", EncodeIri(links.simplified))
      .Text("traditional_href", EncodeIri(links.traditional))
      .Html("paragraphs", Paragraphs(text, at, at + length))
      .Text("back", links.back.empty() ? "" : EncodeIri(links.back));
  return BrowserPage(script, page_title.Render(values, script), page.Render(values, script));
}

}  // namespace miravel::poemd
