#include "poemd/compose/made_line_donors.h"

namespace miravel::poemd {

std::vector<Candidate> MadeLines(size_t i, const FormRules& form, const HiddenLines& hidden,
                                 const ScoringTerms& terms, const CandidateMaker& maker,
                                 PoemRandom& random) {
  std::vector<Candidate> out;
  const CorpusIndex& index = hidden.Index();
  const int length = hidden.Length();
  const size_t count = index.LineCount(length);
  const char16_t character = hidden.HiddenAt(i);
  const int at = hidden.AtLine(i);
  if (count == 0) {
    out.push_back(maker.Blank(i));
    return out;
  }
  const bool classical = ReadsClassically(hidden.Order().book);
  const ClassicalReading character_classical = index.ClassicalReadingOf(character);
  const Reading character_modern = index.ReadingOf(character);
  const bool want_level =
      classical ? character_classical.level : character_modern.tone == Tone::kLevel;
  const bool want_oblique =
      classical ? character_classical.oblique : character_modern.tone == Tone::kOblique;
  const ComposeSizes& sizes = hidden.Options().sizes;
  for (size_t attempt = 0; attempt < sizes.donor_tries && out.size() < sizes.candidates;
       ++attempt) {
    const auto line = static_cast<uint32_t>(random.Below(count));
    const LineTraits& traits = index.Traits(length, line);
    const LineTones donor_tones = classical ? traits.classical : traits.modern;
    const bool fits = (want_level && donor_tones.CanBeLevel(at)) ||
                      (want_oblique && donor_tones.CanBeOblique(at)) ||
                      (!want_level && !want_oblique);
    if (!fits) continue;
    if (!traits.plain() || traits.rank() == SourceRank::kDrama) continue;
    if (index.Text(length, line)[at] == character || hidden.Refused(i, line)) continue;
    std::u16string text(index.Text(length, line));
    text[at] = character;
    const LineReading reading = maker.MadeReading(i, line);
    LineView view = maker.ViewOf(i, line, traits, reading);
    view.made = true;
    view.text = text;
    if (terms.Refuses(LineStage::kFound, view)) continue;
    view.rules = &form.rules;
    view.opening = form.opening;
    // Donors that keep every rule first; the rest only to fill up.
    if (terms.LinePenalty(LineStage::kForm, view) != 0 && attempt < sizes.donor_tries / 2) {
      continue;
    }
    out.push_back(maker.Made(i, line, form));
  }
  if (out.empty()) {
    // No donor reads as the character does: the line breaks the rhyme as
    // badly as a line can.
    out.push_back(
        maker.MadeAsIs(i, static_cast<uint32_t>(random.Below(count)), 3 * kPrimaryRhymeUnit));
  }
  return out;
}

}  // namespace miravel::poemd
