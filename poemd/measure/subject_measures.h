// What miravel-poemd-measure says of what poems speak of.
//
// Line pairs, by its own judge (subject_judge.h), per form and place (head
// and middle, five and seven characters): for held-out real quatrains, for
// poems composed for their hidden characters, and for random corpus lines
// holding those characters at their places, the closeness of each pair of
// lines (1-2, 2-3, 3-4, 1-3, 2-4, 1-4), the far pairs' on a scale from the
// random lines (0) to the real quatrains (1), and the share of poems with
// a character in two lines or more, and in three.
//
// Wish poems of an occasion (birthday, festival, farewell, wedding), head
// and middle, five and seven: the share of their lines whose poems were
// written for their occasion by their titles, and whose poems are of a
// subject of the occasion (index/subjects.h).
#pragma once

#include <cstddef>

#include "poemd/measure/poem_measures.h"
#include "poemd/measure/poem_source.h"
#include "poemd/measure/reference_poems.h"

namespace miravel::poemd {

// Prints the line pairs of at most `most` held-out quatrains per length,
// composed in `book`. `readers`: per length slot.
void MeasureLinePairs(const PoemSource& source, const LineReader* readers,
                      const Reference& reference, RhymeBook book, size_t most = 1000);

// Prints the wish poems' sources in `book`.
void MeasureWishSources(const PoemSource& source, const LineReader* readers, RhymeBook book);

}  // namespace miravel::poemd
