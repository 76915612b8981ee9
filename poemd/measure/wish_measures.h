// Wish poems, as people give them (birthdays, weddings, the New Year,
// names with a wish): how many hold a line of ill omen (measure/ill_omen.h),
// by the index's learned moods and by a fixed list of words, per form, in
// every mode; with the lines found, for a reader to look at.
#pragma once

#include "poemd/measure/poem_measures.h"
#include "poemd/measure/poem_source.h"

namespace miravel::poemd {

// `readers`: per length slot. Prints the shares for `book`.
void MeasureWishes(const PoemSource& source, const LineReader* readers, RhymeBook book,
                   int examples);

}  // namespace miravel::poemd
