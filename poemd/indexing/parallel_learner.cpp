#include "poemd/indexing/parallel_learner.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

#include "poemd/index/parallel_model.h"

namespace miravel::poemd {
namespace {

constexpr int kClusterRounds = 25;
constexpr double kRate = 0.05;
constexpr double kL2 = 1e-6;
// A weight learned from n couplets keeps n / (n + kShrink) of itself.
constexpr double kShrink = 20;

double Sigmoid(double x) { return 1.0 / (1.0 + std::exp(-x)); }

double Distance(const float* a, const float* b) {
  double sum = 0;
  for (int k = 0; k < kParallelDims; ++k) sum += (a[k] - b[k]) * (a[k] - b[k]);
  return sum;
}

}  // namespace

std::vector<uint8_t> ParallelClasses(const LearnedAssociation& association, uint64_t seed) {
  std::vector<uint8_t> classes(65536, 0);
  const size_t rows = association.parallel.size() / kParallelDims;
  if (rows == 0 || association.vocabulary.size() != 65536) return classes;
  const auto row = [&](size_t r) { return association.parallel.data() + r * kParallelDims; };
  constexpr size_t kClusters = kParallelClasses - 1;
  const size_t clusters = std::min(rows, kClusters);
  // k-means++ starts, then Lloyd's rounds.
  std::mt19937_64 rng(seed);
  std::vector<std::vector<float>> centres;
  const size_t first = rng() % rows;
  centres.emplace_back(row(first), row(first) + kParallelDims);
  std::vector<double> nearest(rows, std::numeric_limits<double>::max());
  while (centres.size() < clusters) {
    double total = 0;
    for (size_t r = 0; r < rows; ++r) {
      nearest[r] = std::min(nearest[r], Distance(row(r), centres.back().data()));
      total += nearest[r];
    }
    double pick = std::uniform_real_distribution<double>(0, total)(rng);
    size_t chosen = rows - 1;
    for (size_t r = 0; r < rows; ++r) {
      if ((pick -= nearest[r]) <= 0) {
        chosen = r;
        break;
      }
    }
    centres.emplace_back(row(chosen), row(chosen) + kParallelDims);
  }
  std::vector<size_t> member(rows, 0);
  for (int round = 0; round < kClusterRounds; ++round) {
    for (size_t r = 0; r < rows; ++r) {
      double best = std::numeric_limits<double>::max();
      for (size_t k = 0; k < centres.size(); ++k) {
        const double d = Distance(row(r), centres[k].data());
        if (d < best) {
          best = d;
          member[r] = k;
        }
      }
    }
    std::vector<std::vector<double>> sums(centres.size(), std::vector<double>(kParallelDims, 0));
    std::vector<size_t> sizes(centres.size(), 0);
    for (size_t r = 0; r < rows; ++r) {
      for (int d = 0; d < kParallelDims; ++d) sums[member[r]][d] += row(r)[d];
      ++sizes[member[r]];
    }
    for (size_t k = 0; k < centres.size(); ++k) {
      if (sizes[k] == 0) continue;
      for (int d = 0; d < kParallelDims; ++d)
        centres[k][d] = static_cast<float>(sums[k][d] / sizes[k]);
    }
  }
  for (size_t c = 0; c < 65536; ++c) {
    const uint16_t r = association.vocabulary[c];
    if (r != kNotInVocabulary && r < rows) classes[c] = static_cast<uint8_t>(member[r] + 1);
  }
  return classes;
}

void ParallelLearner::AddPoem(const std::vector<std::u16string>& lines) {
  if (lines.size() != 8 || lines[0].empty() ||
      !std::all_of(lines.begin(), lines.end(),
                   [&](const std::u16string& l) { return l.size() == lines[0].size(); })) {
    return;
  }
  const bool held_out = poems_++ % 10 == 9;
  for (size_t i = 0; i < 8; i += 2) {
    examples_.push_back({lines[i], lines[i + 1], i == 2 || i == 4, held_out});
  }
}

LearnedParallel ParallelLearner::Learn(std::vector<uint8_t> classes, uint64_t seed, int passes) {
  LearnedParallel learned{std::vector<float>(kParallelWeights, 0.0f), std::move(classes)};
  std::vector<float>& w = learned.weights;
  std::vector<uint32_t> order;
  for (uint32_t k = 0; k < examples_.size(); ++k) {
    if (!examples_[k].held_out) order.push_back(k);
  }
  std::mt19937_64 rng(seed);
  std::vector<uint32_t> features;
  // How often each feature was seen: a weight learned from a few couplets
  // is shrunk towards nothing, so that the composer, which looks for the
  // highest scores, finds what many couplets agree on, not one couplet's
  // accident.
  std::vector<uint32_t> seen(kParallelWeights, 0);
  for (const uint32_t k : order) {
    ParallelModel::ForEachFeature(examples_[k].first, examples_[k].second, learned.classes,
                                  [&](uint32_t f) { ++seen[f]; });
  }
  for (int pass = 0; pass < passes; ++pass) {
    std::shuffle(order.begin(), order.end(), rng);
    const double rate = kRate / (1.0 + pass);
    for (const uint32_t k : order) {
      const Example& e = examples_[k];
      features.clear();
      ParallelModel::ForEachFeature(e.first, e.second, learned.classes,
                                    [&](uint32_t f) { features.push_back(f); });
      double score = w[0];
      for (const uint32_t f : features) score += w[f];
      const double error = (e.parallel ? 1.0 : 0.0) - Sigmoid(score);
      w[0] += static_cast<float>(rate * error);
      for (const uint32_t f : features) {
        w[f] += static_cast<float>(rate * (error - kL2 * w[f]));
      }
    }
  }
  for (size_t f = 1; f < w.size(); ++f) {
    w[f] *= static_cast<float>(seen[f] / (seen[f] + kShrink));
  }
  const ParallelModel model(w, learned.classes);
  int middle = 0, outer = 0;
  double middle_parallel = 0, outer_parallel = 0;
  for (const Example& e : examples_) {
    if (!e.held_out) continue;
    const bool judged = model.Score(e.first, e.second) > 0;
    (e.parallel ? middle : outer) += 1;
    (e.parallel ? middle_parallel : outer_parallel) += judged;
  }
  held_middle_ = middle ? middle_parallel / middle : 0;
  held_outer_ = outer ? outer_parallel / outer : 0;
  examples_.clear();
  examples_.shrink_to_fit();
  return learned;
}

}  // namespace miravel::poemd
