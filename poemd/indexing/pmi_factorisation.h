// Character vectors from a symmetric matrix of pair counts, as the
// association and subject learners make them: each count becomes its
// smoothed pointwise mutual information (association.h's SmoothedPmi), and
// the matrix is factorised by a randomised eigendecomposition (Eigen). The
// vectors are the leading eigenvectors, by the magnitude of their
// eigenvalues, scaled by the square roots of those magnitudes, with the
// eigenvalues' signs kept apart. Deterministic for a given input and seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace miravel::poemd {

// Pair counts of `rows` characters, column-major as Eigen maps it;
// symmetric in use.
struct SquareCounts {
  size_t rows = 0;
  std::vector<float> cells;

  explicit SquareCounts(size_t n) : rows(n), cells(n * n, 0.0f) {}
  void AddBoth(size_t a, size_t b, float count = 1.0f) {
    cells[a * rows + b] += count;
    cells[b * rows + a] += count;
  }
};

// In place, each pair's smoothed pointwise mutual information, from the
// counts and their rows' sums.
void ToSmoothedPmi(SquareCounts& counts);

// Rows of `dims` values (zero-padded when the matrix is smaller) into
// `vectors`, and the eigenvalues' signs (+1 or -1) into `signs`, the largest
// magnitude first.
void Factorise(const SquareCounts& matrix, int dims, uint64_t seed, std::vector<float>* vectors,
               std::vector<float>* signs);

}  // namespace miravel::poemd
