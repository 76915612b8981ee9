#include "poemd/index/subjects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <span>

namespace miravel::poemd {
namespace {

Status Damaged(const char* what) { return Status::Corruption(std::string("damaged: ") + what); }

bool AllFinite(std::span<const float> values) {
  return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

template <typename T>
bool AllBelow(std::span<const T> values, size_t bound) {
  return std::all_of(values.begin(), values.end(), [bound](T v) { return size_t{v} < bound; });
}

void Normalise(SubjectVector& v) {
  float norm = 0;
  for (const float x : v) norm += x * x;
  if (norm <= 0) return;
  const float scale = 1.0f / std::sqrt(norm);
  for (float& x : v) x *= scale;
}

// Each two-character word's key, as the title words are sorted by.
uint32_t WordKey(char16_t first, char16_t second) { return uint32_t{first} << 16 | second; }

}  // namespace

Status SubjectModel::Check(const SubjectArrays& a, size_t poems) {
  const size_t subjects = a.name_starts.size();
  if (a.vocabulary.size() != 65536 || a.characters.size() % kSubjectDims != 0) {
    return Damaged("the subjects' characters are not whole");
  }
  if (!std::all_of(a.vocabulary.begin(), a.vocabulary.end(), [&](uint16_t row) {
        return row == kNotInVocabulary || size_t{row} < a.characters.size() / kSubjectDims;
      })) {
    return Damaged("the subjects' vocabulary names a vector that is not there");
  }
  const size_t words = a.title_words.size() / 2;
  if (a.title_words.size() % 2 != 0 || a.title_word_vectors.size() != words * kSubjectDims) {
    return Damaged("the subjects' title words are not whole");
  }
  for (size_t w = 1; w < words; ++w) {
    if (WordKey(a.title_words[2 * w - 2], a.title_words[2 * w - 1]) >=
        WordKey(a.title_words[2 * w], a.title_words[2 * w + 1])) {
      return Damaged("the subjects' title words are out of order");
    }
  }
  if ((poems > 0 && subjects == 0) || subjects > size_t{UINT16_MAX} ||
      a.centres.size() != subjects * kSubjectDims ||
      a.nearest.size() != subjects * kNearestSubjects ||
      a.title_shares.size() != subjects * kMoodClasses || a.title_classes.size() != subjects) {
    return Damaged("the subjects are not whole");
  }
  if (!AllFinite(a.characters) || !AllFinite(a.title_word_vectors) || !AllFinite(a.centres)) {
    return Damaged("a subject vector is not finite");
  }
  if (!AllBelow(a.nearest, subjects)) return Damaged("a subject's neighbour is not there");
  if (!AllBelow(a.title_classes, size_t{1} << kMoodClasses)) {
    return Damaged("a subject belongs to a title class that is not there");
  }
  if (a.names.empty() ? subjects != 0 : a.names.back() != '\0') {
    return Damaged("the subjects' names are cut");
  }
  if (!AllBelow(a.name_starts, a.names.size())) {
    return Damaged("a subject's name is outside the names");
  }
  if (a.poem_subjects.size() != poems || a.poem_title_classes.size() != poems ||
      a.poem_vectors.size() != poems * kSubjectDims) {
    return Damaged("the source poems' subjects are not whole");
  }
  if (!AllBelow(a.poem_subjects, subjects) || !AllBelow(a.poem_title_classes, kMoodClasses)) {
    return Damaged("a source poem's subject is out of range");
  }
  return Status::Ok();
}

std::string_view SubjectModel::Name(SubjectId subject) const {
  return a_.names.data() + a_.name_starts[subject];
}

float SubjectModel::TitleShare(SubjectId subject, MoodClass title_class) const {
  const auto c = static_cast<size_t>(title_class);
  if (c >= kMoodClasses) return 0;
  return a_.title_shares[size_t{subject} * kMoodClasses + c] / 255.0f;
}

std::vector<SubjectId> SubjectModel::SubjectsOf(MoodClass title_class) const {
  std::vector<SubjectId> out;
  for (size_t s = 0; s < Count(); ++s) {
    if (BelongsTo(static_cast<SubjectId>(s), title_class)) out.push_back(static_cast<SubjectId>(s));
  }
  std::stable_sort(out.begin(), out.end(), [&](SubjectId a, SubjectId b) {
    return TitleShare(a, title_class) > TitleShare(b, title_class);
  });
  return out;
}

SubjectVector SubjectModel::TextVector(std::u16string_view text) const {
  SubjectVector sum{};
  if (a_.vocabulary.empty()) return sum;
  // Each character once: a poem that says 月 ten times is no more of the
  // moon than one that says it twice. The composer asks this of a line's
  // characters for many lines a poem: a line's rows stay on the stack.
  constexpr size_t kOnStack = 16;
  std::array<uint16_t, kOnStack> small;
  std::vector<uint16_t> large;
  size_t count = 0;
  for (const char16_t c : text) {
    const uint16_t row = a_.vocabulary[c];
    if (row == kNotInVocabulary) continue;
    if (text.size() <= kOnStack) {
      small[count++] = row;
    } else {
      large.push_back(row);
    }
  }
  std::span<uint16_t> rows =
      text.size() <= kOnStack ? std::span<uint16_t>(small.data(), count) : std::span(large);
  std::sort(rows.begin(), rows.end());
  rows = rows.first(static_cast<size_t>(std::unique(rows.begin(), rows.end()) - rows.begin()));
  for (const uint16_t row : rows) {
    const float* v = a_.characters.data() + size_t{row} * kSubjectDims;
    for (int k = 0; k < kSubjectDims; ++k) sum[k] += v[k];
  }
  Normalise(sum);
  return sum;
}

const float* SubjectModel::TitleWordVector(char16_t first, char16_t second) const {
  const size_t words = a_.title_words.size() / 2;
  size_t low = 0, high = words;
  const uint32_t key = WordKey(first, second);
  while (low < high) {
    const size_t mid = (low + high) / 2;
    if (WordKey(a_.title_words[2 * mid], a_.title_words[2 * mid + 1]) < key) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (low == words || WordKey(a_.title_words[2 * low], a_.title_words[2 * low + 1]) != key) {
    return nullptr;
  }
  return a_.title_word_vectors.data() + low * kSubjectDims;
}

SubjectVector SubjectModel::WithTitle(const SubjectVector& text_vector,
                                      std::u16string_view title) const {
  SubjectVector sum = text_vector;
  const auto add = [&](const float* v) {
    if (v == nullptr) return;
    for (int k = 0; k < kSubjectDims; ++k) sum[k] += v[k];
  };
  for (size_t i = 0; i < title.size(); ++i) {
    if (title.find(title[i]) == i) add(TitleWordVector(title[i], u'\0'));
    if (i + 1 < title.size()) add(TitleWordVector(title[i], title[i + 1]));
  }
  Normalise(sum);
  return sum;
}

SubjectVector SubjectModel::PoemVector(uint32_t poem) const {
  SubjectVector v;
  const int8_t* packed = a_.poem_vectors.data() + size_t{poem} * kSubjectDims;
  for (int k = 0; k < kSubjectDims; ++k) v[k] = packed[k] / kPoemVectorScale;
  return v;
}

std::vector<SubjectId> SubjectModel::NearestTo(const SubjectVector& v, size_t count) const {
  std::vector<std::pair<float, SubjectId>> ranked;
  for (size_t s = 0; s < Count(); ++s) {
    ranked.emplace_back(Closeness(v, Centre(static_cast<SubjectId>(s))), static_cast<SubjectId>(s));
  }
  count = std::min(count, ranked.size());
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(count),
                    ranked.end(), [](const auto& a, const auto& b) {
                      return a.first != b.first ? a.first > b.first : a.second < b.second;
                    });
  std::vector<SubjectId> out;
  for (size_t k = 0; k < count; ++k) out.push_back(ranked[k].second);
  return out;
}

float SubjectModel::Closeness(const SubjectVector& a, const SubjectVector& b) {
  return std::inner_product(a.begin(), a.end(), b.begin(), 0.0f);
}

float SubjectModel::Closeness(const SubjectVector& a, std::span<const float, kSubjectDims> b) {
  return std::inner_product(a.begin(), a.end(), b.begin(), 0.0f);
}

float SubjectModel::PoemCloseness(uint32_t poem, SubjectId subject) const {
  return Closeness(PoemVector(poem), Centre(subject));
}

float SubjectModel::PoemsCloseness(uint32_t a, uint32_t b) const {
  const int8_t* x = a_.poem_vectors.data() + size_t{a} * kSubjectDims;
  const int8_t* y = a_.poem_vectors.data() + size_t{b} * kSubjectDims;
  int32_t sum = 0;
  for (int k = 0; k < kSubjectDims; ++k) sum += int32_t{x[k]} * y[k];
  return static_cast<float>(sum) / (kPoemVectorScale * kPoemVectorScale);
}

}  // namespace miravel::poemd
