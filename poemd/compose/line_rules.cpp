#include "poemd/compose/line_rules.h"

namespace miravel::poemd {

int ClassicalRhymeStep(const LineReading& line, int length, PingshuiRhyme rhyme) {
  if (!line.classical.CanBeLevel(length - 1)) return 3;
  return rhyme != kNoPingshuiRhyme && (line.pingshui & RhymeBit(rhyme)) != 0 ? 0 : 2;
}

int ModernRhymeStep(const LineReading& line, int length, RhymeGroup group) {
  const bool level = line.modern.CanBeLevel(length - 1);
  const bool in_group = group != kNoRhymeGroup && line.xinyun == group;
  if (in_group) return level ? 0 : 1;
  return level ? 2 : 3;
}

int LineRules::Ending(size_t line, const LineReading& reading, bool classical) const {
  const LineTones tones = classical ? reading.classical : reading.modern;
  if (!IsRhyming(line)) return tones.CanBeOblique(length_ - 1) ? 0 : kPrimaryEndingPenalty;
  const int step = classical ? ClassicalRhymeStep(reading, length_, rhyme_.pingshui)
                             : ModernRhymeStep(reading, length_, rhyme_.xinyun);
  return step * kPrimaryRhymeUnit;
}

int LineRules::Template(size_t line, LineTones tones) const {
  int penalty = 0;
  // A line that keeps 粘对 keeps 二四六 on the tone 粘对 gave its second
  // character (a character of both classes cannot be read both ways at once).
  const bool linked = KeepsLink(tones, opening_, line);
  if (!linked) penalty += kPrimaryLinkPenalty;
  const bool in_line =
      linked ? KeepsTemplate(tones, length_, opening_, line) : KeepsInLine(tones, length_);
  if (!in_line) penalty += kPrimaryInLinePenalty;
  const bool lonely = IsRhyming(line) && IsLonelyLevel(tones, length_);
  if (lonely || HasThreeLevelTail(tones, length_)) penalty += kPrimaryLevelsPenalty;
  return penalty;
}

int LineRules::EndingPenalty(size_t line, const LineReading& reading) const {
  int penalty = Ending(line, reading, ReadsClassically(book_));
  // The modern rhyme, as a reader of today hears it, and no other modern rule.
  if (book_ == RhymeBook::kBoth && IsRhyming(line)) {
    penalty += ModernRhymeStep(reading, length_, rhyme_.xinyun) * kSecondaryRhymeUnit;
  }
  return penalty;
}

int LineRules::TemplatePenalty(size_t line, const LineReading& reading) const {
  return Template(line, ReadsClassically(book_) ? reading.classical : reading.modern);
}

}  // namespace miravel::poemd
