#include "poemd/indexing/association_learner.h"

#include <algorithm>

#include "poemd/indexing/pmi_factorisation.h"

namespace miravel::poemd {

struct AssociationLearner::Counts : SquareCounts {
  using SquareCounts::SquareCounts;
};

AssociationLearner::AssociationLearner(const std::vector<char16_t>& by_frequency,
                                       size_t cohesion_rows, size_t parallel_rows)
    : vocabulary_(65536, kNotInVocabulary) {
  cohesion_rows = std::min({cohesion_rows, by_frequency.size(), size_t{kNotInVocabulary}});
  parallel_rows = std::min(parallel_rows, cohesion_rows);
  for (size_t k = 0; k < cohesion_rows; ++k) {
    vocabulary_[by_frequency[k]] = static_cast<uint16_t>(k);
  }
  cohesion_ = std::make_unique<Counts>(cohesion_rows);
  parallel_ = std::make_unique<Counts>(parallel_rows);
}

AssociationLearner::~AssociationLearner() = default;

void AssociationLearner::AddConsecutive(std::u16string_view first, std::u16string_view second) {
  for (char16_t a : first) {
    const uint16_t row_a = vocabulary_[a];
    if (row_a == kNotInVocabulary) continue;
    for (char16_t b : second) {
      const uint16_t row_b = vocabulary_[b];
      if (row_b != kNotInVocabulary) cohesion_->AddBoth(row_a, row_b);
    }
  }
}

void AssociationLearner::AddCouplet(std::u16string_view first, std::u16string_view second) {
  const size_t n = std::min(first.size(), second.size());
  for (size_t i = 0; i < n; ++i) {
    const uint16_t a = vocabulary_[first[i]];
    const uint16_t b = vocabulary_[second[i]];
    if (a < parallel_->rows && b < parallel_->rows) parallel_->AddBoth(a, b);
  }
}

LearnedAssociation AssociationLearner::Learn(uint64_t seed) {
  LearnedAssociation learned;
  learned.vocabulary = vocabulary_;
  ToSmoothedPmi(*cohesion_);
  Factorise(*cohesion_, kCohesionDims, seed, &learned.cohesion, &learned.cohesion_signs);
  ToSmoothedPmi(*parallel_);
  Factorise(*parallel_, kParallelDims, seed + 1, &learned.parallel, &learned.parallel_signs);
  cohesion_ = std::make_unique<Counts>(0);
  parallel_ = std::make_unique<Counts>(0);
  return learned;
}

}  // namespace miravel::poemd
