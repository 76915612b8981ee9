#include "poemd/index/parallel_model.h"

#include <algorithm>
#include <cmath>

namespace miravel::poemd {

Status ParallelModel::Check(std::span<const float> weights, std::span<const uint8_t> classes) {
  if (weights.empty() && classes.empty()) return Status::Ok();
  if (weights.size() != kParallelWeights || classes.size() != 65536) {
    return Status::Corruption("damaged: the parallel model is not whole");
  }
  if (!std::all_of(weights.begin(), weights.end(), [](float w) { return std::isfinite(w); }) ||
      !std::all_of(classes.begin(), classes.end(),
                   [](uint8_t c) { return c < kParallelClasses; })) {
    return Status::Corruption("damaged: a parallel model value is out of range");
  }
  return Status::Ok();
}

float ParallelModel::Score(std::u16string_view first, std::u16string_view second) const {
  if (weights_.empty() || first.size() != second.size()) return 0;
  float sum = weights_[0];
  ForEachFeature(first, second, classes_, [&](uint32_t feature) { sum += weights_[feature]; });
  return sum;
}

float ParallelModel::Probability(std::u16string_view first, std::u16string_view second) const {
  return 1.0f / (1.0f + std::exp(-Score(first, second)));
}

}  // namespace miravel::poemd
