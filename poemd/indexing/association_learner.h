// Learns the association vectors (association.h) from real poems when the
// index is built.
//
// Counts, over every pair of consecutive lines of one poem, each character
// of the first line with each of the second (both ways); and, over the two
// lines of each real couplet, the characters at one position. Each count
// matrix becomes vectors as pmi_factorisation.h makes them: a smoothed
// pointwise mutual information, factorised by a randomised
// eigendecomposition. Deterministic for a given input and seed.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "poemd/index/association.h"

namespace miravel::poemd {

// The rank of the parallel vectors: characters at one position in the two
// lines of real couplets (山/水, 花/鸟, 红/绿), which group characters into
// classes for the parallel model (parallel_learner.h).
inline constexpr int kParallelDims = 16;

struct LearnedAssociation {
  std::vector<uint16_t> vocabulary;  // 65536 entries
  std::vector<float> cohesion;
  std::vector<float> cohesion_signs;
  std::vector<float> parallel;
  std::vector<float> parallel_signs;

  // What the index keeps; the parallel vectors only group characters for
  // the parallel model (parallel_learner.h).
  AssociationArrays Arrays() const { return {vocabulary, cohesion, cohesion_signs}; }
};

class AssociationLearner {
 public:
  // `by_frequency`: the corpus's characters, most frequent first. The first
  // `cohesion_rows` get cohesion vectors and the first `parallel_rows`
  // parallel ones.
  AssociationLearner(const std::vector<char16_t>& by_frequency, size_t cohesion_rows = 6000,
                     size_t parallel_rows = 3000);
  ~AssociationLearner();

  // Two consecutive lines of one poem.
  void AddConsecutive(std::u16string_view first, std::u16string_view second);
  // The two lines of a real couplet. REQUIRES: of one length.
  void AddCouplet(std::u16string_view first, std::u16string_view second);

  // Consumes the counts: call once.
  LearnedAssociation Learn(uint64_t seed);

 private:
  struct Counts;
  std::vector<uint16_t> vocabulary_;
  std::unique_ptr<Counts> cohesion_;
  std::unique_ptr<Counts> parallel_;
};

}  // namespace miravel::poemd
