#include "poemd/indexing/classical_line.h"

namespace miravel::poemd {

ClassicalLine ReadClassically(const ClassicalReadings& readings, std::u16string_view written,
                              bool simplified_script, std::span<const Reading> in_context,
                              std::span<const Reading> alone) {
  ClassicalLine line;
  const bool has_context = in_context.size() == written.size() && alone.size() == written.size();
  for (size_t i = 0; i < written.size(); ++i) {
    ClassicalReading r =
        simplified_script ? readings.OfSimplified(written[i]) : readings.Of(written[i]);
    if (!r.Known()) r = readings.OfSimplified(written[i]);
    if (r.Free() && !r.entering && has_context) {
      const Reading here = in_context[i];
      const bool decided = here.tone != Tone::kUnknown &&
                           (here.tone != alone[i].tone || here.rhyme != alone[i].rhyme);
      if (decided && here.tone == Tone::kLevel) r.oblique = false;
      if (decided && here.tone == Tone::kOblique) {
        r.level = false;
        r.rhymes = 0;
      }
    }
    const auto bit = static_cast<uint8_t>(1 << i);
    if (r.level) line.tones.level |= bit;
    if (r.oblique) line.tones.oblique |= bit;
    if (i + 1 == written.size()) line.rhymes = r.level ? r.rhymes : 0;
  }
  return line;
}

}  // namespace miravel::poemd
