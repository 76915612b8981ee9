#include "poemd/indexing/pmi_factorisation.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "poemd/index/association.h"

namespace miravel::poemd {
namespace {

constexpr int kOversampling = 16;
constexpr int kPowerIterations = 3;

Eigen::MatrixXf Orthonormal(const Eigen::MatrixXf& y) {
  const Eigen::HouseholderQR<Eigen::MatrixXf> qr(y);
  return qr.householderQ() * Eigen::MatrixXf::Identity(y.rows(), y.cols());
}

}  // namespace

void ToSmoothedPmi(SquareCounts& counts) {
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

}  // namespace miravel::poemd
