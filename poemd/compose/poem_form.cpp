#include "poemd/compose/poem_form.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "poemd/compose/poem_random.h"

namespace miravel::poemd {
namespace {

// Rhymes are numbered 1 to 30 (平水韵) or 1 to 14 (中华新韵); 0 is none.
constexpr int kKeys = kPingshuiRhymeCount + 1;

// A candidate's value under a rhyme and an opening: how well it ends (3 less
// the rhyme's step, or 3 for a line that does not rhyme and ends 仄), in
// units of kEndingUnit; then one for 粘对 and one more for the whole
// template. The unit is more than the template's most (2): a better ending
// is always worth more than any template.
constexpr int kEndingUnit = 10;
int Value(int step, int keeps) { return kEndingUnit * (3 - step) + keeps; }

// A form's score weighs the lines' endings above their templates: by more
// than the templates of the longest poem can sum to (2 a line, 100 lines).
constexpr double kEndingsOverTemplates = 1000;

// 0, 1 with 粘对, 2 with the whole template.
int Keeps(LineTones tones, int length, Opening opening, size_t line) {
  if (!KeepsLink(tones, opening, line)) return 0;
  return KeepsTemplate(tones, length, opening, line) ? 2 : 1;
}

// What the candidates of one line offer, by rhyme and opening: the best
// value of those in the rhyme, and of all of them out of it (a candidate in
// a rhyme is worth at least as much there as out of it, so the line's best
// under a rhyme is the greater of the two); and how many reach each.
struct LineOffer {
  std::array<std::array<int, kKeys>, 2> best_in{};
  std::array<std::array<int, kKeys>, 2> count_in{};
  std::array<int, 2> best_out{-1, -1};
  std::array<int, 2> count_out{0, 0};

  LineOffer() {
    for (auto& row : best_in) row.fill(-1);
  }
  void AddIn(int o, int key, int value) {
    if (value > best_in[o][key]) {
      best_in[o][key] = value;
      count_in[o][key] = 0;
    }
    count_in[o][key] += value == best_in[o][key];
  }
  void AddOut(int o, int value) {
    if (value > best_out[o]) {
      best_out[o] = value;
      count_out[o] = 0;
    }
    count_out[o] += value == best_out[o];
  }
  int Best(int o, int key) const { return std::max(best_in[o][key], best_out[o]); }
  int Count(int o, int key) const {
    return best_in[o][key] >= best_out[o] ? count_in[o][key] : count_out[o];
  }
};

class FormChooser {
 public:
  explicit FormChooser(const FormChoice& choice)
      : choice_(choice),
        classical_first_(ReadsClassically(choice.book)),
        length_(choice.length),
        n_(choice.lines.size()),
        offers_(n_),
        keeps_(n_) {
    for (size_t i = 0; i < n_; ++i) {
      for (const LineReading& r : choice.lines[i]) Offer(i, r);
      if (Rhyming(i) && Tail(i)) MarkPresent(*Tail(i));
    }
  }

  // The forms, best first: by how much they keep, then (in both books) how
  // well the modern rhyme holds, then in an order chance draws, each form as
  // likely to come first as the lines it has to choose from: poets use the
  // large rhymes most, but not alone.
  std::vector<PoemForm> Rank(size_t count) const {
    struct Option {
      double kept;
      double secondary;
      double draw;  // smaller first
      PoemForm form;
    };
    std::vector<Option> options;
    for (const int key : PrimaryKeys()) {
      for (const Opening o : Openings()) {
        const Score score = PrimaryScore(key, static_cast<int>(o));
        Option option{score.kept, 0, 0, {}};
        option.form.opening = o;
        if (classical_first_) {
          option.form.rhyme.pingshui = static_cast<PingshuiRhyme>(key);
        } else {
          option.form.rhyme.xinyun = static_cast<RhymeGroup>(key);
        }
        // An exponential race: the likelier a form, the sooner it arrives.
        PoemRandom random(choice_.draw ^ (uint64_t(key) << 8 | static_cast<uint64_t>(o)));
        option.draw = -std::log(1.0 - random.Unit()) / std::max(score.choices, 1e-9);
        options.push_back(option);
      }
    }
    std::sort(options.begin(), options.end(), [](const Option& a, const Option& b) {
      return a.kept != b.kept ? a.kept > b.kept : a.draw < b.draw;
    });
    // The modern rhyme, for the forms that may be wanted: the first `count`,
    // and as many more as that of those that keep as much as the last.
    const size_t wanted = std::min(count, options.size());
    const double last_kept = wanted > 0 ? options[wanted - 1].kept : 0;
    size_t weighed = 0;
    while (weighed < options.size() && weighed < 2 * wanted &&
           (weighed < wanted || options[weighed].kept == last_kept)) {
      Option& option = options[weighed++];
      if (choice_.book != RhymeBook::kBoth) continue;
      const auto [group, score] = BestSecondary(option.form);
      option.form.rhyme.xinyun = choice_.rhyme ? choice_.rhyme->xinyun : group;
      option.secondary = score;
    }
    options.resize(weighed);
    std::sort(options.begin(), options.end(), [](const Option& a, const Option& b) {
      if (a.kept != b.kept) return a.kept > b.kept;
      if (a.secondary != b.secondary) return a.secondary > b.secondary;
      return a.draw < b.draw;
    });
    std::vector<PoemForm> forms;
    for (size_t k = 0; k < std::min(count, options.size()); ++k) forms.push_back(options[k].form);
    if (forms.empty()) forms.emplace_back();
    return forms;
  }

 private:
  LineTones Primary(const LineReading& r) const {
    return classical_first_ ? r.classical : r.modern;
  }
  // The first line's ending gives way first: a step of any other line's
  // ending weighs more than all three of the first line's can (4 > 3). The
  // factor of the number of lines only scales them all alike.
  double Weight(size_t i) const { return i == 0 ? 1 : 4.0 * static_cast<double>(n_); }
  bool Rhyming(size_t i) const { return IsRhymingLine(i, choice_.first_line_rhymes); }
  const std::optional<LineReading>& Tail(size_t i) const {
    static const std::optional<LineReading> kNone;
    return i < choice_.tails.size() ? choice_.tails[i] : kNone;
  }

  // The primary rhymes a line's ending is in, as bits of key numbers.
  uint32_t PrimaryRhymes(const LineReading& r) const {
    if (classical_first_) return r.pingshui << 1;
    return r.xinyun == kNoRhymeGroup ? 0 : uint32_t{1} << r.xinyun;
  }
  // The primary step of a line in one of its rhymes, and out of them.
  int StepIn(const LineReading& r) const {
    if (classical_first_) return 0;
    return Primary(r).CanBeLevel(length_ - 1) ? 0 : 1;
  }
  int StepOut(const LineReading& r) const { return Primary(r).CanBeLevel(length_ - 1) ? 2 : 3; }
  int PrimaryStep(const LineReading& r, int key) const {
    return (PrimaryRhymes(r) >> key & 1) ? StepIn(r) : StepOut(r);
  }

  void MarkPresent(const LineReading& r) { present_ |= PrimaryRhymes(r); }

  void Offer(size_t i, const LineReading& r) {
    LineOffer& offer = offers_[i];
    const LineTones tones = Primary(r);
    const uint32_t rhymes = PrimaryRhymes(r);
    std::array<uint8_t, 2>& kept = keeps_[i].emplace_back();
    for (const int o : {0, 1}) {
      const int keeps = Keeps(tones, length_, static_cast<Opening>(o), i);
      kept[o] = static_cast<uint8_t>(keeps);
      if (!Rhyming(i)) {
        offer.AddOut(o, Value(tones.CanBeOblique(length_ - 1) ? 0 : 3, keeps));
        continue;
      }
      offer.AddOut(o, Value(StepOut(r), keeps));
      for (uint32_t bits = rhymes; bits != 0; bits &= bits - 1) {
        offer.AddIn(o, std::countr_zero(bits), Value(StepIn(r), keeps));
      }
    }
    if (Rhyming(i)) MarkPresent(r);
  }

  std::vector<Opening> Openings() const {
    if (choice_.opening) return {*choice_.opening};
    const Opening other = choice_.tie == Opening::kLevel ? Opening::kOblique : Opening::kLevel;
    return {choice_.tie, other};
  }

  std::vector<int> PrimaryKeys() const {
    if (choice_.rhyme) {
      return {classical_first_ ? choice_.rhyme->pingshui : choice_.rhyme->xinyun};
    }
    std::vector<int> keys;
    for (int k = 1; k < kKeys; ++k) {
      if (present_ >> k & 1) keys.push_back(k);
    }
    if (keys.empty()) keys.push_back(0);
    return keys;
  }

  // How much the lines keep under a rhyme and opening: their endings
  // weighed (the first line's least), then how many keep the template; and
  // how many lines they have to choose from, a geometric mean over lines.
  struct Score {
    double kept = 0;
    double choices = 1;
  };
  Score PrimaryScore(int key, int o) const {
    double endings = 0;
    double templates = 0;
    double depth = 0;
    int counted = 0;
    for (size_t i = 0; i < n_; ++i) {
      if (choice_.lines[i].empty()) {
        // A made line ends where it must: on its hidden character at the
        // tail, anywhere else.
        if (!Rhyming(i)) continue;
        endings += Weight(i) * (3 - (Tail(i) ? PrimaryStep(*Tail(i), key) : 0));
        continue;
      }
      const int best = offers_[i].Best(o, key);
      endings += Weight(i) * (best / kEndingUnit);
      templates += best % kEndingUnit;
      depth += std::log(static_cast<double>(std::max(offers_[i].Count(o, key), 1)));
      ++counted;
    }
    return {endings * kEndingsOverTemplates + templates, std::exp(depth / std::max(counted, 1))};
  }

  // The modern group most rhyming lines can end in among their candidates
  // that keep the primary rules as well as any.
  std::pair<RhymeGroup, double> BestSecondary(const PoemForm& form) const {
    const int key = form.rhyme.pingshui;
    const int o = static_cast<int>(form.opening);
    std::array<double, kRhymeGroupCount + 1> score{};
    for (size_t i = 0; i < n_; ++i) {
      if (!Rhyming(i)) continue;
      // The best quality each group offers: 3 less the modern step.
      std::array<int, kRhymeGroupCount + 1> quality{};
      if (choice_.lines[i].empty()) {
        for (int g = 1; g <= kRhymeGroupCount; ++g) {
          quality[g] =
              Tail(i) ? 3 - ModernRhymeStep(*Tail(i), length_, static_cast<RhymeGroup>(g)) : 3;
        }
      } else {
        const int top = offers_[i].Best(o, key);
        int out = 0;
        for (size_t c = 0; c < choice_.lines[i].size(); ++c) {
          const LineReading& r = choice_.lines[i][c];
          if (Value(PrimaryStep(r, key), keeps_[i][c][o]) != top) continue;
          const bool level = r.modern.CanBeLevel(length_ - 1);
          out = std::max(out, level ? 1 : 0);
          if (r.xinyun != kNoRhymeGroup)
            quality[r.xinyun] = std::max(quality[r.xinyun], level ? 3 : 2);
        }
        for (int g = 1; g <= kRhymeGroupCount; ++g) quality[g] = std::max(quality[g], out);
      }
      for (int g = 1; g <= kRhymeGroupCount; ++g) score[g] += Weight(i) * quality[g];
    }
    int best = 1;
    for (int g = 2; g <= kRhymeGroupCount; ++g) {
      if (score[g] > score[best]) best = g;
    }
    if (choice_.rhyme) best = choice_.rhyme->xinyun;
    return {static_cast<RhymeGroup>(best), best == 0 ? 0 : score[best]};
  }

  const FormChoice& choice_;
  const bool classical_first_;
  const int length_;
  const size_t n_;
  std::vector<LineOffer> offers_;
  std::vector<std::vector<std::array<uint8_t, 2>>>
      keeps_;             // per line and candidate, Keeps by opening
  uint32_t present_ = 0;  // the primary rhymes some rhyming line can end in, as bits
};

}  // namespace

std::vector<PoemForm> RankForms(const FormChoice& choice, size_t count) {
  return FormChooser(choice).Rank(std::max<size_t>(count, 1));
}

}  // namespace miravel::poemd
