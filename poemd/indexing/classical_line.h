// A line's tones in the classical reading, as the index records them and
// the measures read real poems: each character by its 广韵 readings
// (classical_readings.h), the line as its poem writes it.
//
// A character with readings of both classes may be read either way (both
// bits of LineTones), unless the line's sense decides it: where the line's
// words read the character otherwise than it reads alone in Mandarin (长 is
// zhǎng in 生长, 相 is xiàng in 宰相), that reading's tone picks the class
// (first and second tones 平, third and fourth 仄). A character with an
// entering-tone reading is left free: its Mandarin tone says nothing of it.
// A character the table does not know keeps no rule (neither bit).
#pragma once

#include <span>
#include <string_view>

#include "poemd/indexing/classical_readings.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

struct ClassicalLine {
  LineTones tones;
  PingshuiRhymes rhymes = 0;  // of the last character, as the line reads it
};

// `written`: the line as its poem writes it; `simplified_script`: whether the
// poem is written in simplified characters. `in_context` and `alone`: the
// Mandarin readings of the line's characters, in its words and alone (one
// per character; empty when there are none, and the sense decides nothing).
ClassicalLine ReadClassically(const ClassicalReadings& readings, std::u16string_view written,
                              bool simplified_script, std::span<const Reading> in_context,
                              std::span<const Reading> alone);

}  // namespace miravel::poemd
