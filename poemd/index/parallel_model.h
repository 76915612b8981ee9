// Whether the second line of a couplet answers the first in parallel (对仗),
// as learned from the corpus's own 律诗 (indexing/parallel_learner.h): their
// middle couplets, which the form asks to run in parallel, against their
// first and last couplets, which it does not.
//
// A logistic regression over hashed features of the two lines, position by
// position: the pair of characters at each position (山/水), the same pair
// anywhere, the pair of their classes (characters grouped by their parallel
// vectors, association.h: colours with colours, numbers with numbers), the
// pair of two-character words at each word's place (明月/清风), and a
// character repeated at its own position.
//
// A view over the index's arrays: cheap to copy, thread-safe.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "common/status.h"

namespace miravel::poemd {

inline constexpr int kParallelFeatureBits = 18;
inline constexpr size_t kParallelWeights = size_t{1} << kParallelFeatureBits;
// Character classes 1 to kParallelClasses - 1; 0 for a character without a
// parallel vector.
inline constexpr int kParallelClasses = 64;

class ParallelModel {
 public:
  // Knows nothing: every couplet scores 0 (even odds).
  ParallelModel() = default;
  // `weights`: kParallelWeights, the first the bias; `classes`: 65536.
  // REQUIRES: Check passed.
  ParallelModel(std::span<const float> weights, std::span<const uint8_t> classes)
      : weights_(weights), classes_(classes) {}
  // Ok when the arrays are whole and every value is in range.
  static Status Check(std::span<const float> weights, std::span<const uint8_t> classes);

  // The log-odds that `second` answers `first` in parallel; 0 for lines of
  // different lengths or a model that knows nothing.
  float Score(std::u16string_view first, std::u16string_view second) const;
  // The same as a probability.
  float Probability(std::u16string_view first, std::u16string_view second) const;
  // Each character's class (empty for a model that knows nothing).
  std::span<const uint8_t> Classes() const { return classes_; }

  // Calls add(feature) for each feature of the couplet, each an index into
  // the weights (never 0, the bias). `classes` may be empty.
  template <typename Add>
  static void ForEachFeature(std::u16string_view first, std::u16string_view second,
                             std::span<const uint8_t> classes, Add add);

 private:
  static uint32_t Feature(uint32_t kind, uint32_t at, uint32_t a, uint32_t b) {
    uint64_t h = (uint64_t{kind} << 56) ^ (uint64_t{at} << 48) ^ (uint64_t{a} << 24) ^ b;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return static_cast<uint32_t>(h % (kParallelWeights - 1)) + 1;
  }

  std::span<const float> weights_;
  std::span<const uint8_t> classes_;
};

template <typename Add>
void ParallelModel::ForEachFeature(std::u16string_view first, std::u16string_view second,
                                   std::span<const uint8_t> classes, Add add) {
  const size_t length = first.size();
  if (second.size() != length) return;
  const auto class_of = [&](char16_t c) -> uint32_t { return classes.empty() ? 0 : classes[c]; };
  for (size_t k = 0; k < length; ++k) {
    const char16_t a = first[k];
    const char16_t b = second[k];
    const auto at = static_cast<uint32_t>(k);
    add(Feature(1, at, a, b));
    add(Feature(2, 0, a, b));
    add(Feature(3, at, class_of(a), class_of(b)));
    if (a == b) add(Feature(4, at, 0, 0));
  }
  // Words of two characters where lines of five (2 + 3) and seven (2 + 2 +
  // 3) have them, and the last two characters.
  if (length < 2) return;
  const auto word = [&](size_t at) {
    add(Feature(5, static_cast<uint32_t>(at), uint32_t{first[at]} << 16 | first[at + 1],
                uint32_t{second[at]} << 16 | second[at + 1]));
  };
  for (size_t j = 0; j + 2 < length; j += 2) word(j);
  word(length - 2);
}

}  // namespace miravel::poemd
