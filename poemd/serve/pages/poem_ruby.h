// A line's characters as a page shows them: as text, or, with their
// readings (compose/poem_pinyin.h), each in a <ruby> with its pinyin in the
// <rt> over it, a reading the metre chose marked and saying why in its
// title (此处读平声). The readings are not part of the text a reader selects
// or copies (pages.css): the poem's text stays the poem's.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "poemd/compose/poem_pinyin.h"
#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

// Markup for `text`; `readings` holds one a character, or none for the
// characters alone. `script`: the words of the metre's reason.
std::string RubyText(std::u16string_view text, std::span<const ShownSyllable> readings,
                     Script script);

}  // namespace miravel::poemd
