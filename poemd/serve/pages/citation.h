// How a line's source is cited under a poem: 〔dynasty〕poet《title》, in
// UTF-8, not escaped, in simplified characters or as the poet wrote them;
// the dynasty is left out when it is unknown.
#pragma once

#include <cstdint>
#include <string>

#include "poemd/index/corpus_index.h"
#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

std::string Citation(const LineSource& source, Script script);

}  // namespace miravel::poemd
