#include "poemd/compose/subject_choice.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace miravel::poemd {
namespace {

// Subjects whose lines are counted: the nearest to the phrase and the
// occasion's, and no more, since each count is a search in every hidden
// character's postings.
constexpr size_t kCounted = 16;
// A subject with this many lines for a character at its place holds it
// fully: the search has enough to choose from.
constexpr double kFullCover = 8;

// How well `subject`'s lines hold the hidden characters at their places,
// 0 to 1: for each character the lines it has (drama aside), on a log
// scale up to kFullCover, averaged.
float Cover(const HiddenLines& hidden, SubjectId subject) {
  const CorpusIndex& index = hidden.Index();
  double cover = 0;
  for (size_t i = 0; i < hidden.Count(); ++i) {
    const SubjectLines lines =
        index.LinesWith(hidden.HiddenAt(i), hidden.Length(), hidden.AtLine(i), subject);
    const size_t count = lines.size() - lines.by_rank[static_cast<int>(SourceRank::kDrama)].size();
    cover += std::min(1.0, std::log1p(static_cast<double>(count)) / std::log1p(kFullCover));
  }
  return static_cast<float>(cover / static_cast<double>(std::max<size_t>(hidden.Count(), 1)));
}

}  // namespace

float OccasionShare(const std::vector<MoodClass>& classes,
                    const std::function<bool(MoodClass)>& is) {
  for (size_t k = 0; k < classes.size(); ++k) {
    if (is(classes[k])) return k == 0 ? 1.0f : 0.5f;
  }
  return 0.0f;
}

std::vector<WeighedSubject> ChooseSubjects(const HiddenLines& hidden, Occasion occasion,
                                           const Weights& weights, size_t count) {
  const SubjectModel& model = hidden.Index().Subjects();
  const size_t subjects = model.Count();
  if (subjects == 0 || count == 0) return {};
  if (const std::optional<SubjectId> asked = hidden.Options().subject; asked && *asked < subjects) {
    return {{*asked, 0}};
  }
  const PoemOrder& order = hidden.Order();
  const SubjectVector phrase =
      model.VectorOf(order.theme.empty() ? std::u16string_view(order.characters) : order.theme);
  const std::vector<MoodClass> classes = ClassesOf(occasion);
  std::vector<WeighedSubject> weighed;
  weighed.reserve(subjects);
  for (size_t s = 0; s < subjects; ++s) {
    const auto subject = static_cast<SubjectId>(s);
    weighed.push_back(
        {subject, weights.subject_phrase * SubjectModel::Closeness(phrase, model.Centre(subject)) +
                      weights.subject_occasion * OccasionShare(classes, [&](MoodClass c) {
                        return model.BelongsTo(subject, c);
                      })});
  }
  const auto better = [](const WeighedSubject& a, const WeighedSubject& b) {
    return a.fit != b.fit ? a.fit > b.fit : a.subject < b.subject;
  };
  const size_t counted = std::min(subjects, kCounted);
  std::partial_sort(weighed.begin(), weighed.begin() + counted, weighed.end(), better);
  weighed.resize(counted);
  for (WeighedSubject& w : weighed) w.fit += weights.subject_cover * Cover(hidden, w.subject);
  std::sort(weighed.begin(), weighed.end(), better);
  weighed.resize(std::min(weighed.size(), count));
  return weighed;
}

}  // namespace miravel::poemd
