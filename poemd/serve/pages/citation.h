// How a line's source is cited under a poem: 〔dynasty〕poet《title》, in
// UTF-8, not escaped; the dynasty is left out when it is unknown.
#pragma once

#include <string>

#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

std::string Citation(const LineSource& source);

}  // namespace miravel::poemd
