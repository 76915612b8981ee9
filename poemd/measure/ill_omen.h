// What the measuring tool counts as a line of ill omen in a wish poem,
// two ways: by the moods the index learned (a line four in five likely to
// speak of death or of sorrow), and by a fixed list of words a reader would not give at a
// birthday or a wedding (death and burial, illness and decline, grief,
// disaster). The list is kept apart from the composer's own guard
// (compose/occasion.cpp) and is broader, so that it judges the composer
// rather than repeats it.
#pragma once

#include <string_view>

#include "poemd/index/moods.h"

namespace miravel::poemd {

// `text` holds a word of the list outside position `at` (the hidden
// character, which the asker chose).
bool HasIllOmenWord(std::u16string_view text, int at);

// The learned moods say death or sorrow, four in five likely.
bool IsIllOmenByMood(const PackedMoods& moods);

}  // namespace miravel::poemd
