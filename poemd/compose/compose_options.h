// What a caller may ask of one composition beyond its order
// (poem_order.h): the seed, a form and lines to keep, lines not to take,
// and the weights and sizes to compose with.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "poemd/compose/compose_sizes.h"
#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

struct ComposeOptions {
  uint64_t seed = 0;
  // Set to keep a poem's template and rhyme while lines change.
  std::optional<RhymeKey> rhyme;
  std::optional<Opening> opening;
  // Per line, a line to keep as it is (a corpus line that still holds the
  // character at its place, or a made line's donor), and corpus lines not
  // to take again.
  std::vector<std::optional<KeptLine>> kept;
  std::vector<std::vector<uint32_t>> refused;
  // The subject to compose under (subjects.h), as a reader chose it; unset,
  // the composer chooses. One the index does not know is not asked.
  std::optional<SubjectId> subject;
  // What the search weighs and how widely it looks; the tuned ones when
  // left alone. Whoever tunes a weight sets it here and measures what moved
  // (miravel-poemd-measure --weight).
  Weights weights;
  ComposeSizes sizes;
};

}  // namespace miravel::poemd
