#include "poemd/compose/candidate_lines.h"

#include <algorithm>

#include "poemd/compose/line_reading.h"

namespace miravel::poemd {
namespace {

// Preferences, in units of the association vectors' mean association of
// two consecutive lines (about 0.1 between random lines and real ones).
constexpr float kCohesionWeight = 1.0f;
constexpr float kThemeWeight = 0.25f;
constexpr float kRankBonus[kSourceRanks] = {0.15f, 0.1f, 0.0f, -1.0f};
constexpr float kNoise = 0.05f;  // the spread of the chance that varies poems

// How many corpus lines are found at per hidden character, how many are
// ranked with their vectors, and how many the search weighs.
constexpr size_t kScanned = 256;
constexpr size_t kShortlisted = 48;
constexpr size_t kCandidates = 24;
constexpr size_t kCoupletsTried = 16;
constexpr int kDonorTries = 4000;

template <typename T>
bool Better(const T& a, const T& b) {
  return a.penalty != b.penalty ? a.penalty < b.penalty : a.prior > b.prior;
}

// Orders positions in `list` by Better.
auto ByRules(const std::vector<Candidate>& list) {
  return [&list](uint32_t a, uint32_t b) { return Better(list[a], list[b]); };
}

}  // namespace

CandidateLines::CandidateLines(const CorpusIndex& index, const PoemOrder& order,
                               const ComposeOptions& options, PoemRandom& random)
    : index_(index),
      order_(order),
      options_(options),
      random_(random),
      association_(index.Associations()),
      length_(order.length) {
  const std::u16string hidden = order.Hidden();
  hidden_.assign(hidden.begin(), hidden.end());
  std::sort(hidden_.begin(), hidden_.end());
  for (size_t i = 0; i < order.characters.size(); ++i) found_.push_back(FindLines(i));
}

bool CandidateLines::IsHidden(char16_t c) const {
  return std::binary_search(hidden_.begin(), hidden_.end(), c);
}

bool CandidateLines::Refused(size_t i, uint32_t line) const {
  if (i >= options_.refused.size()) return false;
  const auto& refused = options_.refused[i];
  return std::find(refused.begin(), refused.end(), line) != refused.end();
}

std::optional<KeptLine> CandidateLines::KeptLineAt(size_t i) const {
  if (i >= options_.kept.size() || !options_.kept[i]) return std::nullopt;
  const KeptLine kept = *options_.kept[i];
  if (kept.line >= index_.LineCount(length_)) return std::nullopt;
  if (kept.made) {
    // A line is made only where the corpus has none: an address asking for
    // one beside real lines was not made by this index.
    if (!index_.LinesWith(HiddenAt(i), length_, AtLine(i)).empty()) return std::nullopt;
  } else if (index_.Text(length_, kept.line)[AtLine(i)] != HiddenAt(i)) {
    return std::nullopt;
  }
  return kept;
}

std::vector<CandidateLines::CorpusLine> CandidateLines::FindLines(size_t i) {
  std::vector<CorpusLine> out;
  if (const std::optional<KeptLine> kept = KeptLineAt(i); kept && !kept->made) {
    out.push_back({kept->line, index_.Traits(length_, kept->line)});
    return out;
  }
  std::span<const uint32_t> lines = index_.LinesWith(HiddenAt(i), length_, AtLine(i));
  // Postings list each character's lines by source rank: drama last.
  const auto first_drama = std::partition_point(lines.begin(), lines.end(), [&](uint32_t line) {
    return index_.Traits(length_, line).rank() != SourceRank::kDrama;
  });
  if (first_drama != lines.begin()) lines = lines.first(first_drama - lines.begin());
  const size_t count = std::min(lines.size(), kScanned);
  const size_t start = lines.size() > count ? random_.Below(lines.size()) : 0;
  out.reserve(count);
  for (size_t k = 0; k < count; ++k) {
    const uint32_t line = lines[(start + k) % lines.size()];
    if (!Refused(i, line)) out.push_back({line, index_.Traits(length_, line)});
  }
  return out;
}

FormChoice CandidateLines::Choice() const {
  FormChoice choice;
  choice.length = length_;
  choice.first_line_rhymes = order_.first_line_rhymes;
  choice.book = order_.book;
  for (size_t i = 0; i < found_.size(); ++i) {
    std::vector<LineReading> readings;
    readings.reserve(found_[i].size());
    for (const CorpusLine& l : found_[i]) readings.push_back(ReadingOf(l.traits));
    choice.lines.push_back(std::move(readings));
    std::optional<LineReading> tail;
    if (AtLine(i) == length_ - 1) tail = WithHiddenCharacter(LineReading{}, i);
    choice.tails.push_back(tail);
  }
  choice.rhyme = options_.rhyme;
  choice.opening = options_.opening;
  return choice;
}

float CandidateLines::BasePrior(const LineTraits& traits) {
  return kRankBonus[static_cast<int>(traits.rank())] + kNoise * random_.Unit();
}

LineReading CandidateLines::WithHiddenCharacter(LineReading donor, size_t i) const {
  return WithCharacter(donor, index_, HiddenAt(i), AtLine(i), length_);
}

void CandidateLines::AddVectorsAndPrior(Candidate& c, float base_prior,
                                        const LineVector& theme) const {
  c.vector = association_.Vector(c.text);
  c.parallel = association_.Rows(c.text);
  c.prior = base_prior + kThemeWeight * Association::Dot(c.vector, theme);
  c.last = c.text.back();
  for (int k = 0; k < length_; ++k) {
    if (k != c.at && !IsHidden(c.text[k])) c.signature |= SignatureBit(c.text[k]);
  }
}

std::vector<Candidate> CandidateLines::Shortlist(size_t i, const LineRules& rules,
                                                 const LineVector& theme) {
  const std::vector<CorpusLine>& found = found_[i];
  if (const std::optional<KeptLine> kept = KeptLineAt(i); kept && kept->made) {
    return {MadeCandidate(i, kept->line, 0, 0, theme)};
  }
  if (found.empty()) return MadeCandidates(i, rules, theme);
  struct Ranked {
    int penalty;
    float prior;
    uint32_t at;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(found.size());
  for (size_t k = 0; k < found.size(); ++k) {
    ranked.push_back({rules.Penalty(i, ReadingOf(found[k].traits)), BasePrior(found[k].traits),
                      static_cast<uint32_t>(k)});
  }
  const size_t shortlisted = std::min(ranked.size(), kShortlisted);
  std::nth_element(ranked.begin(), ranked.begin() + (shortlisted - 1), ranked.end(),
                   Better<Ranked>);
  std::vector<Candidate> out;
  out.reserve(shortlisted);
  for (size_t k = 0; k < shortlisted; ++k) {
    out.push_back(
        CorpusCandidate(i, found[ranked[k].at].line, ranked[k].penalty, ranked[k].prior, theme));
  }
  // A character hidden more often than the corpus has lines for it.
  const auto wanted = static_cast<size_t>(std::count(hidden_.begin(), hidden_.end(), HiddenAt(i)));
  if (out.size() < wanted) {
    std::vector<Candidate> made = MadeCandidates(i, rules, theme);
    std::move(made.begin(), made.end(), std::back_inserter(out));
  }
  return out;
}

// Corpus line `line` as a candidate for line i.
Candidate CandidateLines::CorpusCandidate(size_t i, uint32_t line, int penalty, float prior,
                                          const LineVector& theme) const {
  Candidate c;
  c.line = line;
  c.at = AtLine(i);
  c.text = std::u16string(index_.Text(length_, line));
  c.penalty = penalty;
  AddVectorsAndPrior(c, prior, theme);
  return c;
}

// A corpus line with line i's hidden character put in at its position.
Candidate CandidateLines::MadeCandidate(size_t i, uint32_t donor, int penalty, float prior,
                                        const LineVector& theme) {
  Candidate c;
  c.line = donor;
  c.made = true;
  c.at = AtLine(i);
  c.text = std::u16string(index_.Text(length_, donor));
  c.text[c.at] = HiddenAt(i);
  c.penalty = kMadePenalty + penalty;
  AddVectorsAndPrior(c, prior, theme);
  return c;
}

std::vector<Candidate> CandidateLines::MadeCandidates(size_t i, const LineRules& rules,
                                                      const LineVector& theme) {
  std::vector<Candidate> out;
  const size_t count = index_.LineCount(length_);
  const char16_t hidden = HiddenAt(i);
  const int at = AtLine(i);
  if (count == 0) {
    Candidate c;
    c.text.assign(length_, u'\u3000');
    c.text[at] = hidden;
    c.made = true;
    c.at = at;
    c.penalty = kMadePenalty;
    out.push_back(c);
    return out;
  }
  // Donors whose character at the place reads as the hidden one does, in
  // the book's first reading.
  const bool classical = ReadsClassically(order_.book);
  const ClassicalReading hidden_classical = index_.ClassicalReadingOf(hidden);
  const Reading hidden_modern = index_.ReadingOf(hidden);
  const bool want_level = classical ? hidden_classical.level : hidden_modern.tone == Tone::kLevel;
  const bool want_oblique =
      classical ? hidden_classical.oblique : hidden_modern.tone == Tone::kOblique;
  for (int attempt = 0; attempt < kDonorTries && out.size() < kCandidates; ++attempt) {
    const auto line = static_cast<uint32_t>(random_.Below(count));
    const LineTraits& traits = index_.Traits(length_, line);
    const LineTones donor_tones = classical ? traits.classical : traits.modern;
    const bool fits = (want_level && donor_tones.CanBeLevel(at)) ||
                      (want_oblique && donor_tones.CanBeOblique(at)) ||
                      (!want_level && !want_oblique);
    if (!fits) continue;
    if (!traits.plain() || traits.rank() == SourceRank::kDrama) continue;
    const int penalty = rules.Penalty(i, WithHiddenCharacter(ReadingOf(traits), i));
    // Donors that keep every rule first; the rest only to fill up.
    if (penalty != 0 && attempt < kDonorTries / 2) continue;
    out.push_back(MadeCandidate(i, line, penalty, BasePrior(traits), theme));
  }
  if (out.empty()) {
    out.push_back(MadeCandidate(i, static_cast<uint32_t>(random_.Below(count)),
                                3 * kPrimaryRhymeUnit, 0, theme));
  }
  return out;
}

// Each line keeps the candidates that go best with the likeliest candidates
// of the lines either side (their mean vector).
void CandidateLines::NarrowByNeighbours(std::vector<std::vector<Candidate>>& lists) const {
  const size_t n = lists.size();
  std::vector<std::vector<uint32_t>> orders(n);
  std::vector<LineVector> centre(n);
  for (size_t i = 0; i < n; ++i) {
    const std::vector<Candidate>& list = lists[i];
    std::vector<uint32_t>& order = orders[i];
    order.resize(list.size());
    for (uint32_t k = 0; k < order.size(); ++k) order[k] = k;
    const size_t likeliest = std::min(order.size(), kCandidates);
    std::partial_sort(order.begin(), order.begin() + likeliest, order.end(), ByRules(list));
    size_t counted = 0;
    for (size_t k = 0; k < likeliest && list[order[k]].penalty == list[order[0]].penalty; ++k) {
      for (int d = 0; d < kCohesionDims; ++d) centre[i][d] += list[order[k]].vector[d];
      ++counted;
    }
    for (float& x : centre[i]) x /= static_cast<float>(std::max<size_t>(counted, 1));
  }
  for (size_t i = 0; i < n; ++i) {
    LineVector around{};
    for (const size_t j : {i - 1, i + 1}) {
      if (j >= n) continue;  // i - 1 wraps around below 0
      for (int d = 0; d < kCohesionDims; ++d) around[d] += centre[j][d];
    }
    const LineVector target = association_.Following(around);
    std::vector<Candidate>& list = lists[i];
    for (Candidate& c : list) c.prior += kCohesionWeight * Association::Dot(c.vector, target);
    std::vector<uint32_t>& order = orders[i];
    const size_t kept = std::min(list.size(), kCandidates);
    std::partial_sort(order.begin(), order.begin() + kept, order.end(), ByRules(list));
    std::vector<Candidate> best;
    best.reserve(kept + 2 * kCoupletsTried);
    for (size_t k = 0; k < kept; ++k) best.push_back(std::move(list[order[k]]));
    list = std::move(best);
  }
}

// Couplets join only when both lines keep as many rules as the best
// candidates of their lines: a couplet is a preference, never a reason to
// break a rule.
void CandidateLines::AddCouplets(std::vector<std::vector<Candidate>>& lists, const LineRules& rules,
                                 const LineVector& theme) {
  const auto penalty = [&](size_t i, uint32_t line) {
    return rules.Penalty(i, ReadingOf(index_.Traits(length_, line)));
  };
  const auto include = [&](size_t i, uint32_t line) {
    std::vector<Candidate>& list = lists[i];
    for (size_t k = 0; k < list.size(); ++k) {
      if (!list[k].made && list[k].line == line) return static_cast<int>(k);
    }
    list.push_back(
        CorpusCandidate(i, line, penalty(i, line), BasePrior(index_.Traits(length_, line)), theme));
    return static_cast<int>(list.size() - 1);
  };
  for (size_t i = 0; i + 1 < lists.size(); i += 2) {
    if (KeptLineAt(i) || KeptLineAt(i + 1) || AtLine(i) != AtLine(i + 1)) continue;
    const std::span<const uint32_t> couplets =
        index_.CoupletsWith(HiddenAt(i), HiddenAt(i + 1), length_, AtLine(i));
    if (couplets.empty()) continue;
    const int best_first = lists[i].front().penalty;
    const int best_second = lists[i + 1].front().penalty;
    const size_t start = random_.Below(couplets.size());
    for (size_t k = 0; k < std::min(couplets.size(), kCoupletsTried); ++k) {
      const Couplet couplet = index_.CoupletAt(length_, couplets[(start + k) % couplets.size()]);
      if (Refused(i, couplet.first) || Refused(i + 1, couplet.second) ||
          penalty(i, couplet.first) > best_first || penalty(i + 1, couplet.second) > best_second) {
        continue;
      }
      const int first = include(i, couplet.first);
      lists[i][first].partner = include(i + 1, couplet.second);
    }
  }
}

std::vector<std::vector<Candidate>> CandidateLines::Build(const PoemForm& form) {
  const LineRules rules(length_, order_.first_line_rhymes, order_.book, form.rhyme, form.opening);
  std::u16string words = options_.theme;
  if (words.empty()) words.assign(hidden_.begin(), hidden_.end());
  const LineVector theme = association_.Following(association_.Vector(words));
  std::vector<std::vector<Candidate>> lists;
  for (size_t i = 0; i < found_.size(); ++i) lists.push_back(Shortlist(i, rules, theme));
  NarrowByNeighbours(lists);
  AddCouplets(lists, rules, theme);
  return lists;
}

}  // namespace miravel::poemd
