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
std::string Rules(const std::vector<LineReading>& lines, const PoemOrder& order, bool classical,
                  bool repeated_rhyme, Script script) {
  static const PageTemplate rules_template("metre_rules.html");
  std::vector<LineTones> tones;
  std::vector<uint32_t> rhymes;
  for (const LineReading& r : lines) {
    tones.push_back(classical ? r.classical : r.modern);
    rhymes.push_back(classical ? r.pingshui
                               : (r.xinyun == kNoRhymeGroup ? 0 : uint32_t{1} << r.xinyun));
  }
  const PoemRules rules = CheckPoem(tones, rhymes, order.length, order.first_line_rhymes);
  return rules_template.Render(
      PageValues()
          .Flag("classical", classical)
          .Flag("seven", order.length == 7)
          .Flag("rhymes", rules.rhymes)
          .Flag("unrhymed_oblique", rules.unrhymed_oblique == rules.unrhymed)
          .Flag("links", rules.keeps_links)
          .Flag("in_line", static_cast<size_t>(rules.lines_in_line) == lines.size())
          .Flag("lonely_level", rules.lonely_level == 0)
          .Flag("three_level_tail", rules.three_level_tail == 0)
          .Flag("repeats", !repeated_rhyme),
      script);
}

// Each character of each line with its reading, when shown, and its tone
// in the readings shown.
std::string Rows(const std::vector<std::u16string>& shown, const std::vector<LineReading>& lines,
                 const std::vector<std::vector<ShownSyllable>>& readings, bool classical,
                 bool modern, Script script) {
  static const PageTemplate row("metre_row.html");
  static const PageTemplate cell("metre_cell.html");
  std::string html;
  for (size_t i = 0; i < shown.size(); ++i) {
    const std::u16string& text = shown[i];
    std::string cells;
    for (size_t k = 0; k < text.size(); ++k) {
      const int at = static_cast<int>(k);
      const ShownSyllable reading =
          i < readings.size() && k < readings[i].size() ? readings[i][k] : ShownSyllable{};
      cells += cell.Render(PageValues()
                               .Text("character", Utf16ToUtf8(text.substr(k, 1)))
                               .Text("pinyin", std::string(reading.pinyin))
                               .Flag("metre", reading.metre != Tone::kUnknown)
                               .Flag("level", reading.metre == Tone::kLevel)
                               .Flag("oblique", reading.metre == Tone::kOblique)
                               .Text("classical", classical ? Mark(lines[i].classical, at) : "")
                               .Text("modern", modern ? Mark(lines[i].modern, at) : ""),
                           script);
    }
    html += row.Render(PageValues().Html("cells", std::move(cells)), script);
  }
  return html;
}

}  // namespace

std::string MetreView(const CorpusIndex& index, const PoemOrder& order, const Poem& poem,
                      const std::vector<std::u16string>& shown,
                      const std::vector<std::vector<ShownSyllable>>& readings, Script script) {
  static const PageTemplate view("metre_view.html");
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
          .Flag("pinyin", !readings.empty())
          .Html("rows", Rows(shown, lines, readings, classical, modern, script))
          .Html("classical_rules",
                classical ? Rules(lines, order, true, repeated_rhyme, script) : "")
          .Html("modern_rules", modern ? Rules(lines, order, false, repeated_rhyme, script) : ""),
      script);
}

}  // namespace miravel::poemd
