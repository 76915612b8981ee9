// The rows the measuring tool prints: one per mode (or for the real poems
// it compares with), in both readings, of the shares a ModeTally holds.
//
//   mode           | classical: rhyme  ends   246  tmpl  孤平  三平   all | modern: rhyme ...
//                  | group repeats 重韵  made drama | coherence ms/poem
#pragma once

#include <optional>
#include <string>

#include "poemd/measure/mode_tally.h"
#include "poemd/verse/places.h"

namespace miravel::poemd {

std::string ReportHeader();
// "5 head   100" and the figures; coherence when judged.
std::string ModeRow(int length, Place place, bool first_line_rhymes, const ModeTally& tally,
                    std::optional<double> coherence);
// `label` (at most 13 columns) and the figures.
std::string LabelledRow(const std::string& label, const ModeTally& tally,
                        std::optional<double> coherence);

}  // namespace miravel::poemd
