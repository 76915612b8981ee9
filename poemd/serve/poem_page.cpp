#include "poemd/serve/poem_page.h"

#include "poemd/serve/citation.h"
#include "poemd/serve/html_escape.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

// Page texts are written in UTF-8 here and sent as GBK.
std::string Gbk(std::string_view utf8) { return Utf16ToGbk(Utf8ToUtf16(utf8)); }

const char* const kStyle =
    "<style>body{font-family:'Noto Serif CJK SC',SimSun,serif;background:#fbf7ef;color:#222;"
    "margin:0}main{max-width:36em;margin:2em auto;padding:0 1em}h1{font-size:1.4em;"
    "font-weight:normal;letter-spacing:.2em}ul.poem{list-style:none;padding:0;font-size:1.8em;"
    "letter-spacing:.15em;line-height:1.6;text-align:center}table.sources{margin:1.5em auto;"
    "color:#666;font-size:.9em;border-collapse:collapse}table.sources td{padding:.15em .8em}"
    ".made{color:#b22222}form p{margin:.6em 0}label{display:inline-block;width:6em}"
    "input,select,button{font-size:1em}a{color:#b22222}</style>";

std::string Head(const std::string& title_gbk) {
  return "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"gbk\">"
         "<meta name=\"viewport\" content=\"width=device-width\"><title>" +
         title_gbk + "</title>" + kStyle + "</head>\n<body><main>\n";
}

}  // namespace

std::string RefusalPage(const std::string& why) {
  return Head(Gbk("不能作诗 · Miravel")) + "<h1>" + Gbk("不能作诗") + "</h1>\n<p>" +
         Gbk(EscapeHtml(why)) + "</p>\n<p><a href=\"/\">" + Gbk("重新输入") +
         "</a></p>\n</main></body></html>\n";
}

std::string PoemPage(const CorpusIndex& index, const PoemOrder& order, const Poem& poem) {
  std::string hidden;
  for (const HiddenCharacter& c : order.characters) hidden += c.gbk;
  std::string page = Head(Gbk(order.PoemKind()) + Gbk(" · ") + EscapeHtml(hidden));
  page += "<h1>" + EscapeHtml(hidden) + "</h1>\n<p class=\"form\">" +
          (order.length == 5 ? Gbk("五言") : Gbk("七言")) + Gbk(" · ") + Gbk(order.ModeTitle()) +
          Gbk(" · ") + (order.first_line_rhymes ? Gbk("首句入韵") : Gbk("双句押韵")) +
          "</p>\n<p class=\"rhyme\">" +
          Gbk(RhymeTitle(poem.book, poem.rhyme.pingshui, poem.rhyme.xinyun)) +
          "</p>\n<ul class=\"poem\">\n";
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const int at = order.PositionAt(i);
    const std::u16string& text = poem.lines[i].text;
    page += "<li>" + Utf16ToGbk(std::u16string_view(text).substr(0, at)) +
            "<font style=\"color:red\">" + EscapeHtml(order.characters[i].gbk) + "</font>" +
            Utf16ToGbk(std::u16string_view(text).substr(at + 1)) + "</li>\n";
  }
  page += "</ul>\n<table class=\"sources\">\n";
  for (const ComposedLine& line : poem.lines) {
    page += "<tr><td>";
    if (line.has_source) {
      page += Utf16ToGbk(index.Text(order.length, line.corpus_line)) + "</td><td>" +
              Gbk(EscapeHtml(Citation(index.Source(order.length, line.corpus_line))));
    } else {
      page += "</td><td>";
    }
    if (line.made) page += " <span class=\"made\">" + Gbk("（改字）") + "</span>";
    page += "</td></tr>\n";
  }
  page += "</table>\n<p><a href=\"/\">" + Gbk("再作一首") + "</a></p>\n</main></body></html>\n";
  return page;
}

}  // namespace miravel::poemd
