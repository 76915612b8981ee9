#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {
namespace {

struct Named {
  const char* name;
  float Weights::*weight;
};

constexpr Named kNamed[] = {
    {"chance", &Weights::chance},
    {"occasion.keeping", &Weights::occasion_keeping},
    {"occasion.avoiding", &Weights::occasion_avoiding},
    {"theme", &Weights::theme},
    {"neighbours", &Weights::neighbours},
    {"cohesion", &Weights::cohesion},
    {"couplet", &Weights::couplet},
    {"parallel", &Weights::parallel},
    {"middle_couplet", &Weights::middle_couplet},
    {"repeat", &Weights::repeat},
    {"subject", &Weights::subject},
    {"occasion_poem", &Weights::occasion_poem},
    {"one_subject", &Weights::one_subject},
    {"line_words", &Weights::line_words},
    {"turn", &Weights::turn},
    {"turn_apart", &Weights::turn_apart},
    {"same_source", &Weights::same_source},
    {"subject.phrase", &Weights::subject_phrase},
    {"subject.occasion", &Weights::subject_occasion},
    {"subject.cover", &Weights::subject_cover},
};
// Weights::rank, by SourceRank.
constexpr const char* kRanks[kSourceRanks] = {"rank.regulated", "rank.shi", "rank.ci",
                                              "rank.drama"};

}  // namespace

bool SetWeight(Weights& weights, std::string_view name, float value) {
  for (const Named& named : kNamed) {
    if (name == named.name) {
      weights.*named.weight = value;
      return true;
    }
  }
  for (size_t r = 0; r < std::size(kRanks); ++r) {
    if (name == kRanks[r]) {
      weights.rank[r] = value;
      return true;
    }
  }
  return false;
}

std::vector<std::string> WeightNames() {
  std::vector<std::string> names(std::begin(kRanks), std::end(kRanks));
  for (const Named& named : kNamed) names.emplace_back(named.name);
  return names;
}

}  // namespace miravel::poemd
