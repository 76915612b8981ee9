#include "poemd/association.h"

#include <algorithm>
#include <cmath>

namespace miravel::poemd {
namespace {

bool AllSigns(std::span<const float> signs) {
  return std::all_of(signs.begin(), signs.end(), [](float s) { return s == 1.0f || s == -1.0f; });
}

bool AllFinite(std::span<const float> values) {
  return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

}  // namespace

std::string_view Association::Check(const AssociationArrays& a) {
  if (a.vocabulary.empty() && a.cohesion.empty() && a.parallel.empty()) return {};
  if (a.vocabulary.size() != 65536) return "the vocabulary does not cover every character";
  if (a.cohesion.size() % kCohesionDims != 0 || a.parallel.size() % kParallelDims != 0) {
    return "the association vectors are not whole";
  }
  const size_t rows = a.cohesion.size() / kCohesionDims;
  if (!std::all_of(a.vocabulary.begin(), a.vocabulary.end(),
                   [rows](uint16_t row) { return row == kNotInVocabulary || row < rows; })) {
    return "the vocabulary names a vector that is not there";
  }
  if (a.parallel.size() / kParallelDims > rows) return "more parallel vectors than characters";
  if (a.cohesion_signs.size() != kCohesionDims || a.parallel_signs.size() != kParallelDims ||
      !AllSigns(a.cohesion_signs) || !AllSigns(a.parallel_signs)) {
    return "the association signs are damaged";
  }
  if (!AllFinite(a.cohesion) || !AllFinite(a.parallel)) return "an association value is not finite";
  return {};
}

LineVector Association::Vector(std::u16string_view line) const {
  LineVector sum{};
  if (a_.vocabulary.empty() || line.empty()) return sum;
  for (char16_t c : line) {
    const uint16_t row = a_.vocabulary[c];
    if (row == kNotInVocabulary) continue;
    const float* v = a_.cohesion.data() + static_cast<size_t>(row) * kCohesionDims;
    for (int k = 0; k < kCohesionDims; ++k) sum[k] += v[k];
  }
  const float scale = 1.0f / static_cast<float>(line.size());
  for (float& x : sum) x *= scale;
  return sum;
}

LineVector Association::Following(const LineVector& v) const {
  LineVector out = v;
  if (a_.cohesion_signs.empty()) return out;
  for (int k = 0; k < kCohesionDims; ++k) out[k] *= a_.cohesion_signs[k];
  return out;
}

float Association::Dot(const LineVector& a, const LineVector& b) {
  float sum = 0;
  for (int k = 0; k < kCohesionDims; ++k) sum += a[k] * b[k];
  return sum;
}

const float* Association::ParallelRow(char16_t c) const {
  const uint16_t row = a_.vocabulary[c];
  if (row == kNotInVocabulary || row >= a_.parallel.size() / kParallelDims) return nullptr;
  return a_.parallel.data() + static_cast<size_t>(row) * kParallelDims;
}

float Association::Parallel(std::u16string_view first, std::u16string_view second) const {
  if (a_.vocabulary.empty() || first.empty() || first.size() != second.size()) return 0;
  float sum = 0;
  for (size_t i = 0; i < first.size(); ++i) {
    const float* a = ParallelRow(first[i]);
    const float* b = ParallelRow(second[i]);
    if (a == nullptr || b == nullptr) continue;
    for (int k = 0; k < kParallelDims; ++k) sum += a[k] * a_.parallel_signs[k] * b[k];
  }
  return sum / static_cast<float>(first.size());
}

}  // namespace miravel::poemd
