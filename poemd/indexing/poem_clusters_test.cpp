// Spherical k-means over unit vectors: well-apart groups are found whole
// whatever the seed, every vector goes to its closest centre, and a centre
// left without members starts again where the vectors fit worst.
#include "poemd/indexing/poem_clusters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

namespace miravel::poemd {
namespace {

constexpr int kDims = 4;

// `per_group` unit vectors near each axis of the first `groups` ones.
std::vector<float> Groups(int groups, int per_group, uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<float> noise(0, 0.1f);
  std::vector<float> rows;
  for (int v = 0; v < groups * per_group; ++v) {
    float row[kDims];
    float norm = 0;
    for (int k = 0; k < kDims; ++k) {
      row[k] = (k == v % groups ? 1.0f : 0.0f) + noise(rng);
      norm += row[k] * row[k];
    }
    for (const float x : row) rows.push_back(x / std::sqrt(norm));
  }
  return rows;
}

TEST(ClusterVectors, FindsWellApartGroupsWhole) {
  const std::vector<float> rows = Groups(3, 50, 1);
  for (const uint64_t seed : {1, 2, 3}) {
    const VectorClusters found = ClusterVectors(rows, kDims, 3, seed);
    ASSERT_EQ(found.centres.size(), 3u * kDims);
    // Vectors of one group share a cluster; the three groups three.
    std::set<uint32_t> of_group[3];
    for (size_t v = 0; v < found.members.size(); ++v) of_group[v % 3].insert(found.members[v]);
    std::set<uint32_t> all;
    for (const auto& members : of_group) {
      EXPECT_EQ(members.size(), 1u) << "seed " << seed;
      all.insert(members.begin(), members.end());
    }
    EXPECT_EQ(all.size(), 3u) << "seed " << seed;
    EXPECT_EQ(ClosestCentres(rows, found.centres, kDims), found.members);
    for (uint32_t c = 0; c < 3; ++c) {
      float norm = 0;
      for (int k = 0; k < kDims; ++k)
        norm += found.centres[c * kDims + k] * found.centres[c * kDims + k];
      EXPECT_NEAR(norm, 1.0f, 1e-4f);
    }
  }
  EXPECT_EQ(ClusterVectors(rows, kDims, 3, 9).members, ClusterVectors(rows, kDims, 3, 9).members);
}

TEST(ClusterVectors, AskedForMoreClustersThanGroupsLeavesNoneEmpty) {
  // Two groups, four clusters: each cluster keeps members, and none mixes
  // the groups.
  const std::vector<float> rows = Groups(2, 40, 5);
  const VectorClusters found = ClusterVectors(rows, kDims, 4, 7);
  std::vector<std::set<size_t>> groups_of(4);
  for (size_t v = 0; v < found.members.size(); ++v) groups_of[found.members[v]].insert(v % 2);
  for (const auto& groups : groups_of) EXPECT_EQ(groups.size(), 1u);
}

TEST(ClusterVectors, FewerVectorsThanClusters) {
  const std::vector<float> rows = Groups(2, 1, 3);
  EXPECT_EQ(ClusterVectors(rows, kDims, 10, 1).centres.size(), 2u * kDims);
  EXPECT_TRUE(ClusterVectors({}, kDims, 10, 1).centres.empty());
}

}  // namespace
}  // namespace miravel::poemd
