#include "poemd/measure/poem_measures.h"

#include <algorithm>
#include <set>

#include "poemd/compose/line_reading.h"

namespace miravel::poemd {
namespace {

ReadingFacts ExamineReading(const std::vector<ReadLineFacts>& lines, const PoemOrder& order,
                            bool classical) {
  std::vector<LineTones> tones;
  std::vector<uint32_t> rhymes;
  for (const ReadLineFacts& line : lines) {
    const LineReading& r = line.reading;
    tones.push_back(classical ? r.classical : r.modern);
    rhymes.push_back(classical ? r.pingshui
                               : (r.xinyun == kNoRhymeGroup ? 0 : uint32_t{1} << r.xinyun));
  }
  return CheckPoem(tones, rhymes, order.length, order.first_line_rhymes);
}

}  // namespace

LineReader::LineReader(const CorpusIndex& index, int length) : index_(index), length_(length) {
  for (uint32_t line = 0; line < index.LineCount(length); ++line) {
    lines_.emplace(index.Text(length, line), line);
  }
}

ReadLineFacts LineReader::Read(std::u16string_view text) const {
  ReadLineFacts facts;
  facts.text = std::u16string(text);
  if (const auto it = lines_.find(text); it != lines_.end()) {
    const LineTraits& traits = index_.Traits(length_, it->second);
    facts.reading = ReadingOfLine(index_, length_, it->second);
    facts.rank = traits.rank();
    facts.moods = traits.moods;
    facts.source = traits.source;
    return facts;
  }
  facts.made = true;
  facts.reading = ReadingOfText(index_, text);
  return facts;
}

ReadLineFacts LineReader::Read(const ComposedLine& line, int at) const {
  if (!line.made || !line.has_source) {
    ReadLineFacts facts = Read(line.text);
    facts.made = line.made;
    return facts;
  }
  ReadLineFacts facts;
  facts.text = line.text;
  facts.made = true;
  facts.rank = index_.Traits(length_, line.corpus_line).rank();
  facts.moods = index_.Traits(length_, line.corpus_line).moods;
  facts.reading = ReadingOfComposed(index_, length_, line, at);
  return facts;
}

PoemFacts Examine(const std::vector<ReadLineFacts>& lines, const PoemOrder& order) {
  PoemFacts facts;
  facts.lines = static_cast<int>(lines.size());
  facts.classical = ExamineReading(lines, order, /*classical=*/true);
  facts.modern = ExamineReading(lines, order, /*classical=*/false);
  RhymeGroup group = kNoRhymeGroup;
  bool one_group = true;
  std::vector<char16_t> rhyme_characters;
  for (size_t i = 0; i < lines.size(); ++i) {
    facts.made += lines[i].made;
    facts.drama += lines[i].rank == SourceRank::kDrama && !lines[i].made;
    if (!IsRhymingLine(i, order.first_line_rhymes)) continue;
    if (group == kNoRhymeGroup) group = lines[i].reading.xinyun;
    one_group =
        one_group && lines[i].reading.xinyun != kNoRhymeGroup && lines[i].reading.xinyun == group;
    if (!lines[i].text.empty()) rhyme_characters.push_back(lines[i].text.back());
  }
  facts.rhymes_group = one_group && !lines.empty();
  std::sort(rhyme_characters.begin(), rhyme_characters.end());
  facts.repeated_rhyme = std::adjacent_find(rhyme_characters.begin(), rhyme_characters.end()) !=
                         rhyme_characters.end();

  std::set<char16_t> hidden;
  for (const char16_t c : order.characters) hidden.insert(c);
  for (size_t i = 0; i < lines.size() && !facts.repeats; ++i) {
    for (size_t k = 0; k < lines[i].text.size() && !facts.repeats; ++k) {
      const char16_t c = lines[i].text[k];
      if (static_cast<int>(k) == order.PositionAt(i) || hidden.contains(c)) continue;
      for (size_t j = 0; j < lines.size() && !facts.repeats; ++j) {
        facts.repeats = j != i && lines[j].text.find(c) != std::u16string::npos;
      }
    }
  }
  return facts;
}

}  // namespace miravel::poemd
