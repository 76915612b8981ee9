#include "poemd/compose/corpus_scan.h"

#include <algorithm>

#include "poemd/compose/line_reading.h"

namespace miravel::poemd {

CorpusScan::CorpusScan(const HiddenLines& hidden, const ScoringTerms& terms, PoemRandom& random)
    : hidden_(hidden),
      terms_(terms),
      random_(random),
      templates_{LineRules(hidden.Length(), hidden.Order().first_line_rhymes, hidden.Order().book,
                           {}, Opening::kLevel),
                 LineRules(hidden.Length(), hidden.Order().first_line_rhymes, hidden.Order().book,
                           {}, Opening::kOblique)} {
  for (size_t i = 0; i < hidden.Count(); ++i) found_.push_back(Read(i));
}

std::vector<FoundLine> CorpusScan::Read(size_t i) {
  std::vector<FoundLine> out;
  if (const std::optional<KeptLine> kept = hidden_.KeptAt(i); kept && !kept->made) {
    out.push_back(Weighed(i, kept->line));
    return out;
  }
  const CorpusIndex& index = hidden_.Index();
  const int length = hidden_.Length();
  std::span<const uint32_t> lines = index.LinesWith(hidden_.HiddenAt(i), length, hidden_.AtLine(i));
  // Postings list each character's lines by source rank: drama last.
  const auto first_drama = std::partition_point(lines.begin(), lines.end(), [&](uint32_t line) {
    return index.Traits(length, line).rank() != SourceRank::kDrama;
  });
  if (first_drama != lines.begin()) lines = lines.first(first_drama - lines.begin());
  const ComposeSizes& sizes = hidden_.Options().sizes;
  const size_t scanned = IsMiddleCouplet(i & ~size_t{1}, hidden_.Count())
                             ? sizes.middle_scan_factor * sizes.scanned
                             : sizes.scanned;
  const size_t count = std::min(lines.size(), scanned);
  const size_t start = lines.size() > count ? random_.Below(lines.size()) : 0;
  out.reserve(count);
  // Each line read is a miss in memory: ask for the lines a few ahead while
  // this one is weighed.
  constexpr size_t kAhead = 8;
  for (size_t k = 0; k < std::min(count, kAhead); ++k) {
    index.Prefetch(length, lines[(start + k) % lines.size()]);
  }
  for (size_t k = 0; k < count; ++k) {
    if (k + kAhead < count) index.Prefetch(length, lines[(start + k + kAhead) % lines.size()]);
    const uint32_t line = lines[(start + k) % lines.size()];
    if (hidden_.Refused(i, line)) continue;
    out.push_back(Weighed(i, line));
  }
  return out;
}

FoundLine CorpusScan::Weighed(size_t i, uint32_t line) const {
  const CorpusIndex& index = hidden_.Index();
  FoundLine found;
  found.line = line;
  found.traits = index.Traits(hidden_.Length(), line);
  found.reading = ReadingOf(found.traits);
  LineView view;
  view.i = i;
  view.at = hidden_.AtLine(i);
  view.line = line;
  view.text = index.Text(hidden_.Length(), line);
  view.traits = &found.traits;
  view.reading = &found.reading;
  terms_.WeighLine(LineStage::kFound, view, found.costs, found.penalty, found.prior);
  for (const int o : {0, 1}) {
    found.template_penalties[o] = templates_[o].TemplatePenalty(i, found.reading);
  }
  return found;
}

FormChoice CorpusScan::Choice() const {
  const PoemOrder& order = hidden_.Order();
  FormChoice choice;
  choice.length = hidden_.Length();
  choice.first_line_rhymes = order.first_line_rhymes;
  choice.book = order.book;
  for (size_t i = 0; i < found_.size(); ++i) {
    std::vector<LineReading> readings;
    readings.reserve(found_[i].size());
    for (const FoundLine& l : found_[i]) readings.push_back(l.reading);
    choice.lines.push_back(std::move(readings));
    std::optional<LineReading> tail;
    if (hidden_.AtLine(i) == hidden_.Length() - 1) {
      tail = WithCharacter(LineReading{}, hidden_.Index(), hidden_.HiddenAt(i), hidden_.AtLine(i),
                           hidden_.Length());
    }
    choice.tails.push_back(tail);
  }
  choice.rhyme = hidden_.Options().rhyme;
  choice.opening = hidden_.Options().opening;
  return choice;
}

}  // namespace miravel::poemd
