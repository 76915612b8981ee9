#include "poemd/index/association.h"

#include <algorithm>
#include <cmath>

namespace miravel::poemd {
namespace {

bool AllSigns(std::span<const float> signs) {
  return std::all_of(signs.begin(), signs.end(), [](float s) { return s == 1.0f || s == -1.0f; });
}

Status Damaged(const char* what) { return Status::Corruption(std::string("damaged: ") + what); }

bool AllFinite(std::span<const float> values) {
  return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

}  // namespace

Status Association::Check(const AssociationArrays& a) {
  if (a.vocabulary.empty() && a.cohesion.empty()) return Status::Ok();
  if (a.vocabulary.size() != 65536) return Damaged("the vocabulary does not cover every character");
  if (a.cohesion.size() % kCohesionDims != 0) {
    return Damaged("the association vectors are not whole");
  }
  const size_t rows = a.cohesion.size() / kCohesionDims;
  if (!std::all_of(a.vocabulary.begin(), a.vocabulary.end(),
                   [rows](uint16_t row) { return row == kNotInVocabulary || row < rows; })) {
    return Damaged("the vocabulary names a vector that is not there");
  }
  if (a.cohesion_signs.size() != kCohesionDims || !AllSigns(a.cohesion_signs)) {
    return Damaged("the association signs are damaged");
  }
  if (!AllFinite(a.cohesion)) return Damaged("an association value is not finite");
  return Status::Ok();
}

// The composer weighs hundreds of these a poem: where the processor has
// AVX2 they run eight lanes wide. Each lane adds in the order the default
// does (AVX2 alone fuses no multiply into an add), so both give the same
// sums to the bit. Clang 14 leaves cloned member functions undefined at
// link time, so its builds (the fuzzers) get the default alone.
#if defined(__clang__)
#define MIRAVEL_WIDE
#else
#define MIRAVEL_WIDE [[gnu::target_clones("avx2", "default")]]
#endif

MIRAVEL_WIDE LineVector Association::Vector(std::u16string_view line) const {
  if (a_.vocabulary.empty() || line.empty()) return {};
  // Summed apart from the returned vector, which the compiler must fear
  // shares memory with the rows, so that the sums run in vector registers.
  alignas(32) float sum[kCohesionDims] = {};
  for (char16_t c : line) {
    const uint16_t row = a_.vocabulary[c];
    if (row == kNotInVocabulary) continue;
    const float* v = a_.cohesion.data() + static_cast<size_t>(row) * kCohesionDims;
    for (int k = 0; k < kCohesionDims; ++k) sum[k] += v[k];
  }
  const float scale = 1.0f / static_cast<float>(line.size());
  LineVector out;
  for (int k = 0; k < kCohesionDims; ++k) out[k] = sum[k] * scale;
  return out;
}

MIRAVEL_WIDE LineVector Association::Following(const LineVector& v) const {
  if (a_.cohesion_signs.empty()) return v;
  alignas(32) float out[kCohesionDims];
  for (int k = 0; k < kCohesionDims; ++k) out[k] = v[k] * a_.cohesion_signs[k];
  LineVector following;
  std::copy(out, out + kCohesionDims, following.begin());
  return following;
}

MIRAVEL_WIDE float Association::Dot(const LineVector& a, const LineVector& b) {
  // Eight running sums the compiler can keep in vector registers.
  std::array<float, 8> sums{};
  for (int k = 0; k < kCohesionDims; k += 8) {
    for (int j = 0; j < 8; ++j) sums[j] += a[k + j] * b[k + j];
  }
  return ((sums[0] + sums[4]) + (sums[1] + sums[5])) + ((sums[2] + sums[6]) + (sums[3] + sums[7]));
}

float Association::Cohesion(const LineVector& first, const LineVector& second) const {
  return Dot(first, Following(second));
}

}  // namespace miravel::poemd
