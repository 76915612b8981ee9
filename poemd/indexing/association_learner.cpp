#include "poemd/indexing/association_learner.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace miravel::poemd {
namespace {

constexpr int kOversampling = 16;
constexpr int kPowerIterations = 3;

// Column-major, as Eigen maps it; symmetric in use.
struct SquareCounts {
  size_t rows = 0;
  std::vector<float> cells;

  explicit SquareCounts(size_t n) : rows(n), cells(n * n, 0.0f) {}
  void AddBoth(size_t a, size_t b) {
    cells[a * rows + b] += 1.0f;
    cells[b * rows + a] += 1.0f;
  }
};

// In place, the association of each pair: its SmoothedPmi.
void ToAssociation(SquareCounts& counts) {
  const size_t n = counts.rows;
  std::vector<double> marginal(n, 0.0);
  for (size_t a = 0; a < n; ++a) {
    for (size_t b = 0; b < n; ++b) marginal[a] += counts.cells[a * n + b];
  }
  const double total = std::accumulate(marginal.begin(), marginal.end(), 0.0);
  if (total <= 0) return;
  for (size_t a = 0; a < n; ++a) {
    for (size_t b = 0; b < n; ++b) {
      float& cell = counts.cells[a * n + b];
      cell = static_cast<float>(SmoothedPmi(cell, marginal[a], marginal[b], total));
    }
  }
}

Eigen::MatrixXf Orthonormal(const Eigen::MatrixXf& y) {
  const Eigen::HouseholderQR<Eigen::MatrixXf> qr(y);
  return qr.householderQ() * Eigen::MatrixXf::Identity(y.rows(), y.cols());
}

// Rows of `dims` values (zero-padded when the matrix is smaller) and the
// eigenvalues' signs.
void Factorise(const SquareCounts& m, int dims, uint64_t seed, std::vector<float>* vectors,
               std::vector<float>* signs) {
  const auto n = static_cast<Eigen::Index>(m.rows);
  vectors->assign(m.rows * dims, 0.0f);
  signs->assign(dims, 1.0f);
  if (n == 0) return;
  const Eigen::Map<const Eigen::MatrixXf> matrix(m.cells.data(), n, n);
  const Eigen::Index k = std::min<Eigen::Index>(n, dims + kOversampling);
  std::mt19937_64 rng(seed);
  std::normal_distribution<float> normal;
  Eigen::MatrixXf y(n, k);
  for (Eigen::Index j = 0; j < k; ++j) {
    for (Eigen::Index i = 0; i < n; ++i) y(i, j) = normal(rng);
  }
  y = matrix * y;
  for (int iteration = 0; iteration < kPowerIterations; ++iteration) y = matrix * Orthonormal(y);
  const Eigen::MatrixXf q = Orthonormal(y);
  Eigen::MatrixXf small = q.transpose() * (matrix * q);
  small = (0.5f * (small + small.transpose())).eval();
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXf> eigen(small);
  std::vector<Eigen::Index> order(static_cast<size_t>(k));
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](Eigen::Index a, Eigen::Index b) {
    return std::abs(eigen.eigenvalues()(a)) > std::abs(eigen.eigenvalues()(b));
  });
  for (int d = 0; d < dims && d < k; ++d) {
    const float value = eigen.eigenvalues()(order[d]);
    const Eigen::VectorXf column = q * eigen.eigenvectors().col(order[d]);
    const float scale = std::sqrt(std::abs(value));
    (*signs)[d] = value < 0 ? -1.0f : 1.0f;
    for (Eigen::Index i = 0; i < n; ++i) (*vectors)[i * dims + d] = column(i) * scale;
  }
}

}  // namespace

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
  ToAssociation(*cohesion_);
  Factorise(*cohesion_, kCohesionDims, seed, &learned.cohesion, &learned.cohesion_signs);
  ToAssociation(*parallel_);
  Factorise(*parallel_, kParallelDims, seed + 1, &learned.parallel, &learned.parallel_signs);
  cohesion_ = std::make_unique<Counts>(0);
  parallel_ = std::make_unique<Counts>(0);
  return learned;
}

}  // namespace miravel::poemd
