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
constexpr size_t kScanned = 192;
constexpr size_t kShortlisted = 40;
// A line of a middle couplet looks this many times further: it needs a
// parallel answer.
constexpr size_t kMiddleScan = 4;

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
      length_(order.length),
      occasion_(Resolve(order.occasion, order.characters, order.theme)),
      templates_{
          LineRules(order.length, order.first_line_rhymes, order.book, {}, Opening::kLevel),
          LineRules(order.length, order.first_line_rhymes, order.book, {}, Opening::kOblique)} {
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
    // A made line's donor lacks the character at its place (else it is no
    // made line). One may stand beside real lines: where the occasion or a
    // swap refused them all.
    if (index_.Text(length_, kept.line)[AtLine(i)] == HiddenAt(i)) return std::nullopt;
  } else if (index_.Text(length_, kept.line)[AtLine(i)] != HiddenAt(i)) {
    return std::nullopt;
  }
  return kept;
}

std::vector<CandidateLines::CorpusLine> CandidateLines::FindLines(size_t i) {
  std::vector<CorpusLine> out;
  if (const std::optional<KeptLine> kept = KeptLineAt(i); kept && !kept->made) {
    out.push_back(Found(i, kept->line));
    return out;
  }
  std::span<const uint32_t> lines = index_.LinesWith(HiddenAt(i), length_, AtLine(i));
  // Postings list each character's lines by source rank: drama last.
  const auto first_drama = std::partition_point(lines.begin(), lines.end(), [&](uint32_t line) {
    return index_.Traits(length_, line).rank() != SourceRank::kDrama;
  });
  if (first_drama != lines.begin()) lines = lines.first(first_drama - lines.begin());
  const size_t scanned =
      IsMiddleCouplet(i & ~size_t{1}, order_.characters.size()) ? kMiddleScan * kScanned : kScanned;
  const size_t count = std::min(lines.size(), scanned);
  const size_t start = lines.size() > count ? random_.Below(lines.size()) : 0;
  out.reserve(count);
  for (size_t k = 0; k < count; ++k) {
    const uint32_t line = lines[(start + k) % lines.size()];
    if (Refused(i, line)) continue;
    out.push_back(Found(i, line));
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
  c.vectors = VectorsOf(c.text);
  FillPrior(c, base_prior, theme);
}

void CandidateLines::FillPrior(Candidate& c, float base_prior, const LineVector& theme) const {
  c.prior = base_prior + kThemeWeight * Association::Dot(c.vector(), theme);
  c.last = c.text.back();
  for (int k = 0; k < length_; ++k) {
    if (k != c.at && !IsHidden(c.text[k])) c.signature |= SignatureBit(c.text[k]);
  }
}

std::vector<Candidate> CandidateLines::Shortlist(size_t i, const LineRules& rules, Opening opening,
                                                 const LineVector& theme) {
  if (rules.IsRhyming(i)) return ShortlistAnew(i, rules, opening, theme);
  unrhymed_shortlists_.resize(found_.size());
  std::optional<std::vector<Candidate>>& kept =
      unrhymed_shortlists_[i][static_cast<size_t>(opening)];
  if (!kept) kept = ShortlistAnew(i, rules, opening, theme);
  return *kept;
}

std::vector<Candidate> CandidateLines::ShortlistAnew(size_t i, const LineRules& rules,
                                                     Opening opening, const LineVector& theme) {
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
  bool any_fits = false;
  for (size_t k = 0; k < found.size(); ++k) {
    any_fits = any_fits || !found[k].fit.refused;
    ranked.push_back(
        {PenaltyOf(i, found[k], rules, opening), found[k].prior, static_cast<uint32_t>(k)});
  }
  const size_t shortlisted = std::min(ranked.size(), kShortlisted);
  std::nth_element(ranked.begin(), ranked.begin() + (shortlisted - 1), ranked.end(),
                   Better<Ranked>);
  std::vector<Candidate> out;
  out.reserve(shortlisted);
  for (size_t k = 0; k < shortlisted; ++k) {
    out.push_back(
        FoundCandidate(i, found[ranked[k].at], ranked[k].penalty, ranked[k].prior, theme));
  }
  // A character hidden more often than the corpus has lines for it, or
  // only in lines the occasion refuses.
  const auto wanted = static_cast<size_t>(std::count(hidden_.begin(), hidden_.end(), HiddenAt(i)));
  if (out.size() < wanted || !any_fits) {
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

std::shared_ptr<const LineVectors> CandidateLines::VectorsOf(std::u16string_view text) const {
  const LineVector vector = association_.Vector(text);
  return std::make_shared<const LineVectors>(LineVectors{vector, association_.Following(vector)});
}

Candidate CandidateLines::FoundCandidate(size_t i, const CorpusLine& found, int penalty,
                                         float prior, const LineVector& theme) const {
  if (!found.vectors) found.vectors = VectorsOf(index_.Text(length_, found.line));
  Candidate c;
  c.line = found.line;
  c.at = AtLine(i);
  c.text = std::u16string(index_.Text(length_, found.line));
  c.penalty = penalty;
  c.vectors = found.vectors;
  FillPrior(c, prior, theme);
  return c;
}

int CandidateLines::PenaltyOf(size_t i, const CorpusLine& line, const LineRules& rules,
                              Opening opening) {
  return rules.EndingPenalty(i, ReadingOf(line.traits)) +
         line.template_penalty[static_cast<int>(opening)] +
         (line.fit.refused ? kIllOmenPenalty : 0);
}

CandidateLines::CorpusLine CandidateLines::Found(size_t i, uint32_t line) {
  CorpusLine found{
      line, index_.Traits(length_, line), Fit(i, line, index_.Text(length_, line)), {0, 0}, 0, {}};
  found.prior = BasePrior(found.traits) + found.fit.preference;
  const LineReading reading = ReadingOf(found.traits);
  for (const int o : {0, 1}) found.template_penalty[o] = templates_[o].TemplatePenalty(i, reading);
  return found;
}

OccasionFit CandidateLines::Fit(size_t i, uint32_t line, std::u16string_view text) const {
  return FitOf(occasion_, index_.Traits(length_, line), text, AtLine(i));
}

LineVector CandidateLines::Theme() const {
  std::u16string words = options_.theme;
  if (words.empty()) words.assign(hidden_.begin(), hidden_.end());
  LineVector theme = association_.Following(association_.Vector(words));
  // The occasion's images count as much as the words themselves.
  std::u16string images;
  for (const MoodClass mood : ImagesOf(occasion_)) images += index_.CharacteristicCharacters(mood);
  if (!images.empty()) {
    const LineVector of_images = association_.Following(association_.Vector(images));
    for (int d = 0; d < kCohesionDims; ++d) theme[d] += of_images[d];
  }
  return theme;
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
      for (int d = 0; d < kCohesionDims; ++d) centre[i][d] += list[order[k]].vector()[d];
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
    for (Candidate& c : list) c.prior += kCohesionWeight * Association::Dot(c.vector(), target);
    std::vector<uint32_t>& order = orders[i];
    const size_t kept = std::min(list.size(), kCandidates);
    std::partial_sort(order.begin(), order.begin() + kept, order.end(), ByRules(list));
    std::vector<Candidate> best;
    best.reserve(kept);
    for (size_t k = 0; k < kept; ++k) best.push_back(std::move(list[order[k]]));
    list = std::move(best);
  }
}

std::vector<std::vector<Candidate>> CandidateLines::Build(const PoemForm& form) {
  const LineRules rules(length_, order_.first_line_rhymes, order_.book, form.rhyme, form.opening);
  if (!theme_known_) {
    theme_ = Theme();
    theme_known_ = true;
  }
  const LineVector& theme = theme_;
  std::vector<std::vector<Candidate>> lists;
  for (size_t i = 0; i < found_.size(); ++i) {
    lists.push_back(Shortlist(i, rules, form.opening, theme));
  }
  NarrowByNeighbours(lists);
  AddCouplets(lists, rules, theme);
  AddParallelPartners(lists, rules, form.opening, theme);
  return lists;
}

}  // namespace miravel::poemd
