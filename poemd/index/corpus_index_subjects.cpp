// The lines of a subject: CorpusIndex numbers its lines by their poems'
// subjects, so that within each rank's run of a posting list a subject's
// lines stand together.
#include <algorithm>

#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

SubjectLines CorpusIndex::LinesWith(char16_t character, int length, int position,
                                    SubjectId subject) const {
  SubjectLines out;
  const std::span<const uint32_t> all = LinesWith(character, length, position);
  const auto [first, end] = SubjectLineRange(subject, length);
  const auto rank_of = [&](uint32_t line) { return static_cast<int>(Traits(length, line).rank()); };
  auto rank_begin = all.begin();
  for (int rank = 0; rank < kSourceRanks; ++rank) {
    const auto rank_end = std::partition_point(
        rank_begin, all.end(), [&](uint32_t line) { return rank_of(line) <= rank; });
    const auto begin = std::lower_bound(rank_begin, rank_end, first);
    const auto stop = std::lower_bound(begin, rank_end, end);
    out.by_rank[rank] =
        all.subspan(static_cast<size_t>(begin - all.begin()), static_cast<size_t>(stop - begin));
    rank_begin = rank_end;
  }
  return out;
}

Status CorpusIndex::CheckSubjectLines(int slot) const {
  const LengthTables& t = slots_[slot];
  const std::string form = std::to_string(kLengths[slot]) + "-character ";
  const size_t n = t.traits.size();
  const auto& starts = t.subject_starts;
  if (starts.size() != subjects_.Count() + 1 || starts.front() != 0 || starts.back() != n ||
      !std::is_sorted(starts.begin(), starts.end())) {
    return Status::Corruption("damaged: " + form + "lines are not whole by subject");
  }
  for (size_t subject = 0; subject + 1 < starts.size(); ++subject) {
    for (uint32_t line = starts[subject]; line < starts[subject + 1]; ++line) {
      if (subjects_.OfPoem(t.traits[line].source) != subject) {
        return Status::Corruption("damaged: " + form + "line stands among another subject's");
      }
    }
  }
  return Status::Ok();
}

}  // namespace miravel::poemd
