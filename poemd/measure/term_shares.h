// What each scoring term gave the poems of one mode, summed and averaged:
// whoever tunes a weight (miravel-poemd-measure --weight) sees what it moved.
#pragma once

#include <string>
#include <vector>

#include "poemd/compose/poem.h"

namespace miravel::poemd {

class TermTally {
 public:
  void Add(const std::vector<TermShare>& shares);
  // "  terms (per poem): rules 0.00/… cohesion +0.812 …": each term's mean
  // preference and, where any poem paid one, its mean penalty in units of
  // the rules' smallest (kSecondaryRhymeUnit). Empty before any poem.
  std::string Line() const;

 private:
  struct Sum {
    std::string name;
    double penalty = 0;
    double preference = 0;
  };
  std::vector<Sum> sums_;
  int poems_ = 0;
};

// One poem's shares on a line, as Line prints the means.
std::string SharesLine(const std::vector<TermShare>& shares);

}  // namespace miravel::poemd
