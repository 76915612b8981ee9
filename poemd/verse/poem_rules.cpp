#include "poemd/verse/poem_rules.h"

namespace miravel::poemd {

PoemRules CheckPoem(std::span<const LineTones> tones, std::span<const uint32_t> rhymes, int length,
                    bool first_line_rhymes) {
  PoemRules rules;
  uint32_t shared = ~uint32_t{0};
  bool level_ends = true;
  for (size_t i = 0; i < tones.size(); ++i) {
    const LineTones t = tones[i];
    rules.lines_in_line += KeepsInLine(t, length);
    rules.three_level_tail += HasThreeLevelTail(t, length);
    if (!IsRhymingLine(i, first_line_rhymes)) {
      ++rules.unrhymed;
      rules.unrhymed_oblique += t.CanBeOblique(length - 1);
      continue;
    }
    rules.lonely_level += IsLonelyLevel(t, length);
    shared &= rhymes[i];
    level_ends = level_ends && t.CanBeLevel(length - 1);
  }
  rules.rhymes = !tones.empty() && shared != 0 && level_ends;
  rules.keeps_links = KeepsLinks(tones);
  rules.whole_template = KeepsWholeTemplate(tones, length);
  rules.every_rule = rules.rhymes && rules.unrhymed_oblique == rules.unrhymed &&
                     rules.whole_template && rules.lonely_level == 0 && rules.three_level_tail == 0;
  return rules;
}

}  // namespace miravel::poemd
