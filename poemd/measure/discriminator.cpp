#include "poemd/measure/discriminator.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "text/utf.h"

namespace miravel::poemd {
namespace {

// Characters that carry grammar and argument rather than pictures.
constexpr std::u16string_view kFunctionWords =
    u"之乎者也而以于於不无無有其所何此亦已又且若如则則乃即皆自为為与與将將可欲未曾犹猶尚";

uint32_t Hash(std::u16string_view text, int bits) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (const char16_t c : text) {
    h = (h ^ (c & 0xFF)) * 0x100000001B3ull;
    h = (h ^ (c >> 8)) * 0x100000001B3ull;
  }
  return static_cast<uint32_t>((h ^ (h >> 29)) & ((uint64_t{1} << bits) - 1));
}

std::u16string Pattern(LineTones tones, size_t length) {
  std::u16string out;
  for (size_t i = 0; i < length; ++i) {
    const int k = static_cast<int>(i);
    out += tones.CanBeLevel(k) ? (tones.CanBeOblique(k) ? u'F' : u'L')
                               : (tones.CanBeOblique(k) ? u'O' : u'U');
  }
  return out;
}

double Sigmoid(double x) { return 1.0 / (1.0 + std::exp(-x)); }

}  // namespace

std::vector<uint32_t> PoemFeatures(const PoemSample& poem, int bits, FeatureNames* names) {
  std::vector<uint32_t> features;
  const auto add = [&](const std::u16string& name) {
    const uint32_t h = Hash(name, bits);
    features.push_back(h);
    if (names != nullptr) names->try_emplace(h, Utf16ToUtf8(name));
  };
  const size_t n = poem.lines.size();
  int function_words = 0;
  std::u16string seen;
  int repeats = 0;
  for (size_t i = 0; i < n; ++i) {
    const std::u16string& line = poem.lines[i];
    for (size_t k = 0; k < line.size(); ++k) {
      add(u"字 " + line.substr(k, 1));
      function_words += kFunctionWords.find(line[k]) != std::u16string_view::npos;
      if (seen.find(line[k]) != std::u16string::npos) ++repeats;
      if (i + 1 < n && k < poem.lines[i + 1].size()) {
        add(u"对 " + line.substr(k, 1) + poem.lines[i + 1].substr(k, 1));
      }
    }
    seen += line;
    if (!line.empty()) add(u"尾 " + line.substr(line.size() - 1));
    if (i < poem.readings.size()) {
      add(u"古 " + Pattern(poem.readings[i].classical, line.size()));
      add(u"今 " + Pattern(poem.readings[i].modern, line.size()));
    }
  }
  // The rhyming lines: one classical rhyme? one modern group?
  PingshuiRhymes shared = kAllPingshuiRhymes;
  RhymeGroup group = kNoRhymeGroup;
  bool one_group = true;
  for (size_t i = 0; i < std::min(n, poem.readings.size()); ++i) {
    if (!IsRhymingLine(i, poem.first_line_rhymes)) continue;
    shared &= poem.readings[i].pingshui;
    if (group == kNoRhymeGroup) group = poem.readings[i].xinyun;
    one_group = one_group && poem.readings[i].xinyun == group;
  }
  add(shared != 0 ? u"古韵 同" : u"古韵 异");
  add(one_group ? u"今韵 同" : u"今韵 异");
  add(u"今韵部 " + std::u16string(1, static_cast<char16_t>(u'0' + group % 10)) +
      std::u16string(1, static_cast<char16_t>(u'0' + group / 10)));
  add(u"重字 " + std::u16string(1, static_cast<char16_t>(u'0' + std::min(repeats, 4))));
  add(u"虚字 " + std::u16string(1, static_cast<char16_t>(u'0' + std::min(function_words, 6))));
  return features;
}

Discriminator::Discriminator(int bits) : bits_(bits), weights_(size_t{1} << bits, 0.0) {}

double Discriminator::Score(const std::vector<uint32_t>& features) const {
  double sum = bias_;
  for (const uint32_t f : features) sum += weights_[f];
  return sum;
}

void Discriminator::Train(const std::vector<std::vector<uint32_t>>& real,
                          const std::vector<std::vector<uint32_t>>& composed, uint64_t seed,
                          int passes) {
  constexpr double kRate = 0.05;
  constexpr double kL2 = 1e-4;
  std::vector<std::pair<const std::vector<uint32_t>*, double>> examples;
  for (const auto& f : real) examples.emplace_back(&f, 1.0);
  for (const auto& f : composed) examples.emplace_back(&f, 0.0);
  std::mt19937_64 rng(seed);
  for (int pass = 0; pass < passes; ++pass) {
    std::shuffle(examples.begin(), examples.end(), rng);
    const double rate = kRate / (1.0 + pass);
    for (const auto& [features, label] : examples) {
      const double error = label - Sigmoid(Score(*features));
      bias_ += rate * error;
      for (const uint32_t f : *features) weights_[f] += rate * (error - kL2 * weights_[f]);
    }
  }
}

DiscriminatorResult TrainAndTest(const std::vector<std::pair<PoemSample, PoemSample>>& pairs,
                                 uint64_t seed, int bits, size_t tells) {
  DiscriminatorResult result;
  FeatureNames names;
  std::vector<size_t> order(pairs.size());
  std::iota(order.begin(), order.end(), 0);
  std::mt19937_64 rng(seed);
  std::shuffle(order.begin(), order.end(), rng);
  const size_t half = order.size() / 2;
  std::vector<std::vector<uint32_t>> real, composed;
  for (size_t k = 0; k < half; ++k) {
    real.push_back(PoemFeatures(pairs[order[k]].first, bits, &names));
    composed.push_back(PoemFeatures(pairs[order[k]].second, bits, &names));
  }
  Discriminator judge(bits);
  judge.Train(real, composed, seed);
  size_t right = 0, right_pairs = 0;
  for (size_t k = half; k < order.size(); ++k) {
    const double r = judge.Score(PoemFeatures(pairs[order[k]].first, bits));
    const double c = judge.Score(PoemFeatures(pairs[order[k]].second, bits));
    right += (r > 0) + (c <= 0);
    right_pairs += r > c;
  }
  result.train_pairs = half;
  result.test_pairs = order.size() - half;
  if (result.test_pairs > 0) {
    result.accuracy = static_cast<double>(right) / (2.0 * result.test_pairs);
    result.pairwise = static_cast<double>(right_pairs) / result.test_pairs;
  }
  std::vector<std::pair<std::string, double>> weighted;
  for (const auto& [feature, name] : names) weighted.emplace_back(name, judge.Weight(feature));
  std::sort(weighted.begin(), weighted.end(),
            [](const auto& a, const auto& b) { return a.second < b.second; });
  for (size_t k = 0; k < std::min(tells, weighted.size()); ++k) {
    result.composed_tells.push_back(weighted[k]);
    result.real_tells.push_back(weighted[weighted.size() - 1 - k]);
  }
  return result;
}

}  // namespace miravel::poemd
