#include "poemd/compose/line_rules.h"

namespace miravel::poemd {

int LineRules::Ending(size_t line, LineTones tones, RhymeGroup group) const {
  const Tone last = tones.At(length_ - 1);
  if (!IsRhyming(line)) return last == Tone::kOblique ? 0 : kEndingPenalty;
  const bool in_group = group == rhyme_ && rhyme_ != kNoRhymeGroup;
  if (in_group && last == Tone::kLevel) return kRhymeSteps[0];
  if (in_group) return kRhymeSteps[1];
  return last == Tone::kLevel ? kRhymeSteps[2] : kRhymeSteps[3];
}

int LineRules::Penalty(size_t line, LineTones tones, RhymeGroup group) const {
  return Ending(line, tones, group) + (KeepsLink(tones, opening_, line) ? 0 : kLinkPenalty) +
         (KeepsInLine(tones, length_) ? 0 : kInLinePenalty);
}

}  // namespace miravel::poemd
