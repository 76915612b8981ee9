#include "poemd/serve/pages/metre_view.h"

#include <algorithm>
#include <vector>

#include "poemd/compose/line_reading.h"
#include "poemd/serve/pages/page_files.h"
#include "poemd/verse/poem_rules.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

const char* Mark(LineTones tones, int i) {
  if (tones.CanBeLevel(i)) return tones.CanBeOblique(i) ? "◐" : "○";
  return tones.CanBeOblique(i) ? "●" : "·";
}

// The rules one reading keeps.
std::string Rules(const char* reading, const std::vector<LineReading>& lines,
                  const PoemOrder& order, bool classical, bool repeated_rhyme) {
  static const HtmlTemplate& rules_template = PageTemplate("metre_rules.html");
  static const HtmlTemplate& rule_template = PageTemplate("metre_rule.html");
  std::vector<LineTones> tones;
  std::vector<uint32_t> rhymes;
  for (const LineReading& r : lines) {
    tones.push_back(classical ? r.classical : r.modern);
    rhymes.push_back(classical ? r.pingshui
                               : (r.xinyun == kNoRhymeGroup ? 0 : uint32_t{1} << r.xinyun));
  }
  const PoemRules rules = CheckPoem(tones, rhymes, order.length, order.first_line_rhymes);
  const size_t n = lines.size();
  const std::pair<bool, const char*> checks[] = {
      {rules.rhymes, "押韵：韵脚同属一韵，都是平声"},
      {rules.unrhymed_oblique == rules.unrhymed, "不押韵的句子收仄声"},
      {rules.keeps_links, "粘对"},
      {static_cast<size_t>(rules.lines_in_line) == n,
       order.length == 7 ? "二四六分明" : "二四分明"},
      {rules.lonely_level == 0, "无孤平"},
      {rules.three_level_tail == 0, "无三平尾"},
      {!repeated_rhyme, "无重韵"},
  };
  std::string html;
  for (const auto& [kept, rule] : checks) {
    html += rule_template.Render(PageValues().Flag("kept", kept).Text("rule", rule));
  }
  return rules_template.Render(PageValues().Text("reading", reading).Html("rules", html));
}

// Each character of each line with its tone in the readings shown.
std::string Rows(const std::vector<std::u16string>& shown, const std::vector<LineReading>& lines,
                 bool classical, bool modern) {
  static const HtmlTemplate& row = PageTemplate("metre_row.html");
  static const HtmlTemplate& cell = PageTemplate("metre_cell.html");
  std::string html;
  for (size_t i = 0; i < shown.size(); ++i) {
    const std::u16string& text = shown[i];
    std::string cells;
    for (size_t k = 0; k < text.size(); ++k) {
      const int at = static_cast<int>(k);
      cells += cell.Render(PageValues()
                               .Text("character", Utf16ToUtf8(text.substr(k, 1)))
                               .Text("classical", classical ? Mark(lines[i].classical, at) : "")
                               .Text("modern", modern ? Mark(lines[i].modern, at) : ""));
    }
    html += row.Render(PageValues().Html("cells", std::move(cells)));
  }
  return html;
}

}  // namespace

std::string MetreView(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                      const std::vector<std::u16string>& shown) {
  static const HtmlTemplate& view = PageTemplate("metre_view.html");
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
  return view.Render(
      PageValues()
          .Flag("classical", classical)
          .Flag("both", classical && modern)
          .Html("rows", Rows(shown, lines, classical, modern))
          .Html("classical_rules",
                classical ? Rules("古音", lines, order, true, repeated_rhyme) : "")
          .Html("modern_rules", modern ? Rules("今音", lines, order, false, repeated_rhyme) : ""));
}

}  // namespace miravel::poemd
