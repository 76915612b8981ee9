#include "poemd/compose/corpus_scan.h"

#include <algorithm>

#include "poemd/compose/line_reading.h"

namespace miravel::poemd {

CorpusScan::CorpusScan(const HiddenLines& hidden, const ScoringTerms& terms, PoemRandom& random,
                       SubjectId subject, std::vector<SubjectId> near)
    : hidden_(hidden),
      terms_(terms),
      random_(random),
      subject_(subject),
      near_(std::move(near)),
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
  const size_t factor =
      IsMiddleCouplet(i & ~size_t{1}, hidden_.Count()) ? sizes.middle_scan_factor : 1;
  std::vector<uint32_t> taken;
  if (subject_ != kNoSubject) {
    const auto of_subject = [&](SubjectId subject, size_t count) {
      const SubjectLines found =
          index.LinesWith(hidden_.HiddenAt(i), length, hidden_.AtLine(i), subject);
      // Drama lines come, if at all, with the rest below.
      std::vector<uint32_t> theirs;
      for (int rank = 0; rank < static_cast<int>(SourceRank::kDrama); ++rank) {
        theirs.insert(theirs.end(), found.by_rank[rank].begin(), found.by_rank[rank].end());
      }
      ReadSome(i, theirs, count, taken, out);
    };
    of_subject(subject_, factor * sizes.subject_scanned);
    // The near subjects share their lines: each reads its part.
    if (!near_.empty()) {
      const size_t each = std::max<size_t>(factor * sizes.near_scanned / near_.size(), 1);
      for (const SubjectId other : near_) of_subject(other, each);
    }
  }
  ReadSome(i, lines, factor * sizes.scanned, taken, out);
  return out;
}

void CorpusScan::ReadSome(size_t i, std::span<const uint32_t> lines, size_t count,
                          std::vector<uint32_t>& taken, std::vector<FoundLine>& out) {
  if (lines.empty() || count == 0) return;
  const CorpusIndex& index = hidden_.Index();
  const int length = hidden_.Length();
  count = std::min(lines.size(), count);
  const size_t start = lines.size() > count ? random_.Below(lines.size()) : 0;
  // Each line read is a miss in memory: ask for the lines a few ahead while
  // this one is weighed.
  constexpr size_t kAhead = 8;
  for (size_t k = 0; k < std::min(count, kAhead); ++k) {
    index.Prefetch(length, lines[(start + k) % lines.size()]);
  }
  // Halfway there, the line's traits have come: ask for what the subjects
  // know of its poem.
  constexpr size_t kPoemAhead = kAhead / 2;
  const SubjectModel& subjects = index.Subjects();
  const size_t before = taken.size();
  for (size_t k = 0; k < count; ++k) {
    if (k + kAhead < count) index.Prefetch(length, lines[(start + k + kAhead) % lines.size()]);
    if (k + kPoemAhead < count) {
      subjects.Prefetch(
          index.Traits(length, lines[(start + k + kPoemAhead) % lines.size()]).source);
    }
    const uint32_t line = lines[(start + k) % lines.size()];
    if (hidden_.Refused(i, line) ||
        std::binary_search(taken.begin(), taken.begin() + static_cast<std::ptrdiff_t>(before),
                           line)) {
      continue;
    }
    taken.push_back(line);
    out.push_back(Weighed(i, line));
  }
  std::sort(taken.begin(), taken.end());
}

FoundLine CorpusScan::Weighed(size_t i, uint32_t line) const {
  const CorpusIndex& index = hidden_.Index();
  FoundLine found;
  found.line = line;
  found.traits = index.Traits(hidden_.Length(), line);
  found.reading = ReadingOfLine(index, hidden_.Length(), line);
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
