// Cuts the poem lines out of the service's page into the result box.
#pragma once

#include "composer/window_toolkit.h"
#include "text/regex_object.h"

namespace miravel {

// The patterns, exactly as the service's pages are matched.
extern const char* const kHeadPattern;   // groups: the red character, the rest
extern const char* const kInnerPattern;  // groups: before, the red character, after

// Empties the result box, then fills it with one line per match of the
// pattern that belongs to `hide_mode` ("cangtou": the head pattern, else the
// inner one): the groups in order, as they stand, then "\r\n". `page` is
// GBK. The box gets its final content in one write after the emptying one,
// so a long page costs linear time. Returns how many lines it put there.
int ExtractPoems(const Text& page, const Text& hide_mode, RegexObject& regex,
                 WindowToolkit& toolkit);

}  // namespace miravel
