#include "poemd/measure/term_shares.h"

#include <cstdio>

#include "poemd/compose/line_rules.h"

namespace miravel::poemd {
namespace {

std::string Share(const std::string& name, double penalty, double preference) {
  char text[96];
  std::snprintf(text, sizeof text, " %s %+.3f", name.c_str(), preference);
  std::string share = text;
  if (penalty != 0) {
    std::snprintf(text, sizeof text, " (penalty %.1f)", penalty / kSecondaryRhymeUnit);
    share += text;
  }
  return share;
}

}  // namespace

void TermTally::Add(const std::vector<TermShare>& shares) {
  if (sums_.empty()) {
    for (const TermShare& share : shares) sums_.push_back({std::string(share.name)});
  }
  for (size_t k = 0; k < shares.size() && k < sums_.size(); ++k) {
    sums_[k].penalty += static_cast<double>(shares[k].penalty);
    sums_[k].preference += shares[k].preference;
  }
  ++poems_;
}

std::string TermTally::Line() const {
  if (poems_ == 0) return {};
  std::string line = "  terms, mean a poem:";
  for (const Sum& sum : sums_)
    line += Share(sum.name, sum.penalty / poems_, sum.preference / poems_);
  return line;
}

std::string SharesLine(const std::vector<TermShare>& shares) {
  std::string line = "      terms:";
  for (const TermShare& share : shares) {
    line += Share(std::string(share.name), static_cast<double>(share.penalty), share.preference);
  }
  return line;
}

}  // namespace miravel::poemd
