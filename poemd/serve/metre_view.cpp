#include "poemd/serve/metre_view.h"

#include <algorithm>
#include <vector>

#include "poemd/compose/line_reading.h"
#include "poemd/serve/html_escape.h"
#include "poemd/verse/poem_rules.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

const char* Mark(LineTones tones, int i) {
  if (tones.CanBeLevel(i)) return tones.CanBeOblique(i) ? "◐" : "○";
  return tones.CanBeOblique(i) ? "●" : "·";
}

std::string Check(bool kept, const std::string& rule) {
  return std::string("<li class=\"") + (kept ? "kept\">✓ " : "broken\">✗ ") + rule + "</li>";
}

// The rules one reading keeps.
std::string Rules(const char* reading, const std::vector<LineReading>& lines,
                  const PoemOrder& order, bool classical, bool repeated_rhyme) {
  std::vector<LineTones> tones;
  std::vector<uint32_t> rhymes;
  for (const LineReading& r : lines) {
    tones.push_back(classical ? r.classical : r.modern);
    rhymes.push_back(classical ? r.pingshui
                               : (r.xinyun == kNoRhymeGroup ? 0 : uint32_t{1} << r.xinyun));
  }
  const PoemRules rules = CheckPoem(tones, rhymes, order.length, order.first_line_rhymes);
  const size_t n = lines.size();
  std::string html = std::string("<ul class=\"rules\" aria-label=\"") + reading + "\">";
  html += Check(rules.rhymes, "押韵：韵脚同属一韵，都是平声");
  html += Check(rules.unrhymed_oblique == rules.unrhymed, "不押韵的句子收仄声");
  html += Check(rules.keeps_links, "粘对");
  html += Check(static_cast<size_t>(rules.lines_in_line) == n,
                order.length == 7 ? "二四六分明" : "二四分明");
  html += Check(rules.lonely_level == 0, "无孤平");
  html += Check(rules.three_level_tail == 0, "无三平尾");
  html += Check(!repeated_rhyme, "无重韵");
  return html + "</ul>";
}

}  // namespace

std::string MetreView(const CorpusIndex& index, const PoemOrder& order, const Poem& poem) {
  std::vector<LineReading> lines;
  std::vector<char16_t> rhyme_characters;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    lines.push_back(ReadingOfComposed(index, order.length, poem.lines[i], order.PositionAt(i)));
    if (IsRhymingLine(i, order.first_line_rhymes)) {
      rhyme_characters.push_back(poem.lines[i].text.back());
    }
  }
  std::sort(rhyme_characters.begin(), rhyme_characters.end());
  const bool repeated_rhyme = std::adjacent_find(rhyme_characters.begin(),
                                                 rhyme_characters.end()) != rhyme_characters.end();
  const bool classical = ReadsClassically(order.book);
  const bool modern = ReadsModern(order.book);

  std::string html =
      "<details class=\"metre\" id=\"metre\"><summary>格律</summary>\n"
      "<p class=\"note\">○ 平声，● 仄声，◐ 可平可仄" +
      std::string(classical ? "（古音入声算仄声）" : "") +
      (classical && modern ? "；每字上为古音（平水韵），下为今音（中华新韵）" : "") +
      "。</p>\n<table class=\"tones\">\n";
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const std::u16string& text = poem.lines[i].text;
    html += "<tr>";
    for (size_t k = 0; k < text.size(); ++k) {
      const int at = static_cast<int>(k);
      html += "<td><span class=\"char\">" + EscapeHtml(Utf16ToUtf8(text.substr(k, 1))) + "</span>";
      if (classical)
        html += "<span class=\"tone\">" + std::string(Mark(lines[i].classical, at)) + "</span>";
      if (modern)
        html += "<span class=\"tone\">" + std::string(Mark(lines[i].modern, at)) + "</span>";
      html += "</td>";
    }
    html += "</tr>\n";
  }
  html += "</table>\n";
  if (classical) html += Rules("古音", lines, order, true, repeated_rhyme);
  if (modern) {
    if (classical) html += "<p class=\"note\">今音：</p>";
    html += Rules("今音", lines, order, false, repeated_rhyme);
  }
  return html + "</details>\n";
}

}  // namespace miravel::poemd
