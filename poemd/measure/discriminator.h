// A judge that tells real poems from composed ones: logistic regression on
// hashed features of a poem, trained on pairs (a real poem and one composed
// for the same hidden characters and rhyme scheme) and tested on others.
//
// Features, each hashed onto 2^bits weights: every character (what a poem
// is made of), the last character of each line, each character with the one
// at its position in the next line (parallel couplets, repeated openings),
// each line's tone pattern in both readings, whether the rhyming lines share
// a rhyme in each reading and the modern group they end in, how many
// characters repeat, and how many function words the poem has.
// Deterministic for a given seed.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "poemd/compose/line_rules.h"

namespace miravel::poemd {

struct PoemSample {
  std::vector<std::u16string> lines;
  std::vector<LineReading> readings;  // one per line
  bool first_line_rhymes = false;
};

// Names the features it meets when given (to say what gives poems away).
using FeatureNames = std::unordered_map<uint32_t, std::string>;
std::vector<uint32_t> PoemFeatures(const PoemSample& poem, int bits, FeatureNames* names = nullptr);

class Discriminator {
 public:
  explicit Discriminator(int bits = 18);

  // `real` and `composed` by feature lists; a few passes of stochastic
  // gradient descent with a small L2 penalty.
  void Train(const std::vector<std::vector<uint32_t>>& real,
             const std::vector<std::vector<uint32_t>>& composed, uint64_t seed, int passes = 8);
  // The log-odds that the poem is real.
  double Score(const std::vector<uint32_t>& features) const;
  double Weight(uint32_t feature) const { return weights_[feature]; }
  int bits() const { return bits_; }

 private:
  int bits_;
  std::vector<double> weights_;
  double bias_ = 0;
};

struct DiscriminatorResult {
  double accuracy = 0;  // of single poems of the test pairs, at a threshold of 0
  double pairwise = 0;  // of test pairs, how often the real one scores higher
  size_t train_pairs = 0;
  size_t test_pairs = 0;
  // The features that point most to composed poems and most to real ones.
  std::vector<std::pair<std::string, double>> composed_tells;
  std::vector<std::pair<std::string, double>> real_tells;
};

// Trains on half the pairs (chosen by seed) and tests on the others.
DiscriminatorResult TrainAndTest(const std::vector<std::pair<PoemSample, PoemSample>>& pairs,
                                 uint64_t seed, int bits = 18, size_t tells = 12);

}  // namespace miravel::poemd
