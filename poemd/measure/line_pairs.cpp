#include "poemd/measure/line_pairs.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace miravel::poemd {

void LinePairTally::Add(const SubjectJudge& judge, const std::vector<std::u16string>& lines,
                        int hidden_at) {
  if (lines.size() != 4) return;
  ++poems_;
  for (int p = 0; p < kLinePairs; ++p) {
    const auto [a, b] = kPairs[p];
    if (const std::optional<double> closeness = judge.Closeness(lines[a], lines[b])) {
      sums_[p] += *closeness;
      ++counts_[p];
    }
  }
  std::map<char16_t, int> lines_holding;
  for (const std::u16string& line : lines) {
    std::u16string seen;
    for (size_t i = 0; i < line.size(); ++i) {
      if (static_cast<int>(i) == hidden_at || seen.find(line[i]) != std::u16string::npos) continue;
      seen += line[i];
      ++lines_holding[line[i]];
    }
  }
  int most = 0;
  for (const auto& [c, n] : lines_holding) most = std::max(most, n);
  in_two_ += most >= 2;
  in_three_ += most >= 3;
}

double LinePairTally::Mean(int pair) const {
  return counts_[pair] == 0 ? 0 : sums_[pair] / static_cast<double>(counts_[pair]);
}

double OnRealScale(double value, double random, double real) {
  return std::abs(real - random) < 1e-12 ? 0 : (value - random) / (real - random);
}

}  // namespace miravel::poemd
