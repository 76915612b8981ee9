// Pairs for a blind reading: held-out real quatrains, each beside the poem
// composed for its hidden characters (head or middle) and rhyme scheme, for
// a reader who is to pick the real one without knowing which is which.
#pragma once

#include "poemd/measure/poem_source.h"
#include "poemd/measure/reference_poems.h"
#include "poemd/verse/rhyme_books.h"

namespace miravel::poemd {

// Prints `per_mode` pairs for each length and for head and middle, as
// "real" and "composed" rows tab-separated with the mode and the pair's
// number, so that a script can shuffle them and keep the key apart. The
// real poems are spread evenly over the held-out ones, none in two pairs;
// a real poem whose order gets no composed poem is passed over.
void PrintBlindPairs(const PoemSource& source, const Reference& reference, RhymeBook book,
                     int per_mode);

}  // namespace miravel::poemd
