#include "poemd/compose/poem_form.h"

#include <array>
#include <cmath>
#include <tuple>

#include "poemd/compose/line_rules.h"

namespace miravel::poemd {
namespace {

using PerGroup = std::array<double, kRhymeGroupCount + 1>;
using PerOpening = std::array<PerGroup, 2>;

// What the lines offer each rhyme group and template, summed over lines.
struct FormTally {
  PerGroup rhyme_score{};
  PerGroup choices{};
  PerOpening linked{};  // lines with a line that keeps the ending and 粘对
  PerOpening whole{};   // the same, keeping 二四 too
  PerOpening depth{};   // the log of how many keep everything

  // A line that will be made: it can end in any group unless its hidden
  // character, at the tail, ends it.
  void AddMadeLine(double weight, RhymeGroup tail) {
    for (int g = 1; g <= kRhymeGroupCount; ++g) {
      rhyme_score[g] += (tail == 0 || tail == g) ? 2 * weight : 0;
    }
  }

  void AddCorpusLine(size_t i, bool rhyming, double weight, int length,
                     const std::vector<LineTraits>& lines);
};

// Counts per opening and group; a line that does not rhyme counts in group
// 0 for every group.
void FormTally::AddCorpusLine(size_t i, bool rhyming, double weight, int length,
                              const std::vector<LineTraits>& lines) {
  std::array<std::array<size_t, kRhymeGroupCount + 1>, 2> fits_link{};
  std::array<std::array<size_t, kRhymeGroupCount + 1>, 2> fits_all{};
  PerGroup level{};
  PerGroup any{};
  for (const LineTraits& traits : lines) {
    const LineTones tones{traits.level, traits.oblique};
    const Tone last = tones.At(length - 1);
    ++any[traits.rhyme];
    if (last == Tone::kLevel) ++level[traits.rhyme];
    if (last != (rhyming ? Tone::kLevel : Tone::kOblique)) continue;
    const size_t group = rhyming ? traits.rhyme : 0;
    const bool in_line = KeepsInLine(tones, length);
    for (const int o : {0, 1}) {
      if (!KeepsLink(tones, static_cast<Opening>(o), i)) continue;
      ++fits_link[o][group];
      fits_all[o][group] += in_line;
    }
  }
  for (int o = 0; o < 2; ++o) {
    for (int g = 1; g <= kRhymeGroupCount; ++g) {
      const size_t at = rhyming ? static_cast<size_t>(g) : 0;
      linked[o][g] += fits_link[o][at] > 0;
      whole[o][g] += fits_all[o][at] > 0;
      depth[o][g] += std::log1p(static_cast<double>(fits_all[o][at]));
    }
  }
  if (!rhyming) return;
  for (int g = 1; g <= kRhymeGroupCount; ++g) {
    rhyme_score[g] += weight * (level[g] > 0 ? 2 : any[g] > 0 ? 1 : 0);
    choices[g] += any[g];
  }
}

}  // namespace

PoemForm ChooseForm(const FormChoice& choice) {
  const size_t n = choice.lines.size();
  FormTally tally;
  for (size_t i = 0; i < n; ++i) {
    const bool rhyming = IsRhymingLine(i, choice.first_line_rhymes);
    // The first line's rhyme gives way first.
    const double weight = i == 0 ? 1 : 4.0 * static_cast<double>(n);
    if (!choice.lines[i].empty()) {
      tally.AddCorpusLine(i, rhyming, weight, choice.length, choice.lines[i]);
    } else if (rhyming) {
      tally.AddMadeLine(weight, i < choice.tail_rhymes.size() ? choice.tail_rhymes[i] : 0);
    }
  }
  const auto key = [&](int o, int g) {
    return std::make_tuple(tally.rhyme_score[g], tally.linked[o][g], tally.whole[o][g],
                           tally.depth[o][g] + 1e-6 * tally.choices[g]);
  };
  int best_o = static_cast<int>(choice.tie);
  int best_g = 0;
  for (const int o : {static_cast<int>(choice.tie), 1 - static_cast<int>(choice.tie)}) {
    if (choice.opening && static_cast<int>(*choice.opening) != o) continue;
    for (int g = 1; g <= kRhymeGroupCount; ++g) {
      if (choice.rhyme && *choice.rhyme != g) continue;
      if (best_g == 0 || key(o, g) > key(best_o, best_g)) {
        best_o = o;
        best_g = g;
      }
    }
  }
  PoemForm form;
  form.opening = choice.opening.value_or(static_cast<Opening>(best_o));
  form.rhyme = choice.rhyme.value_or(best_g != 0 && tally.rhyme_score[best_g] > 0
                                         ? static_cast<RhymeGroup>(best_g)
                                         : kNoRhymeGroup);
  return form;
}

}  // namespace miravel::poemd
