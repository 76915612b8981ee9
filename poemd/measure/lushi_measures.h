// Poems of eight lines, which a reader takes for 律诗: how many of their
// middle couplets (lines 3-4 and 5-6) run in parallel by a judge learned
// from real 律诗 the composer never saw (reference_poems.h), beside real
// 律诗's middle and outer couplets; and their coherence.
#pragma once

#include <string>
#include <vector>

#include "poemd/measure/measure_runs.h"

namespace miravel::poemd {

// `asked`: eight-character requests. Without a reference, the index's own
// model judges (and says so).
void MeasureLushi(const MeasureSetup& setup, const std::vector<std::u16string>& asked,
                  RhymeBook book);

}  // namespace miravel::poemd
