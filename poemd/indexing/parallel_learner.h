// Learns the model of parallel couplets (index/parallel_model.h) from real
// 律诗 when the index is built: their middle couplets (lines 3-4 and 5-6),
// which the form asks to run in parallel, are the examples of parallel
// couplets, their first and last couplets the contrast. No one labels a
// couplet: the form does.
//
// First the characters are grouped into classes by their parallel vectors
// (association.h; k-means), then a logistic regression is trained by
// stochastic gradient descent on the couplets' features. Every tenth poem is
// held back to tell how often real middle and outer couplets are judged
// parallel. Deterministic for a given input and seed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "poemd/indexing/association_learner.h"

namespace miravel::poemd {

struct LearnedParallel {
  std::vector<float> weights;    // kParallelWeights, the first the bias
  std::vector<uint8_t> classes;  // 65536
};

// Characters grouped into kParallelClasses - 1 classes by their parallel
// vectors; 0 for a character without one.
std::vector<uint8_t> ParallelClasses(const LearnedAssociation& association, uint64_t seed);

class ParallelLearner {
 public:
  // A regulated poem of eight lines of one length (simplified). Others are
  // not 律诗 and are ignored.
  void AddPoem(const std::vector<std::u16string>& lines);
  size_t Poems() const { return poems_; }

  LearnedParallel Learn(std::vector<uint8_t> classes, uint64_t seed, int passes = 6);
  // After Learn: of the held-back poems' middle and outer couplets, the
  // share judged parallel (probability over one half).
  double HeldOutMiddleParallel() const { return held_middle_; }
  double HeldOutOuterParallel() const { return held_outer_; }

 private:
  struct Example {
    std::u16string first, second;
    bool parallel;
    bool held_out;
  };
  std::vector<Example> examples_;
  size_t poems_ = 0;
  double held_middle_ = 0, held_outer_ = 0;
};

}  // namespace miravel::poemd
