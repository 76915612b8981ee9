#include "poemd/indexing/poem_clusters.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace miravel::poemd {
namespace {

using Rows = Eigen::Matrix<float, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
using RowsMap = Eigen::Map<const Rows>;

constexpr size_t kSample = 20000;
constexpr Eigen::Index kBlock = 4096;

// Calls visit(row, closest centre, its cosine) for each row.
template <typename Visit>
void ForEachClosest(const RowsMap& x, const RowsMap& c, Visit visit) {
  for (Eigen::Index begin = 0; begin < x.rows(); begin += kBlock) {
    const Eigen::Index n = std::min(kBlock, x.rows() - begin);
    const Rows similarity = x.middleRows(begin, n) * c.transpose();
    for (Eigen::Index i = 0; i < n; ++i) {
      Eigen::Index best = 0;
      const float cosine = similarity.row(i).maxCoeff(&best);
      visit(static_cast<size_t>(begin + i), static_cast<uint32_t>(best), cosine);
    }
  }
}

// k-means++ starts over a sample of the rows.
std::vector<size_t> Starts(const RowsMap& x, size_t clusters, std::mt19937_64& rng) {
  const auto rows = static_cast<size_t>(x.rows());
  std::vector<size_t> sample(rows);
  std::iota(sample.begin(), sample.end(), 0);
  std::shuffle(sample.begin(), sample.end(), rng);
  sample.resize(std::min(rows, std::max(kSample, clusters)));
  std::vector<double> distance(sample.size(), 4.0);
  std::vector<size_t> starts{sample[0]};
  while (starts.size() < clusters) {
    double total = 0;
    for (size_t k = 0; k < sample.size(); ++k) {
      const double d = 2.0 - 2.0 * x.row(sample[k]).dot(x.row(starts.back()));
      distance[k] = std::min(distance[k], std::max(d, 0.0));
      total += distance[k];
    }
    if (total <= 0) break;
    double pick = std::uniform_real_distribution<double>(0, total)(rng);
    size_t chosen = sample.size() - 1;
    for (size_t k = 0; k < sample.size(); ++k) {
      if ((pick -= distance[k]) <= 0) {
        chosen = k;
        break;
      }
    }
    starts.push_back(sample[chosen]);
  }
  return starts;
}

}  // namespace

std::vector<uint32_t> ClosestCentres(std::span<const float> vectors, std::span<const float> centres,
                                     int dims) {
  std::vector<uint32_t> closest(vectors.size() / dims, 0);
  if (centres.empty()) return closest;
  const RowsMap x(vectors.data(), static_cast<Eigen::Index>(closest.size()), dims);
  const RowsMap c(centres.data(), static_cast<Eigen::Index>(centres.size() / dims), dims);
  ForEachClosest(x, c, [&](size_t row, uint32_t centre, float) { closest[row] = centre; });
  return closest;
}

VectorClusters ClusterVectors(std::span<const float> vectors, int dims, size_t clusters,
                              uint64_t seed, int rounds) {
  VectorClusters out;
  const size_t rows = vectors.size() / dims;
  out.members.assign(rows, 0);
  if (rows == 0 || clusters == 0) return out;
  const RowsMap x(vectors.data(), static_cast<Eigen::Index>(rows), dims);
  std::mt19937_64 rng(seed);
  const std::vector<size_t> starts = Starts(x, std::min(clusters, rows), rng);
  Rows centres(static_cast<Eigen::Index>(starts.size()), dims);
  for (size_t k = 0; k < starts.size(); ++k) {
    centres.row(static_cast<Eigen::Index>(k)) = x.row(static_cast<Eigen::Index>(starts[k]));
  }
  std::vector<float> fit(rows, 0.0f);
  for (int round = 0; round < rounds; ++round) {
    const RowsMap c(centres.data(), centres.rows(), dims);
    ForEachClosest(x, c, [&](size_t row, uint32_t centre, float cosine) {
      out.members[row] = centre;
      fit[row] = cosine;
    });
    Rows sums = Rows::Zero(centres.rows(), dims);
    std::vector<size_t> sizes(static_cast<size_t>(centres.rows()), 0);
    for (size_t r = 0; r < rows; ++r) {
      sums.row(out.members[r]) += x.row(static_cast<Eigen::Index>(r));
      ++sizes[out.members[r]];
    }
    for (Eigen::Index k = 0; k < centres.rows(); ++k) {
      const float norm = sums.row(k).norm();
      if (sizes[static_cast<size_t>(k)] > 0 && norm > 0) {
        centres.row(k) = sums.row(k) / norm;
        continue;
      }
      // An empty centre starts again where the clusters fit worst.
      const auto worst =
          static_cast<size_t>(std::min_element(fit.begin(), fit.end()) - fit.begin());
      centres.row(k) = x.row(static_cast<Eigen::Index>(worst));
      fit[worst] = 1.0f;
    }
  }
  const RowsMap c(centres.data(), centres.rows(), dims);
  ForEachClosest(x, c, [&](size_t row, uint32_t centre, float) { out.members[row] = centre; });
  out.centres.assign(centres.data(), centres.data() + centres.size());
  return out;
}

}  // namespace miravel::poemd
