// Spherical k-means over unit vectors (the poems' subject vectors): each
// vector goes to the centre it is closest to by cosine, each centre is the
// normalised sum of its members. Starts chosen as k-means++ chooses them,
// from a sample; a centre left without members starts again at the vector
// its cluster fits worst. Deterministic for a given input and seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace miravel::poemd {

struct VectorClusters {
  std::vector<float> centres;     // clusters * dims, unit vectors
  std::vector<uint32_t> members;  // one a vector: its centre
};

// `vectors`: rows of `dims` values, unit (or zero) vectors. At most
// `clusters` clusters, fewer when there are fewer vectors.
VectorClusters ClusterVectors(std::span<const float> vectors, int dims, size_t clusters,
                              uint64_t seed, int rounds = 12);

// For each row of `vectors`, the closest of `centres` by cosine.
std::vector<uint32_t> ClosestCentres(std::span<const float> vectors, std::span<const float> centres,
                                     int dims);

}  // namespace miravel::poemd
