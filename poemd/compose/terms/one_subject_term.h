// Poem term "one subject": every line close to what the poem as a whole is
// about, not to its neighbour: the closeness of a line's source poem to
// the centre of the subject and of all the lines before it (their poems'
// vectors summed), times Weights::one_subject. What a line speaks of is its
// poem's subject plus Weights::line_words times what its own characters
// speak of, less the characters the lines before it hold: repeating the
// subject's words gains nothing. Real quatrains hold one subject across all
// four lines (lines 1-3, 2-4 and 1-4 are as close as neighbours) while line
// 3 turns (起承转合): lines 2 and 3 are the least alike pair. The turning
// line (the third of a quatrain, the fifth and sixth, 颈联, of an eight-line
// poem) keeps Weights::turn of the term; the turn term (turn_term.h) makes
// the turn.
//
// The weights were set together, by measure's line pairs on an index built
// with --measure-split, 100 requests a mode in the book both, far pairs
// (1-3, 2-4, 1-4) on a scale from random lines (0) to held-out real
// quatrains (1). Poem subject alone (line_words 0), cohesion 2, no turn
// term: five-character head 1.37/0.65/0.93, lines 2-3 .101 close where
// real quatrains' are .055. With line_words 3, subject 0.5, cohesion 1,
// turn 1 and turn_apart 1.3: far pairs 2.08/1.06/1.77 (five head),
// 2.50/1.15/1.94 (five middle), 2.29/0.98/1.64 (seven head), 2.71/1.31/2.18
// (seven middle); lines 2-3 .073/.070/.048/.066 (real .055/.054/.048/.048).
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <string>

#include "poemd/compose/poem.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/subjects.h"

namespace miravel::poemd {

// Whether line i of a poem of `lines` lines is where the poem turns.
inline bool IsTurn(size_t i, size_t lines) {
  return (lines == 4 && i == 2) || (lines == 8 && (i == 4 || i == 5));
}

// What a line speaks of: its poem's subject and its own characters, the
// latter weighed by `words_weight` (Weights::line_words), of length 1.
inline SubjectVector SpokenOf(const SubjectVector& poem, const SubjectVector& words,
                              float words_weight) {
  SubjectVector blend;
  float norm = 0;
  for (int k = 0; k < kSubjectDims; ++k) {
    blend[k] = poem[k] + words_weight * words[k];
    norm += blend[k] * blend[k];
  }
  const float scale = norm > 0 ? 1.0f / std::sqrt(norm) : 0.0f;
  for (float& x : blend) x *= scale;
  return blend;
}

class OneSubjectTerm final : public PoemTermOf<OneSubjectTerm> {
 public:
  // `subjects` must outlive the term; without a subject the centre is the
  // lines' alone.
  OneSubjectTerm(const Weights& weights, const SubjectModel& subjects, SubjectId subject)
      : weights_(weights), subjects_(subjects), subject_(subject) {}
  std::string_view Name() const override { return "one subject"; }
  size_t StateBytes(size_t) const override { return sizeof(Centre); }
  void Start(std::byte* state, size_t lines) const override {
    Centre& centre = *new (state) Centre{};
    centre.lines = static_cast<uint32_t>(lines);
    if (subject_ == kNoSubject) return;
    const auto subject = subjects_.Centre(subject_);
    std::copy(subject.begin(), subject.end(), centre.sum.begin());
    centre.counted = 1;
    centre.Normalise();
  }
  Cost WeighOne(size_t i, const Candidate& c, const std::byte* state) const {
    const Centre& centre = *reinterpret_cast<const Centre*>(state);
    if (centre.counted == 0) return {};
    // What the line says beyond the characters the lines before it hold:
    // repeating the subject's words is no way to keep to it.
    std::u16string fresh;
    for (const char16_t ch : c.text) {
      if (!centre.Holds(ch)) fresh += ch;
    }
    const SubjectVector words =
        fresh.size() == c.text.size() ? c.words() : subjects_.TextVector(fresh);
    const float closeness = SubjectModel::Closeness(Blend(c.subject(), words), centre.unit);
    const float weight = weights_.one_subject * (IsTurn(i, centre.lines) ? weights_.turn : 1.0f);
    return {0, weight * closeness};
  }
  void Advance(size_t, const Candidate& c, std::byte* state) const override {
    Centre& centre = *reinterpret_cast<Centre*>(state);
    const SubjectVector blend = Blend(c.subject(), c.words());
    for (int k = 0; k < kSubjectDims; ++k) centre.sum[k] += blend[k];
    ++centre.counted;
    for (const char16_t ch : c.text) centre.Hold(ch);
    centre.Normalise();
  }

 private:
  SubjectVector Blend(const SubjectVector& poem, const SubjectVector& words) const {
    return SpokenOf(poem, words, weights_.line_words);
  }

  struct Centre {
    SubjectVector sum{};   // the subject's centre and the lines' poems' vectors
    SubjectVector unit{};  // `sum` of length 1
    uint32_t counted = 0;
    uint32_t lines = 0;  // in the poem
    // The characters of the lines so far, as many as kHeld (a 律诗's).
    static constexpr size_t kHeld = 56;
    std::array<char16_t, kHeld> held{};
    uint32_t holding = 0;
    uint64_t signature = 0;

    bool Holds(char16_t ch) const {
      return (signature & SignatureBit(ch)) != 0 &&
             std::find(held.begin(), held.begin() + holding, ch) != held.begin() + holding;
    }
    void Hold(char16_t ch) {
      if (Holds(ch) || holding == kHeld) return;
      held[holding++] = ch;
      signature |= SignatureBit(ch);
    }

    void Normalise() {
      float norm = 0;
      for (const float x : sum) norm += x * x;
      const float scale = norm > 0 ? 1.0f / std::sqrt(norm) : 0.0f;
      for (int k = 0; k < kSubjectDims; ++k) unit[k] = sum[k] * scale;
    }
  };

  const Weights& weights_;
  const SubjectModel& subjects_;
  SubjectId subject_;
};

}  // namespace miravel::poemd
