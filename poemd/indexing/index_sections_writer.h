// The sections of the index (index/index_sections.h) the builder writes
// from what it has gathered: postings, couplets, and what was learned.
#pragma once

#include <cstdint>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "poemd/index/corpus_index.h"
#include "poemd/index/index_file.h"
#include "poemd/indexing/association_learner.h"
#include "poemd/indexing/parallel_learner.h"
#include "poemd/indexing/subject_learner.h"

namespace miravel::poemd {

// Each character's lines at each position of lines of slot `slot`, by
// source rank, then in corpus order.
void WritePostings(IndexFileWriter& w, int slot, std::u16string_view texts,
                   const std::vector<LineTraits>& traits);
// The couplets (`middle`: those that are middle couplets of a 律诗), and
// for each place the couplets by the pair of characters they hold there.
void WriteCouplets(IndexFileWriter& w, int slot, std::u16string_view texts,
                   const std::set<std::pair<uint32_t, uint32_t>>& pairs,
                   const std::set<std::pair<uint32_t, uint32_t>>& middle);
void WriteAssociation(IndexFileWriter& w, const LearnedAssociation& learned);
void WriteParallel(IndexFileWriter& w, const LearnedParallel& learned);
// What each source poem is about: the subjects, and each poem's subject
// and vector (the lines' order by subject is each length's kSubjectLines).
void WriteSubjects(IndexFileWriter& w, const LearnedSubjects& learned);
// Each mood class's images: `characters[c]`, at most kCharacteristicCharacters.
void WriteMoodCharacters(IndexFileWriter& w, const std::vector<std::vector<char16_t>>& characters);

}  // namespace miravel::poemd
