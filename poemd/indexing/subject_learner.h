// Learns what each poem is about (index/subjects.h) when the index is built.
//
// The characters' vectors come from which characters share a poem, the
// register taken out (subject_characters.h). A poem's vector is its
// text's, and each word of its title adds what the poems titled with it say
// beyond the ordinary: the mean of their text vectors less the mean of all
// (a name adds nearly nothing, 中秋 adds the moon and the festival). The
// subjects are clusters of the poems' vectors (poem_clusters.h), each named
// by the title words that mark its poems most (subject_descriptions.h), and
// each poem's subject is the closest. The poems whose titles say an
// occasion (寿, 婚, 元日, 送, 赠, 怀, 挽: index/moods.h) are clustered apart,
// each occasion's into subjects of its own in proportion to its poems, so
// that a subject of an occasion holds that occasion's poems alone. Every tenth poem is held back
// from learning, to tell how often its subject is found from its text alone (Report). Deterministic
// for a given input and seed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/index/moods.h"
#include "poemd/index/subjects.h"
#include "poemd/indexing/subject_characters.h"
#include "poemd/indexing/word_readings.h"

namespace miravel::poemd {

struct LearnedSubjects {
  std::vector<uint16_t> vocabulary = std::vector<uint16_t>(65536, kNotInVocabulary);
  std::vector<float> characters;
  std::vector<char16_t> title_words;
  std::vector<float> title_word_vectors;
  std::vector<float> centres;
  std::string names;
  std::vector<uint32_t> name_starts;
  std::vector<uint16_t> nearest;
  std::vector<uint8_t> title_shares;
  std::vector<uint16_t> title_classes;
  std::vector<uint16_t> poem_subjects;  // one a poem added, in order
  std::vector<uint8_t> poem_title_classes;
  std::vector<int8_t> poem_vectors;

  SubjectArrays Arrays() const;
};

struct SubjectLearnerOptions {
  size_t subjects = 256;
  // How many characters get vectors (those in the most poems).
  size_t characters = 4000;
  // A subject has about this many poems at the least, so that a small
  // corpus has fewer subjects.
  size_t poems_per_subject = 20;
  // How much a title's words weigh beside the text.
  float title_weight = 1.0f;
  // Which pairs of characters are words, to name subjects by; without it,
  // any pair in a title may. Not owned.
  const WordReadings* dictionary = nullptr;
};

class SubjectLearner {
 public:
  explicit SubjectLearner(SubjectLearnerOptions options = {});
  ~SubjectLearner();

  // A poem (its number: how many were added before), its title, what its
  // title says it is for, its pieces in simplified characters and its
  // form. A title that says nothing of its poem (a ci's names its tune) is
  // given empty.
  uint32_t AddPoem(std::u16string_view title, MoodClass title_class,
                   const std::vector<std::u16string>& pieces, Register form);
  size_t Poems() const;

  // Learns from what was added; call once.
  LearnedSubjects Learn(uint64_t seed);
  // After Learn: how often the held-back poems' subjects are found from
  // their texts alone, by subject and by title class; and the largest
  // subjects, with their names and the characters that mark them.
  std::string Report(size_t largest = 30) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
