// Which rules of regulated verse a whole poem keeps, in one reading of its
// tones (tonal_pattern.h): what a checker tells a poet, and what the
// measures count.
#pragma once

#include <cstdint>
#include <span>

#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

struct PoemRules {
  bool rhymes = false;          // every rhyming line ends 平 in one rhyme
  int unrhymed = 0;             // lines that do not rhyme
  int unrhymed_oblique = 0;     // of those, the ones ending 仄
  int lines_in_line = 0;        // lines keeping 二四六分明
  bool keeps_links = false;     // 粘对 on the second characters
  bool whole_template = false;  // 粘对 at the second, fourth and sixth
  int lonely_level = 0;         // rhyming lines with 孤平
  int three_level_tail = 0;     // lines with 三平尾
  bool every_rule = false;      // all of the above at once
};

// `rhymes`: per line, the rhymes its last character ends in, as bits (the
// 平水韵 rhymes, or the bit of the modern group). REQUIRES: as many of both.
PoemRules CheckPoem(std::span<const LineTones> tones, std::span<const uint32_t> rhymes, int length,
                    bool first_line_rhymes);

}  // namespace miravel::poemd
