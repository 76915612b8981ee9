#include "poemd/indexing/mood_learner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <thread>

namespace miravel::poemd {
namespace {

// Features: each character, then each pair of adjacent characters hashed
// onto kPairSlots.
constexpr size_t kCharacterSlots = 65536;
constexpr int kPairBits = 19;
constexpr size_t kFeatures = kCharacterSlots + (size_t{1} << kPairBits);
constexpr int kPasses = 4;
constexpr double kRate = 0.1;
constexpr double kL2 = 1e-5;
// How much more a line of a small class may weigh than one of a large.
constexpr double kMostWeight = 8;
// How much a poem's title says of its lines' mood.
constexpr float kTitleWeight = 0.7f;
// A line this likely of death or sorrow is one a wish refuses
// (measure/ill_omen.h's IsIllOmenByMood).
constexpr float kRefusedProbability = 0.8f;
constexpr const char* kClassNames[kMoodClasses] = {
    "other",    "mourning", "illness", "sorrow",  "birthday", "wedding", "happy",
    "festival", "parting",  "praise",  "longing", "decline",  "poverty"};

struct TitleWords {
  MoodClass mood;
  std::u16string_view words[16];
};

// In the order they are tried: a title that says two things says the first.
constexpr TitleWords kTitleWords[] = {
    {MoodClass::kMourning, {u"挽", u"哭", u"悼", u"祭", u"吊", u"殇", u"诔", u"亡"}},
    {MoodClass::kIllness, {u"病", u"疾", u"疢", u"疟", u"疮", u"痁", u"疴", u"瘴"}},
    {MoodClass::kDecline,
     {u"叹老", u"嗟老", u"伤老", u"悲老", u"老矣", u"老病", u"衰", u"白发", u"白髮", u"齿落",
      u"发白", u"暮年", u"迟暮", u"老去", u"叹衰"}},
    {MoodClass::kBirthday, {u"寿", u"生日", u"诞", u"初度"}},
    {MoodClass::kWedding, {u"婚", u"嫁", u"娶", u"花烛", u"合卺", u"催妆", u"新妇", u"新娘"}},
    {MoodClass::kFestival,
     {u"元日", u"除夕", u"元夕", u"上元", u"中秋", u"七夕", u"重阳", u"端午", u"人日", u"守岁",
      u"立春", u"新年", u"元旦", u"岁除", u"元宵", u"春帖"}},
    {MoodClass::kPoverty, {u"贫", u"穷", u"饥", u"乞食", u"苦寒", u"无衣", u"断炊", u"阙食"}},
    {MoodClass::kHappy, {u"贺", u"喜", u"庆", u"祝", u"颂圣"}},
    {MoodClass::kParting, {u"送", u"别", u"饯"}},
    {MoodClass::kPraise, {u"赠", u"呈", u"献", u"上"}},
    {MoodClass::kSorrow,
     {u"悲", u"哀", u"愁", u"恨", u"怨", u"伤", u"泣", u"忧", u"叹", u"怅", u"凄", u"涕"}},
    {MoodClass::kLonging, {u"怀", u"忆", u"思", u"寄"}},
};

uint32_t PairSlot(char16_t a, char16_t b) {
  const uint32_t h = (uint32_t{a} << 16 | b) * 0x9E3779B1u;
  return static_cast<uint32_t>(kCharacterSlots) + (h >> (32 - kPairBits));
}

template <typename Visit>
void ForEachFeature(std::u16string_view text, Visit visit) {
  for (size_t i = 0; i < text.size(); ++i) {
    visit(static_cast<uint32_t>(text[i]));
    if (i + 1 < text.size()) visit(PairSlot(text[i], text[i + 1]));
  }
}

float Sigmoid(double x) { return static_cast<float>(1.0 / (1.0 + std::exp(-x))); }

}  // namespace

MoodClass MoodOfTitle(std::u16string_view title) {
  for (const TitleWords& words : kTitleWords) {
    for (const std::u16string_view word : words.words) {
      if (!word.empty() && title.find(word) != std::u16string_view::npos) return words.mood;
    }
  }
  return MoodClass::kOther;
}

struct MoodLearner::Impl {
  // Every piece added, one after another, and where each starts.
  std::u16string text;
  std::vector<uint32_t> starts{0};
  std::vector<MoodClass> piece_moods;
  // The held-back poems, each as its first and one-past-last piece.
  std::vector<std::pair<uint32_t, uint32_t>> held_poems;
  std::vector<bool> held;  // per piece
  // Per class, how often each character stands in its poems.
  std::vector<std::vector<uint32_t>> counts =
      std::vector<std::vector<uint32_t>>(kMoodClasses, std::vector<uint32_t>(kCharacterSlots, 0));
  std::array<double, kMoodClasses> characters_seen{};
  // After Learn: per mood, the bias and the weights.
  std::array<std::vector<float>, kMoods> weights;

  std::u16string_view Piece(size_t k) const {
    return std::u16string_view(text).substr(starts[k], starts[k + 1] - starts[k]);
  }

  double Logit(std::u16string_view line, int mood) const {
    const std::vector<float>& w = weights[mood];
    double sum = w[0];
    ForEachFeature(line, [&](uint32_t f) { sum += w[f + 1]; });
    return sum;
  }

  // The lines of one mood against the others. Each class that counts to
  // the mood teaches its own words: the lines of a small class (poverty
  // beside grief) weigh more, up to kMostWeight, so that the classes weigh
  // alike.
  void Train(int mood, uint64_t seed) {
    std::vector<uint32_t> positive, negative;
    std::array<size_t, kMoodClasses> per_class{};
    for (size_t k = 0; k < piece_moods.size(); ++k) {
      if (held[k] || starts[k + 1] == starts[k]) continue;
      const bool counts = CountsTo(piece_moods[k], static_cast<Mood>(mood));
      (counts ? positive : negative).push_back(static_cast<uint32_t>(k));
      if (counts) ++per_class[static_cast<size_t>(piece_moods[k])];
    }
    const auto classes = static_cast<double>(
        std::count_if(per_class.begin(), per_class.end(), [](size_t n) { return n > 0; }));
    std::array<float, kMoodClasses> weight{};
    for (size_t c = 0; c < kMoodClasses; ++c) {
      if (per_class[c] == 0) continue;
      const double even = static_cast<double>(positive.size()) / classes / per_class[c];
      weight[c] = static_cast<float>(std::clamp(even, 1.0, kMostWeight));
    }
    // As many other lines as the positive ones weigh, so that the odds
    // stay even.
    double weighed = 0;
    for (const uint32_t k : positive) weighed += weight[static_cast<size_t>(piece_moods[k])];
    std::mt19937_64 rng(seed + static_cast<uint64_t>(mood));
    std::shuffle(negative.begin(), negative.end(), rng);
    negative.resize(std::min(negative.size(), static_cast<size_t>(weighed)));
    struct Example {
      uint32_t piece;
      float label;
      float weight;
    };
    std::vector<Example> examples;
    for (const uint32_t k : positive) {
      examples.push_back({k, 1.0f, weight[static_cast<size_t>(piece_moods[k])]});
    }
    for (const uint32_t k : negative) examples.push_back({k, 0.0f, 1.0f});
    std::vector<float>& w = weights[mood];
    w.assign(kFeatures + 1, 0.0f);
    // AdaGrad: each feature's step shrinks with the gradients it has had,
    // so that a rare word learns from its few lines as a common one does
    // from its many.
    std::vector<float> squares(kFeatures + 1, 1.0f);
    for (int pass = 0; pass < kPasses; ++pass) {
      std::shuffle(examples.begin(), examples.end(), rng);
      for (const Example& example : examples) {
        const std::u16string_view line = Piece(example.piece);
        const double error = example.weight * (example.label - Sigmoid(Logit(line, mood)));
        const auto step = [&](uint32_t at) {
          const double gradient = error - kL2 * w[at];
          squares[at] += static_cast<float>(gradient * gradient);
          w[at] += static_cast<float>(kRate * gradient / std::sqrt(squares[at]));
        };
        step(0);
        ForEachFeature(line, [&](uint32_t f) { step(f + 1); });
      }
    }
  }
};

MoodLearner::MoodLearner() : impl_(std::make_unique<Impl>()) {}
MoodLearner::~MoodLearner() = default;

void MoodLearner::AddPoem(MoodClass title, const std::vector<std::u16string>& pieces,
                          bool held_out) {
  Impl& m = *impl_;
  const auto first = static_cast<uint32_t>(m.piece_moods.size());
  for (const std::u16string& piece : pieces) {
    m.text += piece;
    m.starts.push_back(static_cast<uint32_t>(m.text.size()));
    m.piece_moods.push_back(title);
    m.held.push_back(held_out);
    if (held_out) continue;
    for (const char16_t c : piece) ++m.counts[static_cast<size_t>(title)][c];
    m.characters_seen[static_cast<size_t>(title)] += static_cast<double>(piece.size());
  }
  if (held_out) m.held_poems.emplace_back(first, static_cast<uint32_t>(m.piece_moods.size()));
}

void MoodLearner::Learn(uint64_t seed) {
  // Each mood's regression is apart from the others': side by side.
  std::vector<std::jthread> moods;
  for (int mood = 0; mood < kMoods; ++mood) {
    moods.emplace_back([this, mood, seed] { impl_->Train(mood, seed); });
  }
}

float MoodLearner::Probability(std::u16string_view line, Mood mood) const {
  return Sigmoid(impl_->Logit(line, static_cast<int>(mood)));
}

PackedMoods MoodLearner::LineMoods(std::u16string_view line, MoodClass title) const {
  PackedMoods moods;
  for (int k = 0; k < kMoods; ++k) {
    const auto mood = static_cast<Mood>(k);
    // The title and the words each say it, or not: either is enough.
    const float titled = CountsTo(title, mood) ? kTitleWeight : 0.0f;
    const float share = 1 - (1 - titled) * (1 - Probability(line, mood));
    moods.Set(mood, static_cast<int>(std::lround(share * kMoodLevels)));
  }
  return moods;
}

std::vector<char16_t> MoodLearner::Characteristic(MoodClass mood, size_t count,
                                                  int min_count) const {
  const Impl& m = *impl_;
  const auto c = static_cast<size_t>(mood);
  const auto other = static_cast<size_t>(MoodClass::kOther);
  // Marked and frequent both: each character's share of the divergence of
  // the class from the ordinary.
  std::vector<std::pair<double, char16_t>> ranked;
  for (size_t ch = 0; ch < kCharacterSlots; ++ch) {
    if (m.counts[c][ch] < static_cast<uint32_t>(min_count)) continue;
    const double here = (m.counts[c][ch] + 0.5) / (m.characters_seen[c] + 1);
    const double there = (m.counts[other][ch] + 0.5) / (m.characters_seen[other] + 1);
    if (here <= there) continue;
    ranked.emplace_back(here * std::log(here / there), static_cast<char16_t>(ch));
  }
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  std::vector<char16_t> out;
  for (size_t k = 0; k < std::min(count, ranked.size()); ++k) out.push_back(ranked[k].second);
  return out;
}

std::string MoodLearner::Report() const {
  const Impl& m = *impl_;
  std::array<int, kMoods> titled{}, found{};
  int ordinary = 0;
  std::array<int, kMoods> mistaken{};
  // Per class, held-back poems titled so and judged of its mood; their
  // lines, and those a wish would refuse (four in five likely).
  std::array<int, kMoodClasses> class_poems{}, class_found{}, class_lines{}, class_refused{};
  for (const auto& [first, last] : m.held_poems) {
    const MoodClass title = m.piece_moods[first];
    const auto c = static_cast<size_t>(title);
    for (int k = 0; k < kMoods; ++k) {
      const auto mood = static_cast<Mood>(k);
      double sum = 0;
      int lines = 0;
      for (uint32_t p = first; p < last; ++p) {
        if (m.Piece(p).empty()) continue;
        const float probability = Probability(m.Piece(p), mood);
        sum += probability;
        ++lines;
        if (CountsTo(title, mood)) {
          ++class_lines[c];
          class_refused[c] += probability >= kRefusedProbability;
        } else if (title == MoodClass::kOther && mood == Mood::kDeath) {
          ++class_lines[c];
          class_refused[c] +=
              std::max(probability, Probability(m.Piece(p), Mood::kSorrow)) >= kRefusedProbability;
        }
      }
      const bool judged = lines > 0 && sum / lines > 0.5;
      if (CountsTo(title, mood)) {
        ++titled[k];
        found[k] += judged;
        ++class_poems[c];
        class_found[c] += judged;
      } else if (title == MoodClass::kOther) {
        mistaken[k] += judged;
      }
    }
    ordinary += title == MoodClass::kOther;
  }
  static const char* const kNames[kMoods] = {"death", "sorrow", "joy", "bond"};
  std::string report =
      "moods of held-back poems, by their lines' words alone (titled so and found; ordinary "
      "poems taken for it):\n";
  char row[200];
  for (int k = 0; k < kMoods; ++k) {
    std::snprintf(row, sizeof row, "  %-7s %5d titled, found %5.1f%%; of %d ordinary, %4.1f%%\n",
                  kNames[k], titled[k], titled[k] ? 100.0 * found[k] / titled[k] : 0.0, ordinary,
                  ordinary ? 100.0 * mistaken[k] / ordinary : 0.0);
    report += row;
  }
  const auto percent = [](int part, int whole) { return whole ? 100.0 * part / whole : 0.0; };
  report +=
      "  the guard's classes (poems titled so, found; their lines four in five likely of "
      "its mood):\n";
  for (const MoodClass c : {MoodClass::kMourning, MoodClass::kIllness, MoodClass::kDecline,
                            MoodClass::kSorrow, MoodClass::kPoverty}) {
    const auto k = static_cast<size_t>(c);
    std::snprintf(row, sizeof row, "    %-8s %5d, %5.1f%%; %6d lines, %5.1f%%\n", kClassNames[k],
                  class_poems[k], percent(class_found[k], class_poems[k]), class_lines[k],
                  percent(class_refused[k], class_lines[k]));
    report += row;
  }
  const auto other = static_cast<size_t>(MoodClass::kOther);
  std::snprintf(row, sizeof row, "    ordinary %6d lines, %5.1f%% (of death or sorrow)\n",
                class_lines[other], percent(class_refused[other], class_lines[other]));
  return report + row;
}

}  // namespace miravel::poemd
