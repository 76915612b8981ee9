// The made lines of CandidateLines (candidate_lines.h): where the corpus
// has no line for a character at its place, or only lines the occasion
// refuses.
#include "poemd/compose/candidate_lines.h"
#include "poemd/compose/line_reading.h"

namespace miravel::poemd {
namespace {

// How many random corpus lines are tried as donors at most.
constexpr int kDonorTries = 4000;

}  // namespace

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
    // A donor that holds the character already is no made line, and a line
    // the reader swapped away must not come back as its own donor.
    if (index_.Text(length_, line)[at] == hidden || Refused(i, line)) continue;
    std::u16string text(index_.Text(length_, line));
    text[at] = hidden;
    const OccasionFit fit = Fit(i, line, text);
    if (fit.refused) continue;
    const int penalty = rules.Penalty(i, WithHiddenCharacter(ReadingOf(traits), i));
    // Donors that keep every rule first; the rest only to fill up.
    if (penalty != 0 && attempt < kDonorTries / 2) continue;
    out.push_back(MadeCandidate(i, line, penalty, BasePrior(traits) + fit.preference, theme));
  }
  if (out.empty()) {
    out.push_back(MadeCandidate(i, static_cast<uint32_t>(random_.Below(count)),
                                3 * kPrimaryRhymeUnit, 0, theme));
  }
  return out;
}

}  // namespace miravel::poemd
