// A line the search may take for one hidden character: a corpus line, or
// a made line (a donor with the hidden character put in), with what the
// scoring terms (terms/term.h) need to know of it and what its line terms
// made of it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "poemd/index/association.h"
#include "poemd/index/subjects.h"

namespace miravel::poemd {

struct LineVectors {
  LineVector cohesion;
  LineVector following;  // Association::Following(cohesion), ready to stand second
  // What its source poem is about (SubjectModel::PoemVector) and what its
  // own characters speak of (SubjectModel::TextVector): a line speaks of its
  // poem's subject as well as of its own five or seven characters.
  SubjectVector subject{};
  SubjectVector words{};
};

// The most line terms a composition weighs (terms/scoring_terms.h).
inline constexpr size_t kMaxLineTerms = 10;

// What each line term made of a candidate, by the term's place among the
// line terms: the sums are the candidate's penalty and prior.
struct LineCosts {
  std::array<int, kMaxLineTerms> penalty{};
  std::array<float, kMaxLineTerms> preference{};
};

struct Candidate {
  uint32_t line = 0;  // the corpus line, or a made line's donor
  uint32_t poem = 0;  // its source poem (the donor's for a made line)
  bool made = false;
  int at = 0;                   // the hidden character's position
  int penalty = 0;              // the rules it breaks (line_rules.h)
  float prior = 0;              // its line terms' preferences, summed
  int partner = -1;             // the next line's candidate that completes a real couplet
  bool middle_partner = false;  // and that couplet is a middle couplet of a 律诗
  char16_t last = 0;            // its rhyme character, when it rhymes
  uint64_t signature = 0;       // its characters but the hidden ones, hashed onto 64 bits
  std::u16string text;
  // Its association vectors (association.h), shared by the candidates of
  // one line in every form tried; owned by the composition
  // (candidate_maker.h).
  const LineVectors* vectors = nullptr;
  LineCosts costs;

  const LineVector& vector() const { return vectors->cohesion; }
  const LineVector& following() const { return vectors->following; }
  const SubjectVector& subject() const { return vectors->subject; }
  const SubjectVector& words() const { return vectors->words; }
};

// The bit a character sets in a signature.
inline uint64_t SignatureBit(char16_t c) {
  return uint64_t{1} << ((uint32_t{c} * 0x9E3779B1u) >> 26);
}

}  // namespace miravel::poemd
