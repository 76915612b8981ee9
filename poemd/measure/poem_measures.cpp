#include "poemd/measure/poem_measures.h"

#include <algorithm>
#include <set>

#include "poemd/compose/line_rules.h"

namespace miravel::poemd {

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
    facts.tones = {traits.level, traits.oblique};
    facts.rhyme = traits.rhyme;
    facts.rank = traits.rank();
    return facts;
  }
  facts.made = true;
  for (size_t i = 0; i < text.size(); ++i) {
    const Reading r = index_.ReadingOf(text[i]);
    if (r.tone == Tone::kLevel) facts.tones.level |= 1 << i;
    if (r.tone == Tone::kOblique) facts.tones.oblique |= 1 << i;
  }
  if (!text.empty()) facts.rhyme = index_.ReadingOf(text.back()).rhyme;
  return facts;
}

ReadLineFacts LineReader::Read(const ComposedLine& line, int at) const {
  if (!line.made || !line.has_source) {
    ReadLineFacts facts = Read(line.text);
    facts.made = line.made;
    return facts;
  }
  // The donor as the index reads it, with the hidden character read alone.
  const LineTraits& traits = index_.Traits(length_, line.corpus_line);
  ReadLineFacts facts;
  facts.text = line.text;
  facts.made = true;
  facts.rank = traits.rank();
  const Reading hidden = index_.ReadingOf(line.text[at]);
  facts.tones = LineTones{traits.level, traits.oblique}.WithToneAt(at, hidden.tone);
  facts.rhyme = at == length_ - 1 ? hidden.rhyme : traits.rhyme;
  return facts;
}

PoemFacts Examine(const std::vector<ReadLineFacts>& lines, const PoemOrder& order) {
  PoemFacts facts;
  facts.lines = static_cast<int>(lines.size());
  RhymeGroup group = kNoRhymeGroup;
  bool all_level = true;
  bool one_group = true;
  std::vector<LineTones> tones;
  for (size_t i = 0; i < lines.size(); ++i) {
    const ReadLineFacts& line = lines[i];
    tones.push_back(line.tones);
    facts.lines_in_line += KeepsInLine(line.tones, order.length);
    facts.made += line.made;
    facts.drama += line.rank == SourceRank::kDrama && !line.made;
    if (!IsRhymingLine(i, order.first_line_rhymes)) continue;
    if (group == kNoRhymeGroup) group = line.rhyme;
    one_group = one_group && line.rhyme != kNoRhymeGroup && line.rhyme == group;
    all_level = all_level && line.tones.At(order.length - 1) == Tone::kLevel;
  }
  facts.rhymes_group = one_group;
  facts.rhymes = one_group && all_level;
  facts.keeps_links = KeepsLinks(tones);

  std::set<char16_t> hidden;
  for (const HiddenCharacter& c : order.characters) hidden.insert(c.unicode);
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
