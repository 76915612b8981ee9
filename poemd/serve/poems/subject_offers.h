// The subjects a poem's page offers to compose under instead of its own
// (compose/subject_choice.h): those the composer weighed beside the one it
// chose, best first. A poem composed under a subject the reader chose
// weighed no other, so its page offers those the composer would have
// weighed had it chosen itself: a reader who tries one subject can still
// try the others.
#pragma once

#include <vector>

#include "poemd/compose/poem.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

// Never `poem.subject`; empty when the index knows no subject. REQUIRES:
// `poem` was composed for `order` from `index`.
std::vector<SubjectId> SubjectsOffered(const CorpusIndex& index, const PoemOrder& order,
                                       const Poem& poem);

}  // namespace miravel::poemd
