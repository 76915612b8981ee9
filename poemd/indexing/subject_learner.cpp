#include "poemd/indexing/subject_learner.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "poemd/indexing/poem_clusters.h"
#include "poemd/indexing/subject_characters.h"
#include "poemd/indexing/subject_descriptions.h"
#include "poemd/indexing/subject_report.h"
#include "poemd/indexing/subject_words.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

constexpr size_t kWindowPieces = 8;
// A title word of fewer poems adds nothing; one of n poems adds
// n / (n + kTitleShrink) of what they say.
constexpr size_t kLeastTitledPoems = 10;
constexpr double kTitleShrink = 10;
constexpr size_t kHeldOutEvery = 10;

// The title classes whose poems make subjects of their own, apart from all
// others: what a gift for an occasion is made of (寿, 婚, 元日, 送, 赠, 怀,
// 挽). Clustered with every other poem they fell into mixed subjects, and a
// birthday poem took no more than one line in seven from a birthday poem.
constexpr MoodClass kOwnPools[] = {MoodClass::kBirthday, MoodClass::kWedding, MoodClass::kHappy,
                                   MoodClass::kFestival, MoodClass::kParting, MoodClass::kPraise,
                                   MoodClass::kLonging,  MoodClass::kMourning};
constexpr size_t kPools = std::size(kOwnPools) + 1;  // and the rest, pool 0

size_t PoolOf(MoodClass title_class) {
  for (size_t k = 0; k < std::size(kOwnPools); ++k) {
    if (kOwnPools[k] == title_class) return k + 1;
  }
  return 0;
}

uint32_t WordKey(std::u16string_view word) { return uint32_t{word[0]} << 16 | word[1]; }

}  // namespace

SubjectArrays LearnedSubjects::Arrays() const {
  return {vocabulary,    characters,         title_words, title_word_vectors, centres,
          names,         name_starts,        nearest,     title_shares,       title_classes,
          poem_subjects, poem_title_classes, poem_vectors};
}

struct SubjectLearner::Impl {
  SubjectLearnerOptions options;
  std::u16string text;  // every piece, one after another
  std::vector<uint32_t> piece_starts{0};
  std::vector<uint32_t> poem_pieces{0};  // each poem's first piece, and one more
  std::u16string titles;
  std::vector<uint32_t> title_starts{0};
  std::vector<MoodClass> classes;
  std::vector<Register> forms;

  // Learned.
  std::vector<float> text_vectors;    // per poem
  std::vector<uint16_t> subjects_of;  // per poem
  SubjectDescriptions descriptions;
  HeldOutSubjects held;

  size_t Poems() const { return classes.size(); }
  bool HeldOut(size_t poem) const { return poem % kHeldOutEvery == kHeldOutEvery - 1; }
  // Drama speaks a tongue of its own: it would teach its words.
  bool Trains(size_t poem) const { return forms[poem] != Register::kDrama && !HeldOut(poem); }
  std::u16string_view Title(size_t poem) const {
    return std::u16string_view(titles).substr(title_starts[poem],
                                              title_starts[poem + 1] - title_starts[poem]);
  }
  std::u16string_view Text(size_t poem) const {
    const uint32_t begin = piece_starts[poem_pieces[poem]];
    return std::u16string_view(text).substr(begin, piece_starts[poem_pieces[poem + 1]] - begin);
  }
  std::u16string_view Piece(size_t k) const {
    return std::u16string_view(text).substr(piece_starts[k], piece_starts[k + 1] - piece_starts[k]);
  }

  // Each window of each poem not held back, as the character learner
  // reads them.
  void ForEachWindow(const WindowVisitor& visit) const {
    std::vector<std::u16string_view> pieces;
    for (size_t p = 0; p < Poems(); ++p) {
      if (HeldOut(p)) continue;
      for (uint32_t k = poem_pieces[p]; k < poem_pieces[p + 1]; k += kWindowPieces) {
        pieces.clear();
        for (uint32_t i = k; i < std::min<uint32_t>(k + kWindowPieces, poem_pieces[p + 1]); ++i) {
          pieces.push_back(Piece(i));
        }
        visit(pieces, forms[p], Trains(p));
      }
    }
  }

  void LearnTitleWords(LearnedSubjects& learned) const;
  // The poems' vectors, title words and all, as unit rows.
  std::vector<float> PoemVectors(const LearnedSubjects& learned) const;
  void Describe(LearnedSubjects& learned);
  // How well the held-back poems' subjects are found from their texts.
  void TestHeldOut(const LearnedSubjects& learned);
};

SubjectLearner::SubjectLearner(SubjectLearnerOptions options) : impl_(std::make_unique<Impl>()) {
  impl_->options = options;
}

SubjectLearner::~SubjectLearner() = default;

size_t SubjectLearner::Poems() const { return impl_->Poems(); }

uint32_t SubjectLearner::AddPoem(std::u16string_view title, MoodClass title_class,
                                 const std::vector<std::u16string>& pieces, Register form) {
  Impl& m = *impl_;
  for (const std::u16string& piece : pieces) {
    m.text += piece;
    m.piece_starts.push_back(static_cast<uint32_t>(m.text.size()));
  }
  m.poem_pieces.push_back(static_cast<uint32_t>(m.piece_starts.size() - 1));
  m.titles += title;
  m.title_starts.push_back(static_cast<uint32_t>(m.titles.size()));
  m.classes.push_back(title_class);
  m.forms.push_back(form);
  return static_cast<uint32_t>(m.classes.size() - 1);
}

void SubjectLearner::Impl::LearnTitleWords(LearnedSubjects& learned) const {
  struct Sum {
    Eigen::Matrix<double, kSubjectDims, 1> vector = Eigen::Matrix<double, kSubjectDims, 1>::Zero();
    size_t poems = 0;
  };
  std::unordered_map<uint32_t, Sum> sums;
  Sum all;
  for (size_t p = 0; p < Poems(); ++p) {
    if (!Trains(p)) continue;
    const Eigen::Map<const Eigen::Matrix<float, kSubjectDims, 1>> v(text_vectors.data() +
                                                                    p * kSubjectDims);
    all.vector += v.cast<double>();
    ++all.poems;
    for (const std::u16string& word : TitleWords(Title(p))) {
      Sum& sum = sums[WordKey(word)];
      sum.vector += v.cast<double>();
      ++sum.poems;
    }
  }
  std::vector<uint32_t> keys;
  for (const auto& [key, sum] : sums) {
    if (sum.poems >= kLeastTitledPoems) keys.push_back(key);
  }
  std::sort(keys.begin(), keys.end());
  const Eigen::Matrix<double, kSubjectDims, 1> mean =
      all.poems > 0 ? Eigen::Matrix<double, kSubjectDims, 1>(all.vector / all.poems)
                    : Eigen::Matrix<double, kSubjectDims, 1>::Zero();
  for (const uint32_t key : keys) {
    const Sum& sum = sums.at(key);
    learned.title_words.push_back(static_cast<char16_t>(key >> 16));
    learned.title_words.push_back(static_cast<char16_t>(key & 0xFFFF));
    const double n = static_cast<double>(sum.poems);
    const Eigen::Matrix<double, kSubjectDims, 1> says =
        (sum.vector / n - mean) * (n / (n + kTitleShrink)) * options.title_weight;
    for (int k = 0; k < kSubjectDims; ++k) {
      learned.title_word_vectors.push_back(static_cast<float>(says(k)));
    }
  }
}

std::vector<float> SubjectLearner::Impl::PoemVectors(const LearnedSubjects& learned) const {
  const SubjectModel model(learned.Arrays());
  std::vector<float> vectors(Poems() * kSubjectDims);
  for (size_t p = 0; p < Poems(); ++p) {
    SubjectVector v;
    std::copy_n(text_vectors.begin() + static_cast<std::ptrdiff_t>(p * kSubjectDims), kSubjectDims,
                v.begin());
    v = model.WithTitle(v, Title(p));
    std::copy(v.begin(), v.end(), vectors.begin() + static_cast<std::ptrdiff_t>(p * kSubjectDims));
  }
  return vectors;
}

LearnedSubjects SubjectLearner::Learn(uint64_t seed) {
  Impl& m = *impl_;
  LearnedSubjects learned;
  LearnedCharacters characters = LearnCharacterVectors(
      [&m](const WindowVisitor& visit) { m.ForEachWindow(visit); }, m.options.characters, seed);
  learned.vocabulary = std::move(characters.vocabulary);
  learned.characters = std::move(characters.vectors);
  // The poems' texts first, then what their title words say.
  const SubjectModel texts(learned.Arrays());
  m.text_vectors.assign(m.Poems() * kSubjectDims, 0.0f);
  for (size_t p = 0; p < m.Poems(); ++p) {
    const SubjectVector v = texts.TextVector(m.Text(p));
    std::copy(v.begin(), v.end(),
              m.text_vectors.begin() + static_cast<std::ptrdiff_t>(p * kSubjectDims));
  }
  m.LearnTitleWords(learned);
  const std::vector<float> poems = m.PoemVectors(learned);

  // Each pool of poems has subjects of its own: an occasion's titled poems
  // (OwnPool), and all the rest. A pool gets subjects in proportion to the
  // poems it trains, one at least.
  std::vector<std::vector<size_t>> pools(kPools);
  size_t trained = 0;
  for (size_t p = 0; p < m.Poems(); ++p) {
    pools[PoolOf(m.classes[p])].push_back(p);
    trained += m.Trains(p);
  }
  const size_t wanted = std::clamp<size_t>(trained / m.options.poems_per_subject, 1,
                                           std::min<size_t>(m.options.subjects, UINT16_MAX));
  // What each pool trains on, and how many subjects it gets: the occasions'
  // in proportion to their poems, one at least; the rest what is left.
  std::vector<std::vector<float>> training(kPools);
  for (size_t pool = 0; pool < kPools; ++pool) {
    for (const size_t p : pools[pool]) {
      if (!m.Trains(p)) continue;
      const auto from = poems.begin() + static_cast<std::ptrdiff_t>(p * kSubjectDims);
      training[pool].insert(training[pool].end(), from, from + kSubjectDims);
    }
  }
  std::vector<size_t> shares(kPools, 0);
  size_t given = 0;
  for (size_t pool = 1; pool < kPools; ++pool) {
    if (training[pool].empty()) continue;
    shares[pool] = std::max<size_t>(
        training[pool].size() / kSubjectDims * wanted / std::max<size_t>(trained, 1), 1);
    given += shares[pool];
  }
  shares[0] = wanted > given ? wanted - given : 1;
  // Each pool's centres, learned from its own poems; `firsts` where each
  // pool's begin among all.
  std::vector<size_t> firsts(kPools + 1, 0);
  for (size_t pool = 0; pool < kPools; ++pool) {
    firsts[pool] = learned.centres.size() / kSubjectDims;
    if (training[pool].empty()) continue;
    const std::vector<float> centres =
        ClusterVectors(training[pool], kSubjectDims, shares[pool], seed + pool).centres;
    learned.centres.insert(learned.centres.end(), centres.begin(), centres.end());
  }
  firsts[kPools] = learned.centres.size() / kSubjectDims;
  // Each poem goes to the closest of its own pool's subjects: a subject of
  // an occasion holds that occasion's poems and no others, so that its
  // lines are what a gift for it is made of.
  learned.poem_subjects.assign(m.Poems(), 0);
  for (size_t pool = 0; pool < kPools; ++pool) {
    const size_t from = firsts[pool];
    const size_t to = firsts[pool + 1];
    if (from == to) continue;
    std::vector<float> members;
    for (const size_t p : pools[pool]) {
      const auto first = poems.begin() + static_cast<std::ptrdiff_t>(p * kSubjectDims);
      members.insert(members.end(), first, first + kSubjectDims);
    }
    const std::span<const float> centres(learned.centres.data() + from * kSubjectDims,
                                         (to - from) * kSubjectDims);
    const std::vector<uint32_t> closest = ClosestCentres(members, centres, kSubjectDims);
    for (size_t k = 0; k < pools[pool].size(); ++k) {
      learned.poem_subjects[pools[pool][k]] = static_cast<uint16_t>(from + closest[k]);
    }
  }
  if (learned.centres.empty()) learned.centres.assign(kSubjectDims, 0.0f);
  for (const float x : poems) {
    learned.poem_vectors.push_back(static_cast<int8_t>(std::lround(x * kPoemVectorScale)));
  }
  for (const MoodClass c : m.classes) learned.poem_title_classes.push_back(static_cast<uint8_t>(c));
  m.subjects_of = learned.poem_subjects;
  m.Describe(learned);
  learned.nearest = NearestSubjects(learned.centres, kSubjectDims);
  m.TestHeldOut(learned);
  return learned;
}

std::string SubjectLearner::Report(size_t largest) const {
  return SubjectReport(impl_->descriptions, impl_->held, largest);
}

void SubjectLearner::Impl::Describe(LearnedSubjects& learned) {
  SubjectPoems poems;
  poems.subjects = learned.centres.size() / kSubjectDims;
  poems.poems = Poems();
  poems.subject = [this](size_t p) { return subjects_of[p]; };
  poems.title = [this](size_t p) { return Title(p); };
  poems.text = [this](size_t p) { return Text(p); };
  poems.title_class = [this](size_t p) { return classes[p]; };
  poems.counted = [this](size_t p) { return !HeldOut(p); };
  if (options.dictionary != nullptr) {
    poems.is_word = [this](std::u16string_view word) { return options.dictionary->Knows(word); };
  }
  descriptions = DescribeSubjects(poems, learned.vocabulary);
  for (const std::u16string& name : descriptions.names) {
    learned.name_starts.push_back(static_cast<uint32_t>(learned.names.size()));
    learned.names += Utf16ToUtf8(name);
    learned.names += '\0';
  }
  learned.title_shares = descriptions.title_shares;
  learned.title_classes = descriptions.title_classes;
}

void SubjectLearner::Impl::TestHeldOut(const LearnedSubjects& learned) {
  held = {};
  const size_t subjects = learned.centres.size() / kSubjectDims;
  const auto belongs = [&](size_t subject, size_t c) {
    return (learned.title_classes[subject] >> c & 1) != 0;
  };
  std::vector<std::pair<float, size_t>> closest(subjects);
  for (size_t p = 0; p < Poems(); ++p) {
    if (!HeldOut(p)) continue;
    const float* v = text_vectors.data() + p * kSubjectDims;
    for (size_t s = 0; s < subjects; ++s) {
      float dot = 0;
      for (int k = 0; k < kSubjectDims; ++k) dot += v[k] * learned.centres[s * kSubjectDims + k];
      closest[s] = {-dot, s};
    }
    const size_t three = std::min<size_t>(3, subjects);
    std::partial_sort(closest.begin(), closest.begin() + static_cast<std::ptrdiff_t>(three),
                      closest.end());
    const size_t by_text = closest[0].second;
    ++held.poems;
    held.same += by_text == subjects_of[p];
    held.nearest +=
        std::any_of(closest.begin(), closest.begin() + static_cast<std::ptrdiff_t>(three),
                    [&](const auto& c) { return c.second == subjects_of[p]; });
    const auto c = static_cast<size_t>(classes[p]);
    ++held.titled[c];
    if (c == 0) {
      for (size_t k = 1; k < kMoodClasses; ++k) held.mistaken[k] += belongs(by_text, k);
    } else {
      held.found_by_text[c] += belongs(by_text, c);
      held.found_by_both[c] += belongs(subjects_of[p], c);
    }
  }
}

}  // namespace miravel::poemd
