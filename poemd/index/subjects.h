// What each source poem is about, as the index learns it from the corpus
// (indexing/subject_learner.h): a few hundred subjects, each a cluster of
// poems whose words go together, named by the words of their poems' titles
// (中秋 玩月, 寿, 送 别 ...).
//
// Characters have subject vectors, learned from which characters share a
// poem (function words and numerals kept out, and two rhymes never counted
// together); a text's vector is the normalised sum of its characters'
// vectors (each character once), and the words of a title (a character, or
// two side by side) each add what the poems titled with them are about
// beyond the ordinary. A poem's vector is its text's with its title's
// words; its subject is the nearest centre. Closeness is the cosine of two
// vectors: 1 alike, 0 unrelated.
//
// A view over the index's arrays: cheap to copy, thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "poemd/index/association.h"
#include "poemd/index/moods.h"

namespace miravel::poemd {

inline constexpr int kSubjectDims = 32;
// How many of its nearest subjects each subject keeps, nearest first.
inline constexpr int kNearestSubjects = 8;
// A poem's vector in the index: each value of the unit vector times this.
inline constexpr float kPoemVectorScale = 127.0f;

using SubjectId = uint16_t;
using SubjectVector = std::array<float, kSubjectDims>;

struct SubjectArrays {
  std::span<const uint16_t> vocabulary;   // 65536: a character's row, or kNotInVocabulary
  std::span<const float> characters;      // rows * kSubjectDims, weighted as each counts
  std::span<const char16_t> title_words;  // two a word, ascending; a one-character word ends '\0'
  std::span<const float> title_word_vectors;    // words * kSubjectDims
  std::span<const float> centres;               // subjects * kSubjectDims, unit vectors
  std::span<const char> names;                  // UTF-8, each ending '\0'
  std::span<const uint32_t> name_starts;        // one a subject, into names
  std::span<const uint16_t> nearest;            // subjects * kNearestSubjects
  std::span<const uint8_t> title_shares;        // subjects * kMoodClasses, of 255
  std::span<const uint16_t> title_classes;      // one a subject: bit c, it belongs to class c
  std::span<const uint16_t> poem_subjects;      // one a source poem
  std::span<const uint8_t> poem_title_classes;  // one a source poem: its title's MoodClass
  std::span<const int8_t> poem_vectors;         // source poems * kSubjectDims
};

class SubjectModel {
 public:
  // Knows no subject.
  SubjectModel() = default;
  // REQUIRES: the arrays passed Check().
  explicit SubjectModel(const SubjectArrays& arrays) : a_(arrays) {}
  // Ok when the arrays fit together for `poems` source poems and every
  // value is in range, else Corruption saying what is wrong.
  static Status Check(const SubjectArrays& arrays, size_t poems);

  size_t Count() const { return a_.name_starts.size(); }
  // REQUIRES: poem < the index's source poems.
  SubjectId OfPoem(uint32_t poem) const { return a_.poem_subjects[poem]; }
  // Asks the processor to bring what these give of `poem` near before it
  // is asked for (CorpusIndex::Prefetch says why and how).
  [[gnu::always_inline]] void Prefetch(uint32_t poem) const {
    if (poem >= a_.poem_subjects.size()) return;
    __builtin_prefetch(a_.poem_vectors.data() + size_t{poem} * kSubjectDims);
    __builtin_prefetch(a_.poem_title_classes.data() + poem);
  }
  MoodClass TitleClassOf(uint32_t poem) const {
    return static_cast<MoodClass>(a_.poem_title_classes[poem]);
  }

  // REQUIRES for the rest: subject < Count().
  // Its name: the words of its poems' titles that mark it most (UTF-8).
  std::string_view Name(SubjectId subject) const;
  std::span<const float, kSubjectDims> Centre(SubjectId subject) const {
    return std::span<const float, kSubjectDims>(a_.centres.data() + size_t{subject} * kSubjectDims,
                                                kSubjectDims);
  }
  std::span<const SubjectId> Nearest(SubjectId subject) const {
    return a_.nearest.subspan(size_t{subject} * kNearestSubjects, kNearestSubjects);
  }
  // The share of its titled poems whose titles are of `title_class`.
  float TitleShare(SubjectId subject, MoodClass title_class) const;
  // Whether it is a subject of the class: its poems' titles say so often
  // enough (subject_descriptions.h gives the rule).
  bool BelongsTo(SubjectId subject, MoodClass title_class) const {
    return (a_.title_classes[subject] >> static_cast<int>(title_class) & 1) != 0;
  }
  // The subjects that belong to `title_class`, largest share first.
  std::vector<SubjectId> SubjectsOf(MoodClass title_class) const;

  // The vector of a text by its characters alone (zero when none has one).
  SubjectVector TextVector(std::u16string_view text) const;
  // `text_vector` with the words of `title` weighed in, normalised.
  SubjectVector WithTitle(const SubjectVector& text_vector, std::u16string_view title) const;
  // A hidden phrase's or a theme's vector: its characters, and its words
  // read as a title's.
  SubjectVector VectorOf(std::u16string_view text) const {
    return WithTitle(TextVector(text), text);
  }
  SubjectVector PoemVector(uint32_t poem) const;
  // The `count` subjects whose centres are closest to `v`, closest first.
  std::vector<SubjectId> NearestTo(const SubjectVector& v, size_t count) const;

  static float Closeness(const SubjectVector& a, const SubjectVector& b);
  static float Closeness(const SubjectVector& a, std::span<const float, kSubjectDims> b);
  // The poem's closeness to a subject's centre, and to another poem.
  float PoemCloseness(uint32_t poem, SubjectId subject) const;
  float PoemsCloseness(uint32_t a, uint32_t b) const;

 private:
  const float* TitleWordVector(char16_t first, char16_t second) const;

  SubjectArrays a_;
};

}  // namespace miravel::poemd
