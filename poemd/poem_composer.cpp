#include "poemd/poem_composer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <random>
#include <tuple>

namespace miravel::poemd {
namespace {

// Penalties in the order the rules give way: breaking a later rule always
// costs less than breaking an earlier one, and any penalty outweighs every
// preference below.
constexpr int kMadePenalty = 1 << 20;
constexpr int kRhymeSteps[4] = {0, 1 << 15, 2 << 15, 3 << 15};
constexpr int kEndingPenalty = 1 << 13;
constexpr int kRepeatPenalty = 1 << 10;  // per repeated character
constexpr int kLinkPenalty = 1 << 8;
constexpr int kInLinePenalty = 1 << 7;

// Preferences, in units of the association vectors' mean association of
// two consecutive lines (about 0.1 between random lines and real ones).
constexpr float kCohesionWeight = 1.0f;
constexpr float kParallelWeight = 0.1f;
constexpr float kCoupletBonus = 0.1f;
constexpr float kThemeWeight = 0.25f;
constexpr float kPlainBonus = 0.5f;
constexpr float kRankBonus[kSourceRanks] = {0.15f, 0.1f, 0.0f, -1.0f};
constexpr float kNoise = 0.02f;  // the spread of the Gumbel noise that varies poems

// How many corpus lines are looked at per hidden character, how many are
// ranked with their vectors, and how many the search weighs.
constexpr size_t kScanned = 1024;
constexpr size_t kShortlisted = 160;
constexpr size_t kCandidates = 40;
constexpr size_t kCoupletsTried = 64;
constexpr size_t kBeamWidth = 16;
constexpr int kDonorTries = 4000;
// Repeats are looked for within this many consecutive lines.
constexpr size_t kRepeatSpan = 8;

struct Candidate {
  uint32_t line = 0;
  bool made = false;
  std::u16string text;
  int penalty = 0;
  float prior = 0;
  LineVector vector{};
  LineVector following{};
  uint64_t signature = 0;  // characters that must not repeat, hashed onto 64 bits
  int partner = -1;        // the next line's candidate that completes a real couplet
};

struct Scanned {
  uint32_t line;
  LineTraits traits;
};

struct Step {
  float score;  // preferences minus penalties
  int parent;
  int pick;
};

uint64_t Bit(char16_t c) { return uint64_t{1} << ((uint32_t{c} * 0x9E3779B1u) >> 26); }

class Composer {
 public:
  Composer(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options)
      : index_(index),
        order_(order),
        options_(options),
        rng_(options.seed),
        n_(order.characters.size()),
        length_(order.length),
        at_(PositionOf(order.place, order.length)),
        association_(index.Associations()) {
    for (const HiddenCharacter& c : order.characters) hidden_.push_back(c.unicode);
    std::sort(hidden_.begin(), hidden_.end());
  }

  Poem Compose() {
    Poem poem;
    if (n_ == 0) return poem;
    std::vector<std::vector<Scanned>> scanned(n_);
    for (size_t i = 0; i < n_; ++i) scanned[i] = Scan(i);
    ChooseForm(scanned);
    theme_ = ThemeVector();
    candidates_.resize(n_);
    for (size_t i = 0; i < n_; ++i) candidates_[i] = Candidates(i, scanned[i]);
    Focus();
    AddCouplets();
    const std::vector<int> picks = Search();
    poem.rhyme = rhyme_;
    poem.opening = opening_;
    for (size_t i = 0; i < n_; ++i) {
      const Candidate& c = candidates_[i][picks[i]];
      poem.lines.push_back({c.text, c.line, c.made, index_.LineCount(length_) > 0});
    }
    return poem;
  }

 private:
  char16_t HiddenAt(size_t i) const { return order_.characters[i].unicode; }
  bool IsRhyming(size_t i) const { return i % 2 == 1 || (i == 0 && order_.first_line_rhymes); }
  bool IsHidden(char16_t c) const { return std::binary_search(hidden_.begin(), hidden_.end(), c); }
  size_t Uniform(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
  float Gumbel() {
    const double u = std::uniform_real_distribution<double>(1e-12, 1.0)(rng_);
    return static_cast<float>(-std::log(-std::log(u))) * kNoise;
  }

  bool Refused(size_t i, uint32_t line) const {
    if (i >= options_.refused.size()) return false;
    const auto& refused = options_.refused[i];
    return std::find(refused.begin(), refused.end(), line) != refused.end();
  }

  std::optional<uint32_t> Kept(size_t i) const {
    if (i >= options_.kept.size() || !options_.kept[i]) return std::nullopt;
    const uint32_t line = *options_.kept[i];
    if (line >= index_.LineCount(length_) || index_.Text(length_, line)[at_] != HiddenAt(i)) {
      return std::nullopt;
    }
    return line;
  }

  // The corpus lines looked at for line i: all of them, or a window from a
  // random start. Drama lines only when nothing else holds the character.
  std::vector<Scanned> Scan(size_t i) {
    std::vector<Scanned> out;
    if (const std::optional<uint32_t> kept = Kept(i)) {
      out.push_back({*kept, index_.Traits(length_, *kept)});
      return out;
    }
    std::span<const uint32_t> lines = index_.LinesWith(HiddenAt(i), length_, order_.place);
    // Postings list each character's lines by source rank: drama last.
    const auto first_drama = std::partition_point(lines.begin(), lines.end(), [&](uint32_t line) {
      return index_.Traits(length_, line).rank() != SourceRank::kDrama;
    });
    if (first_drama != lines.begin()) lines = lines.first(first_drama - lines.begin());
    const size_t count = std::min(lines.size(), kScanned);
    const size_t start = lines.size() > count ? Uniform(lines.size()) : 0;
    out.reserve(count);
    for (size_t k = 0; k < count; ++k) {
      const uint32_t line = lines[(start + k) % lines.size()];
      if (!Refused(i, line)) out.push_back({line, index_.Traits(length_, line)});
    }
    return out;
  }

  // The rhyme group and template, chosen together: first the group most
  // rhyming lines can end in (on 平 counting double; the first line's rhyme
  // gives way first), then the template under which most lines have a line
  // keeping every rule, then the pair with more such lines to choose from.
  void ChooseForm(const std::vector<std::vector<Scanned>>& scanned) {
    using PerGroup = std::array<double, kRhymeGroupCount + 1>;
    PerGroup rhyme_score{};
    PerGroup choices{};
    // [opening][group]: lines with a line that keeps the ending and 粘对, the
    // same keeping 二四 too, and the log of how many keep everything.
    std::array<PerGroup, 2> linked{};
    std::array<PerGroup, 2> whole{};
    std::array<PerGroup, 2> depth{};
    for (size_t i = 0; i < n_; ++i) {
      using Fits = std::array<std::array<size_t, kRhymeGroupCount + 1>, 2>;
      Fits fits_link{};
      Fits fits_all{};
      PerGroup level{};
      PerGroup any{};
      for (const Scanned& s : scanned[i]) {
        const LineTones tones = Tones(s.traits);
        const Tone last = tones.At(length_ - 1);
        ++any[s.traits.rhyme];
        if (last == Tone::kLevel) ++level[s.traits.rhyme];
        if (!IsRhyming(i) && last != Tone::kOblique) continue;
        if (IsRhyming(i) && last != Tone::kLevel) continue;
        const bool in_line = KeepsInLine(tones, length_);
        for (const int o : {0, 1}) {
          if (!KeepsLink(tones, static_cast<Opening>(o), i)) continue;
          for (int g = 1; g <= kRhymeGroupCount; ++g) {
            if (IsRhyming(i) && g != s.traits.rhyme) continue;
            ++fits_link[o][g];
            fits_all[o][g] += in_line;
          }
        }
      }
      if (!scanned[i].empty()) {
        for (int o = 0; o < 2; ++o) {
          for (int g = 1; g <= kRhymeGroupCount; ++g) {
            linked[o][g] += fits_link[o][g] > 0;
            whole[o][g] += fits_all[o][g] > 0;
            depth[o][g] += std::log1p(static_cast<double>(fits_all[o][g]));
          }
        }
      }
      if (!IsRhyming(i) || scanned[i].empty()) continue;
      const double weight = i == 0 ? 1 : 4.0 * static_cast<double>(n_);
      for (int g = 1; g <= kRhymeGroupCount; ++g) {
        rhyme_score[g] += weight * (level[g] > 0 ? 2 : any[g] > 0 ? 1 : 0);
        choices[g] += any[g];
      }
    }
    // A made line can end in any group its donors offer, unless the hidden
    // character ends it.
    for (size_t i = 0; i < n_; ++i) {
      if (!scanned[i].empty() || !IsRhyming(i)) continue;
      const double weight = i == 0 ? 1 : 4.0 * static_cast<double>(n_);
      for (int g = 1; g <= kRhymeGroupCount; ++g) {
        const bool fits = order_.place != Place::kTail || index_.ReadingOf(HiddenAt(i)).rhyme == g;
        rhyme_score[g] += fits ? 2 * weight : 0;
      }
    }
    const auto key = [&](int o, int g) {
      return std::make_tuple(rhyme_score[g], linked[o][g], whole[o][g],
                             depth[o][g] + 1e-6 * choices[g]);
    };
    int best_o = static_cast<int>(Uniform(2)), best_g = 0;
    for (int o = 0; o < 2; ++o) {
      if (options_.opening && static_cast<int>(*options_.opening) != o) continue;
      for (int g = 1; g <= kRhymeGroupCount; ++g) {
        if (options_.rhyme && *options_.rhyme != g) continue;
        if (best_g == 0 || key(o, g) > key(best_o, best_g)) {
          best_o = o;
          best_g = g;
        }
      }
    }
    if (options_.opening) best_o = static_cast<int>(*options_.opening);
    rhyme_ = options_.rhyme.value_or(rhyme_score[best_g] > 0 ? static_cast<RhymeGroup>(best_g)
                                                             : kNoRhymeGroup);
    opening_ = static_cast<Opening>(best_o);
  }

  static LineTones Tones(const LineTraits& traits) { return {traits.level, traits.oblique}; }

  int EndingPenalty(size_t i, LineTones tones, RhymeGroup group) const {
    const Tone last = tones.At(length_ - 1);
    if (!IsRhyming(i)) return last == Tone::kOblique ? 0 : kEndingPenalty;
    const bool in_group = group == rhyme_ && rhyme_ != kNoRhymeGroup;
    if (in_group && last == Tone::kLevel) return kRhymeSteps[0];
    if (in_group) return kRhymeSteps[1];
    return last == Tone::kLevel ? kRhymeSteps[2] : kRhymeSteps[3];
  }

  int Penalty(size_t i, LineTones tones, RhymeGroup group) const {
    return EndingPenalty(i, tones, group) + (KeepsLink(tones, opening_, i) ? 0 : kLinkPenalty) +
           (KeepsInLine(tones, length_) ? 0 : kInLinePenalty);
  }

  LineVector ThemeVector() const {
    std::u16string words = options_.theme;
    if (words.empty()) {
      for (const HiddenCharacter& c : order_.characters) words.push_back(c.unicode);
    }
    return association_.Following(association_.Vector(words));
  }

  // Fills in what the search needs of a candidate whose line, text and
  // penalty are set.
  void Complete(Candidate& c, float base_prior) const {
    c.vector = association_.Vector(c.text);
    c.following = association_.Following(c.vector);
    c.prior = base_prior + kThemeWeight * Association::Dot(c.vector, theme_);
    for (int k = 0; k < length_; ++k) {
      if (k != at_ && !IsHidden(c.text[k])) c.signature |= Bit(c.text[k]);
    }
  }

  float BasePrior(const LineTraits& traits) {
    return kRankBonus[static_cast<int>(traits.rank())] + (traits.plain() ? kPlainBonus : 0.0f) +
           Gumbel();
  }

  template <typename T>
  static bool Better(const T& a, const T& b) {
    return a.penalty != b.penalty ? a.penalty < b.penalty : a.prior > b.prior;
  }

  // Line i's shortlist: the lines that keep the most rules, by prior, with
  // their vectors.
  std::vector<Candidate> Candidates(size_t i, const std::vector<Scanned>& scanned) {
    if (scanned.empty()) return MadeCandidates(i);
    struct Ranked {
      int penalty;
      float prior;
      size_t at;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(scanned.size());
    for (size_t k = 0; k < scanned.size(); ++k) {
      ranked.push_back({Penalty(i, Tones(scanned[k].traits), scanned[k].traits.rhyme),
                        BasePrior(scanned[k].traits), k});
    }
    const size_t shortlisted = std::min(ranked.size(), kShortlisted);
    std::partial_sort(ranked.begin(), ranked.begin() + shortlisted, ranked.end(), Better<Ranked>);
    std::vector<Candidate> out(shortlisted);
    for (size_t k = 0; k < shortlisted; ++k) {
      Candidate& c = out[k];
      c.line = scanned[ranked[k].at].line;
      c.text = std::u16string(index_.Text(length_, c.line));
      c.penalty = ranked[k].penalty;
      Complete(c, ranked[k].prior);
    }
    std::sort(out.begin(), out.end(), Better<Candidate>);
    // A character hidden more often than the corpus has lines for it.
    const auto wanted = static_cast<size_t>(
        std::count_if(order_.characters.begin(), order_.characters.end(),
                      [&](const HiddenCharacter& c) { return c.unicode == HiddenAt(i); }));
    if (out.size() < wanted) {
      std::vector<Candidate> made = MadeCandidates(i);
      std::move(made.begin(), made.end(), std::back_inserter(out));
    }
    return out;
  }

  // Lines made from corpus lines whose character at the place has the
  // hidden character's tone class.
  std::vector<Candidate> MadeCandidates(size_t i) {
    std::vector<Candidate> out;
    const size_t count = index_.LineCount(length_);
    const char16_t hidden = HiddenAt(i);
    if (count == 0) {
      Candidate c;
      c.text.assign(length_, u'\u3000');
      c.text[at_] = hidden;
      c.made = true;
      c.penalty = kMadePenalty;
      out.push_back(c);
      return out;
    }
    const Reading reading = index_.ReadingOf(hidden);
    const uint8_t bit = static_cast<uint8_t>(1 << at_);
    for (int attempt = 0; attempt < kDonorTries && out.size() < kCandidates; ++attempt) {
      const auto line = static_cast<uint32_t>(Uniform(count));
      const LineTraits& traits = index_.Traits(length_, line);
      LineTones tones = Tones(traits);
      const bool level = tones.At(at_) == Tone::kLevel;
      if (reading.tone != Tone::kUnknown && level != (reading.tone == Tone::kLevel)) continue;
      if (!traits.plain() || traits.rank() == SourceRank::kDrama) continue;
      tones.level =
          static_cast<uint8_t>((tones.level & ~bit) | (reading.tone == Tone::kLevel ? bit : 0));
      tones.oblique =
          static_cast<uint8_t>((tones.oblique & ~bit) | (reading.tone == Tone::kOblique ? bit : 0));
      const RhymeGroup group = order_.place == Place::kTail ? reading.rhyme : traits.rhyme;
      const int penalty = Penalty(i, tones, group);
      // Donors that keep every rule first; the rest only to fill up.
      if (penalty != 0 && attempt < kDonorTries / 2) continue;
      Candidate c;
      c.line = line;
      c.made = true;
      c.text = std::u16string(index_.Text(length_, line));
      c.text[at_] = hidden;
      c.penalty = kMadePenalty + penalty;
      Complete(c, BasePrior(traits));
      out.push_back(std::move(c));
    }
    if (out.empty()) {
      Candidate c;
      c.line = static_cast<uint32_t>(Uniform(count));
      c.made = true;
      c.text = std::u16string(index_.Text(length_, c.line));
      c.text[at_] = hidden;
      c.penalty = kMadePenalty + kRhymeSteps[3];
      Complete(c, 0);
      out.push_back(std::move(c));
    }
    return out;
  }

  // Cuts each shortlist to the candidates that go best with what the lines
  // either side can offer: the mean vector of their likeliest candidates.
  void Focus() {
    std::vector<LineVector> centre(n_);
    for (size_t i = 0; i < n_; ++i) {
      const std::vector<Candidate>& list = candidates_[i];
      size_t counted = 0;
      for (size_t k = 0; k < list.size() && k < kCandidates; ++k) {
        if (list[k].penalty != list[0].penalty) break;
        for (int d = 0; d < kCohesionDims; ++d) centre[i][d] += list[k].vector[d];
        ++counted;
      }
      for (float& x : centre[i]) x /= static_cast<float>(std::max<size_t>(counted, 1));
    }
    for (size_t i = 0; i < n_; ++i) {
      LineVector around{};
      for (const size_t j : {i - 1, i + 1}) {
        if (j >= n_) continue;  // i - 1 wraps around below 0
        for (int d = 0; d < kCohesionDims; ++d) around[d] += centre[j][d];
      }
      const LineVector target = association_.Following(around);
      std::vector<Candidate>& list = candidates_[i];
      for (Candidate& c : list) c.prior += kCohesionWeight * Association::Dot(c.vector, target);
      const size_t kept = std::min(list.size(), kCandidates);
      std::partial_sort(list.begin(), list.begin() + kept, list.end(), Better<Candidate>);
      list.resize(kept);
    }
  }

  // Real couplets whose lines hold two consecutive hidden characters at
  // their place join the candidates, paired.
  void AddCouplets() {
    for (size_t i = 0; i + 1 < n_; i += 2) {
      if (Kept(i) || Kept(i + 1)) continue;
      const std::span<const uint32_t> couplets =
          index_.CoupletsWith(HiddenAt(i), HiddenAt(i + 1), length_, order_.place);
      if (couplets.empty()) continue;
      const size_t start = Uniform(couplets.size());
      for (size_t k = 0; k < std::min(couplets.size(), kCoupletsTried); ++k) {
        const Couplet couplet = index_.CoupletAt(length_, couplets[(start + k) % couplets.size()]);
        if (Refused(i, couplet.first) || Refused(i + 1, couplet.second)) continue;
        const int first = Include(i, couplet.first);
        const int second = Include(i + 1, couplet.second);
        candidates_[i][first].partner = second;
      }
    }
  }

  // The position of `line` among line i's candidates, added if missing.
  int Include(size_t i, uint32_t line) {
    std::vector<Candidate>& list = candidates_[i];
    for (size_t k = 0; k < list.size(); ++k) {
      if (!list[k].made && list[k].line == line) return static_cast<int>(k);
    }
    const LineTraits& traits = index_.Traits(length_, line);
    Candidate c;
    c.line = line;
    c.text = std::u16string(index_.Text(length_, line));
    c.penalty = Penalty(i, Tones(traits), traits.rhyme);
    Complete(c, BasePrior(traits));
    list.push_back(std::move(c));
    return static_cast<int>(list.size() - 1);
  }

  // Characters of `c` that the lines before it (back to kRepeatSpan) hold.
  int Repeats(const Candidate& c, const std::vector<std::vector<Step>>& steps, size_t i,
              int parent) const {
    uint64_t seen = 0;
    int at = parent;
    for (size_t back = 1; back < kRepeatSpan && back <= i; ++back) {
      const Step& step = steps[i - back][at];
      seen |= candidates_[i - back][step.pick].signature;
      at = step.parent;
    }
    if ((seen & c.signature) == 0) return 0;
    int repeats = 0;
    for (int k = 0; k < length_; ++k) {
      const char16_t ch = c.text[k];
      if (k == at_ || IsHidden(ch)) continue;
      at = parent;
      bool found = false;
      for (size_t back = 1; back < kRepeatSpan && back <= i && !found; ++back) {
        const Step& step = steps[i - back][at];
        const std::u16string& earlier = candidates_[i - back][step.pick].text;
        found = earlier.find(ch) != std::u16string::npos;
        at = step.parent;
      }
      repeats += found;
    }
    return repeats;
  }

  bool UsedBefore(uint32_t line, const std::vector<std::vector<Step>>& steps, size_t i,
                  int parent) const {
    for (size_t back = 1, at = static_cast<size_t>(parent); back <= i; ++back) {
      const Step& step = steps[i - back][at];
      const Candidate& c = candidates_[i - back][step.pick];
      if (!c.made && c.line == line) return true;
      at = static_cast<size_t>(step.parent);
    }
    return false;
  }

  float Transition(const Candidate& previous, int previous_partner, const Candidate& c, int pick,
                   size_t i) const {
    float score = kCohesionWeight * Association::Dot(previous.vector, c.following);
    if (i % 2 == 1) {
      score += kParallelWeight * association_.Parallel(previous.text, c.text);
      if (previous_partner == pick) score += kCoupletBonus;
    }
    return score;
  }

  std::vector<int> Search() {
    std::vector<std::vector<Step>> steps(n_);
    for (size_t k = 0; k < candidates_[0].size(); ++k) {
      const Candidate& c = candidates_[0][k];
      steps[0].push_back({c.prior - static_cast<float>(c.penalty), -1, static_cast<int>(k)});
    }
    Prune(steps[0]);
    for (size_t i = 1; i < n_; ++i) {
      for (size_t p = 0; p < steps[i - 1].size(); ++p) {
        const Step& from = steps[i - 1][p];
        const Candidate& previous = candidates_[i - 1][from.pick];
        for (size_t k = 0; k < candidates_[i].size(); ++k) {
          const Candidate& c = candidates_[i][k];
          if (!c.made && UsedBefore(c.line, steps, i, static_cast<int>(p))) continue;
          const int penalty =
              c.penalty + kRepeatPenalty * Repeats(c, steps, i, static_cast<int>(p));
          const float score = from.score + c.prior - static_cast<float>(penalty) +
                              Transition(previous, previous.partner, c, static_cast<int>(k), i);
          steps[i].push_back({score, static_cast<int>(p), static_cast<int>(k)});
        }
      }
      if (steps[i].empty()) {
        // Every candidate was taken already: take one again rather than none.
        steps[i].push_back({steps[i - 1][0].score - kMadePenalty, 0, 0});
      }
      Prune(steps[i]);
    }
    std::vector<int> picks(n_);
    int at = 0;
    for (size_t i = n_; i-- > 0;) {
      picks[i] = steps[i][at].pick;
      at = steps[i][at].parent;
    }
    return picks;
  }

  static void Prune(std::vector<Step>& steps) {
    const size_t keep = std::min(steps.size(), kBeamWidth);
    std::partial_sort(steps.begin(), steps.begin() + keep, steps.end(),
                      [](const Step& a, const Step& b) { return a.score > b.score; });
    steps.resize(keep);
  }

  const CorpusIndex& index_;
  const PoemOrder& order_;
  const ComposeOptions& options_;
  std::mt19937_64 rng_;
  const size_t n_;
  const int length_;
  const int at_;
  const Association& association_;
  std::vector<char16_t> hidden_;
  RhymeGroup rhyme_ = kNoRhymeGroup;
  Opening opening_ = Opening::kLevel;
  LineVector theme_{};
  std::vector<std::vector<Candidate>> candidates_;
};

}  // namespace

Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options) {
  return Composer(index, order, options).Compose();
}

}  // namespace miravel::poemd
