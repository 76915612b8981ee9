// Made-up poems of a few subjects, for the learners of subjects: each
// subject has a title and words of its own, and every poem also holds
// function words, numerals and rhyme endings drawn apart from its subject,
// so that a learner that let them in would find subjects of them. Poems
// may also be ci, untitled and in words of their own register, whatever
// their subject.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/indexing/subject_characters.h"

namespace miravel::poemd::testing {

struct TitledPoem {
  std::u16string title;
  std::vector<std::u16string> lines;  // four of five characters
  size_t subject = 0;                 // 0 咏梅, 1 送友人, 2 寿张公
  Register form = Register::kShi;
};
inline constexpr size_t kMadeUpSubjects = 3;

// `count` poems, the subjects in turn; the same for the same seed. Without
// `titled`, every title is empty. `with_ci`: every fourth poem is a ci.
std::vector<TitledPoem> TitledPoems(size_t count, uint64_t seed, bool titled = true,
                                    bool with_ci = false);

// The poem as the index builder takes it.
PoemText AsShi(const TitledPoem& poem);

// An index of 120 titled poems of the three subjects, made once.
const CorpusIndex& TitledIndex();

}  // namespace miravel::poemd::testing
