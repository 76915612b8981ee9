// The search over the scoring terms, on candidates made by hand: its
// preference for parallel middle couplets (a model of parallelism that
// knows one couplet only), 重韵 against the rules, and a term of a test's
// own, added as a new term is.
#include "poemd/compose/poem_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "poemd/compose/terms/term.h"
#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd {
namespace {

// A candidate alike with every other by rules and preferences; only its
// text differs.
Candidate Line(std::u16string text) {
  Candidate c;
  c.text = std::move(text);
  c.last = c.text.back();
  static const LineVectors kNone{};
  c.vectors = &kNone;
  c.line = static_cast<uint32_t>(std::hash<std::u16string>()(c.text) & 0xFFFFFF);
  c.poem = c.line;
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

// The composer's own terms, over a model of parallelism, with no
// association, occasion or theme.
struct Terms {
  explicit Terms(ParallelModel parallel = {}) : model(std::move(parallel)) {}
  Weights weights;
  Association none;
  LineVector theme{};
  PoemRandom random{1};
  ParallelModel model;
  CorpusIndex index = testing::EvenChoiceCorpus();
  ScoringTerms terms{{.weights = weights,
                      .association = none,
                      .parallel = model,
                      .occasion = Occasion::kNone,
                      .theme = theme,
                      .random = random,
                      .first_line_rhymes = false,
                      .index = index}};
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
  const OneCoupletModel couplet;
  const Terms t(couplet.Model());
  // Whichever comes first among the candidates, the parallel answer wins.
  for (const auto& answers : {std::vector<std::u16string>{u"清泉石上流", u"孤舟蓑笠翁"},
                              std::vector<std::u16string>{u"孤舟蓑笠翁", u"清泉石上流"}}) {
    const auto lists = Lists(8, answers);
    const SearchResult result = SearchPoem(lists, {}, t.terms);
    EXPECT_EQ(lists[3][result.picks[3]].text, u"清泉石上流");
  }
  const SearchResult parallel = SearchPoem(Lists(8, {u"清泉石上流"}), {}, t.terms);
  const SearchResult unrelated = SearchPoem(Lists(8, {u"孤舟蓑笠翁"}), {}, t.terms);
  EXPECT_EQ(parallel.penalty, unrelated.penalty);
  EXPECT_GT(parallel.score, unrelated.score + 1.0f);
}

TEST(PoemSearch, AFirstLineWithAParallelAnswerSurvivesLikelierLines) {
  const OneCoupletModel couplet;
  const Terms t(couplet.Model());
  auto lists = Lists(8, {u"清泉石上流", u"孤舟蓑笠翁"});
  // Twenty lines likelier alone than 明月松间照, none with a parallel answer.
  const std::u16string_view likelier = u"甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉";
  for (size_t k = 0; k < likelier.size(); ++k) {
    Candidate c = Line(std::u16string(5, likelier[k]));
    c.prior = 0.05f * static_cast<float>(k + 1);
    lists[2].push_back(std::move(c));
  }
  const SearchResult result = SearchPoem(lists, {}, t.terms);
  EXPECT_EQ(lists[2][result.picks[2]].text, u"明月松间照");
  EXPECT_EQ(lists[3][result.picks[3]].text, u"清泉石上流");
}

TEST(PoemSearch, InAQuatrainParallelismGainsNothing) {
  const OneCoupletModel couplet;
  const Terms t(couplet.Model());
  // Lines 2-3 of four are the last couplet, not a middle one.
  const SearchResult parallel = SearchPoem(Lists(4, {u"清泉石上流"}), {}, t.terms);
  const SearchResult unrelated = SearchPoem(Lists(4, {u"孤舟蓑笠翁"}), {}, t.terms);
  EXPECT_EQ(parallel.penalty, unrelated.penalty);
  EXPECT_FLOAT_EQ(parallel.score, unrelated.score);
}

TEST(PoemSearch, ARepeatedRhymeCharacterCostsMoreThanAnyRuleButAMadeLine) {
  const Terms t;
  std::vector<std::vector<Candidate>> lists = {{Line(u"白日依山尽")},
                                               {Line(u"黄河入海流")},
                                               {Line(u"欲穷千里目")},
                                               {Line(u"更上一层流"), Line(u"更上一层楼")}};
  // The fresh rhyme breaks the first rhyme rule as badly as it can.
  lists[3][1].penalty = 3 * kPrimaryRhymeUnit + kPrimaryLinkPenalty;
  const SearchResult result = SearchPoem(lists, {}, t.terms);
  EXPECT_EQ(lists[3][result.picks[3]].text, u"更上一层楼");
  EXPECT_LT(kRepeatedRhymePenalty, kMadePenalty);
}

// A poem term of a test's own, as a new idea about poems is added: lines
// after the first prefer to share a character with the first line, which
// only the term's running state remembers.
class EchoesFirstLine final : public PoemTermOf<EchoesFirstLine> {
 public:
  std::string_view Name() const override { return "echo"; }
  size_t StateBytes(size_t) const override { return sizeof(char16_t) * 8; }
  void Start(std::byte* state, size_t) const override { std::memset(state, 0, 16); }
  Cost WeighOne(size_t i, const Candidate& c, const std::byte* state) const {
    if (i == 0) return {};
    const auto* first = reinterpret_cast<const char16_t*>(state);
    const bool echoes = std::any_of(c.text.begin(), c.text.end(), [&](char16_t ch) {
      return std::find(first, first + 8, ch) != first + 8;
    });
    return {0, echoes ? 1.0f : 0.0f};
  }
  void Advance(size_t i, const Candidate& c, std::byte* state) const override {
    if (i == 0) std::copy(c.text.begin(), c.text.end(), reinterpret_cast<char16_t*>(state));
  }
};

TEST(PoemSearch, ANewPoemTermIsSummedWithItsStateAndExplained) {
  Terms t;
  std::vector<std::vector<Candidate>> lists = {
      {Line(u"白日依山尽")}, {Line(u"黄河入海流")}, {Line(u"欲穷千里目"), Line(u"欲看白山云")}};
  lists[2][0].prior = 0.5f;
  EXPECT_EQ(lists[2][SearchPoem(lists, {}, t.terms).picks[2]].text, u"欲穷千里目");

  t.terms.Add(std::make_unique<EchoesFirstLine>());
  const SearchResult result = SearchPoem(lists, {}, t.terms);
  EXPECT_EQ(lists[2][result.picks[2]].text, u"欲看白山云");
  const std::vector<TermShare> shares = t.terms.Explain(lists, result.picks);
  ASSERT_EQ(shares.back().name, "echo");
  EXPECT_FLOAT_EQ(shares.back().preference, 1.0f);
  // The shares add up to the search's own sums.
  int64_t penalty = 0;
  float preference = 0;
  for (const TermShare& share : shares) {
    penalty += share.penalty;
    preference += share.preference;
  }
  EXPECT_EQ(penalty, result.penalty);
  EXPECT_FLOAT_EQ(preference, result.score);
}

// Vectors for a candidate: its cohesion vector `cohesion` (following the
// same), and its poem's subject along one axis of the subject space.
const LineVectors* VectorsFor(float cohesion, int subject_axis) {
  static std::vector<std::unique_ptr<LineVectors>> kept;
  auto vectors = std::make_unique<LineVectors>();
  vectors->cohesion.fill(cohesion);
  vectors->following.fill(cohesion);
  vectors->subject[static_cast<size_t>(subject_axis)] = 1.0f;
  kept.push_back(std::move(vectors));
  return kept.back().get();
}

TEST(PoemSearch, ALineOfAnotherSubjectGivesWayThoughItFollowsItsNeighbourBetter) {
  const Terms t;
  // Three lines of subject 0; for the fourth, a line of subject 0 that goes
  // with the third no better than any other, and a line of subject 1 that
  // follows it as closely as real consecutive lines follow each other
  // (about 0.1 above random ones).
  std::vector<std::vector<Candidate>> lists = {{Line(u"白日依山尽")},
                                               {Line(u"黄河入海流")},
                                               {Line(u"欲穷千里目")},
                                               {Line(u"更上一层楼"), Line(u"长河落日圆")}};
  for (size_t i = 0; i < 3; ++i) lists[i][0].vectors = VectorsFor(0.0f, 0);
  const float real = std::sqrt(0.1f / kCohesionDims);
  lists[2][0].vectors = VectorsFor(real, 0);
  lists[3][0].vectors = VectorsFor(0.0f, 0);
  lists[3][1].vectors = VectorsFor(real, 1);
  ASSERT_NEAR(Association::Dot(lists[2][0].vector(), lists[3][1].following()), 0.1f, 1e-4f);
  const SearchResult result = SearchPoem(lists, {}, t.terms);
  EXPECT_EQ(lists[3][result.picks[3]].text, u"更上一层楼");
}

TEST(PoemSearch, RepeatingTheSubjectsWordGainsNothing) {
  const Terms t;
  // Two poems of one subject: one repeats 寿 in every line, one does not.
  const auto poem = [](std::vector<std::u16string> texts) {
    std::vector<std::vector<Candidate>> lists;
    for (std::u16string& text : texts) {
      Candidate c = Line(std::move(text));
      c.vectors = VectorsFor(0.0f, 2);
      c.signature = 0;
      for (size_t k = 1; k < c.text.size(); ++k) c.signature |= SignatureBit(c.text[k]);
      lists.push_back({std::move(c)});
    }
    return lists;
  };
  const auto repeating = poem({u"春晓献寿觞", u"风吹寿等龟", u"花开寿酒杯", u"月照寿星堂"});
  const auto varied = poem({u"春晓献瑶觞", u"风吹海岛龟", u"花开清漳杯", u"月照南山堂"});
  const SearchResult a = SearchPoem(repeating, {}, t.terms);
  const SearchResult b = SearchPoem(varied, {}, t.terms);
  const auto share = [&](const auto& lists, const SearchResult& r, std::string_view name) {
    for (const TermShare& s : t.terms.Explain(lists, r.picks)) {
      if (s.name == name) return s.preference;
    }
    return 0.0f;
  };
  EXPECT_FLOAT_EQ(share(repeating, a, "one subject"), share(varied, b, "one subject"));
  EXPECT_LT(a.score, b.score);
}

TEST(PoemSearch, BeamWidthsAreTheCallersToSet) {
  const Terms t;
  // Line 0's likeliest candidate leads nowhere: every candidate of line 1
  // after it was taken already, and the poem pays a made line for it.
  std::vector<std::vector<Candidate>> lists(2);
  for (int k = 0; k < 3; ++k) lists[0].push_back(Line(std::u16string(5, u"甲乙丙"[k])));
  lists[0][0].prior = 1.0f;
  lists[0][1].prior = 0.5f;
  lists[1].push_back(lists[0][0]);
  const SearchResult narrow = SearchPoem(lists, {.beam = 1}, t.terms);
  const SearchResult wide = SearchPoem(lists, {.beam = 2}, t.terms);
  EXPECT_EQ(narrow.penalty, kMadePenalty);
  EXPECT_EQ(wide.penalty, 0);
  EXPECT_EQ(wide.picks[0], 1);
}

}  // namespace
}  // namespace miravel::poemd
