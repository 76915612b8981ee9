// Which characters go together in consecutive lines of real poems, as
// vectors learned when the index is built (association_learner.h).
//
// Cohesion: for characters a and b, Vector(a) · Following(Vector(b))
// approximates the smoothed pointwise mutual information of a standing in
// one line of a real poem and b in the next (association_learner.h): a
// factorisation of rank kCohesionDims. A line's vector is the mean of its characters'
// vectors, so the cohesion of two lines is their mean association over all
// pairs of their characters.
//
// A view over the index's arrays: cheap to copy, thread-safe.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>

#include "common/status.h"

namespace miravel::poemd {

// The smoothed pointwise mutual information of a pair counted `count` times
// whose members are counted `first` and `second` times among `total`:
// log((n + 1) / (E + 1)), where E = first * second / total is what chance
// alone would give. Unlike PPMI it keeps avoidance (pairs met less often
// than chance) and shrinks towards 0 for pairs too rare to tell.
inline double SmoothedPmi(double count, double first, double second, double total) {
  const double expected = first * second / total;
  return std::log((count + 1.0) / (expected + 1.0));
}

inline constexpr int kCohesionDims = 64;
inline constexpr uint16_t kNotInVocabulary = 0xFFFF;

using LineVector = std::array<float, kCohesionDims>;

struct AssociationArrays {
  std::span<const uint16_t> vocabulary;   // 65536 entries: a row, or kNotInVocabulary
  std::span<const float> cohesion;        // rows * kCohesionDims
  std::span<const float> cohesion_signs;  // kCohesionDims entries, each +1 or -1
};

class Association {
 public:
  // Knows no character: every score is 0.
  Association() = default;
  // REQUIRES: the arrays passed Check().
  explicit Association(const AssociationArrays& arrays) : a_(arrays) {}
  // Ok when the arrays fit together and every value is in range, else
  // Corruption saying what is wrong.
  static Status Check(const AssociationArrays& arrays);

  // The mean vector of the line's characters; a character without a vector
  // counts as zero.
  LineVector Vector(std::u16string_view line) const;
  // `v` made ready to stand second in Dot: Dot(Vector(a), Following(Vector(b)))
  // is the cohesion of line a followed by line b.
  LineVector Following(const LineVector& v) const;
  static float Dot(const LineVector& a, const LineVector& b);
  // Dot(first, Following(second)): the cohesion of line vectors.
  float Cohesion(const LineVector& first, const LineVector& second) const;

 private:
  AssociationArrays a_;
};

}  // namespace miravel::poemd
