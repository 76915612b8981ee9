// The search's preference for parallel middle couplets, on candidates made
// by hand and a model of parallelism that knows one couplet only.
#include "poemd/compose/poem_search.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace miravel::poemd {
namespace {

// A candidate alike with every other by rules and preferences; only its
// text differs.
Candidate Line(std::u16string text) {
  Candidate c;
  c.text = std::move(text);
  c.last = c.text.back();
  c.vectors = std::make_shared<const LineVectors>();
  c.line = static_cast<uint32_t>(std::hash<std::u16string>()(c.text) & 0xFFFFFF);
  return c;
}

// A model that judges 明月松间照 / 清泉石上流 parallel, and nothing else.
struct OneCoupletModel {
  std::vector<float> weights = std::vector<float>(kParallelWeights, 0.0f);
  std::vector<uint8_t> classes = std::vector<uint8_t>(65536, 0);
  OneCoupletModel() {
    weights[0] = -2.0f;
    ParallelModel::ForEachFeature(u"明月松间照", u"清泉石上流", classes,
                                  [&](uint32_t f) { weights[f] = 1.0f; });
  }
  ParallelModel Model() const { return ParallelModel(weights, classes); }
};

// `lines` lines; line 2 says 明月松间照, line 3 may answer it in parallel or
// not, as `answers` offers.
std::vector<std::vector<Candidate>> Lists(size_t lines, std::vector<std::u16string> answers) {
  const std::u16string fillers[] = {u"白日依山尽", u"长河落日圆", u"明月松间照", u"",
                                    u"欲穷千里目", u"更上一层楼", u"独坐幽篁里", u"弹琴复长啸",
                                    u"深林人不知", u"明月来相照"};
  std::vector<std::vector<Candidate>> lists;
  for (size_t i = 0; i < lines; ++i) {
    std::vector<Candidate> list;
    if (i == 3) {
      for (const std::u16string& answer : answers) list.push_back(Line(answer));
    } else {
      list.push_back(Line(fillers[i]));
    }
    lists.push_back(std::move(list));
  }
  return lists;
}

TEST(PoemSearch, AMiddleCoupletOfALushiRunsInParallel) {
  const OneCoupletModel model;
  const Association none;
  const SearchShape shape{5, false};
  // Whichever comes first among the candidates, the parallel answer wins.
  for (const auto& answers : {std::vector<std::u16string>{u"清泉石上流", u"孤舟蓑笠翁"},
                              std::vector<std::u16string>{u"孤舟蓑笠翁", u"清泉石上流"}}) {
    const auto lists = Lists(8, answers);
    const SearchResult result = SearchPoem(lists, shape, none, model.Model());
    EXPECT_EQ(lists[3][result.picks[3]].text, u"清泉石上流");
  }
  const SearchResult parallel = SearchPoem(Lists(8, {u"清泉石上流"}), shape, none, model.Model());
  const SearchResult unrelated = SearchPoem(Lists(8, {u"孤舟蓑笠翁"}), shape, none, model.Model());
  EXPECT_EQ(parallel.penalty, unrelated.penalty);
  EXPECT_GT(parallel.score, unrelated.score + 1.0f);
}

TEST(PoemSearch, AFirstLineWithAParallelAnswerSurvivesLikelierLines) {
  const OneCoupletModel model;
  const Association none;
  const SearchShape shape{5, false};
  auto lists = Lists(8, {u"清泉石上流", u"孤舟蓑笠翁"});
  // Twenty lines likelier alone than 明月松间照, none with a parallel answer.
  const std::u16string_view likelier = u"甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉";
  for (size_t k = 0; k < likelier.size(); ++k) {
    Candidate c = Line(std::u16string(5, likelier[k]));
    c.prior = 0.05f * static_cast<float>(k + 1);
    lists[2].push_back(std::move(c));
  }
  const SearchResult result = SearchPoem(lists, shape, none, model.Model());
  EXPECT_EQ(lists[2][result.picks[2]].text, u"明月松间照");
  EXPECT_EQ(lists[3][result.picks[3]].text, u"清泉石上流");
}

TEST(PoemSearch, InAQuatrainParallelismGainsNothing) {
  const OneCoupletModel model;
  const Association none;
  const SearchShape shape{5, false};
  // Lines 2-3 of four are the last couplet, not a middle one.
  const SearchResult parallel = SearchPoem(Lists(4, {u"清泉石上流"}), shape, none, model.Model());
  const SearchResult unrelated = SearchPoem(Lists(4, {u"孤舟蓑笠翁"}), shape, none, model.Model());
  EXPECT_EQ(parallel.penalty, unrelated.penalty);
  EXPECT_FLOAT_EQ(parallel.score, unrelated.score);
}

TEST(PoemSearch, ARepeatedRhymeCharacterCostsMoreThanAnyRuleButAMadeLine) {
  const Association none;
  const ParallelModel knows_nothing;
  const SearchShape shape{5, false};
  std::vector<std::vector<Candidate>> lists = {{Line(u"白日依山尽")},
                                               {Line(u"黄河入海流")},
                                               {Line(u"欲穷千里目")},
                                               {Line(u"更上一层流"), Line(u"更上一层楼")}};
  // The fresh rhyme breaks the first rhyme rule as badly as it can.
  lists[3][1].penalty = 3 * kPrimaryRhymeUnit + kPrimaryLinkPenalty;
  const SearchResult result = SearchPoem(lists, shape, none, knows_nothing);
  EXPECT_EQ(lists[3][result.picks[3]].text, u"更上一层楼");
  EXPECT_LT(kRepeatedRhymePenalty, kMadePenalty);
}

}  // namespace
}  // namespace miravel::poemd
