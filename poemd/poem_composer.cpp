#include "poemd/poem_composer.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace miravel::poemd {
namespace {

// How far the rules have given way for one line.
enum class Ending {
  kRhyme,    // 平 and the poem's group
  kGroup,    // the poem's group on a 仄 character: still heard as a rhyme
  kLevel,    // 平, any group
  kOblique,  // 仄
  kAny,
};

// The line's own endings, strictest first.
std::vector<Ending> EndingsFor(bool rhyming, bool first_line) {
  if (!rhyming) return {Ending::kOblique, Ending::kAny};
  if (first_line) return {Ending::kRhyme, Ending::kGroup, Ending::kOblique, Ending::kAny};
  return {Ending::kRhyme, Ending::kGroup, Ending::kLevel, Ending::kAny};
}

// Lines scanned per character and step; bounds the work of common ones.
constexpr size_t kScanLimit = 4096;
constexpr int kDonorTries = 4000;

class Composer {
 public:
  Composer(const CorpusIndex& index, const PoemOrder& order, std::mt19937_64& rng)
      : index_(index),
        order_(order),
        rng_(rng),
        length_(order.length),
        at_(PositionOf(order.place, order.length)) {}

  Poem Compose() {
    Poem poem;
    poem.rhyme = ChooseRhyme();
    rhyme_ = poem.rhyme;
    for (size_t i = 0; i < order_.characters.size(); ++i) {
      const bool rhyming = IsRhyming(i);
      poem.lines.push_back(ComposeLine(order_.characters[i].unicode, EndingsFor(rhyming, i == 0)));
    }
    return poem;
  }

 private:
  bool IsRhyming(size_t i) const { return i % 2 == 1 || (i == 0 && order_.first_line_rhymes); }

  // Tone and group of the last character of `line` with `hidden` put in.
  Reading LastReading(uint32_t line, char16_t hidden) const {
    if (order_.place == Place::kTail) return index_.ReadingOf(hidden);
    const bool level = index_.LevelTones(length_, line) >> (length_ - 1) & 1;
    return {level ? Tone::kLevel : Tone::kOblique, index_.LastRhyme(length_, line)};
  }

  bool Fits(uint32_t line, char16_t hidden, Ending ending) const {
    const Reading last = LastReading(line, hidden);
    switch (ending) {
      case Ending::kRhyme:
        return last.tone == Tone::kLevel && last.rhyme == rhyme_ && rhyme_ != kNoRhymeGroup;
      case Ending::kGroup:
        return last.rhyme == rhyme_ && rhyme_ != kNoRhymeGroup;
      case Ending::kLevel:
        return last.tone == Tone::kLevel;
      case Ending::kOblique:
        return last.tone != Tone::kLevel;
      case Ending::kAny:
        return true;
    }
    return true;
  }

  // The group most even lines can end in (on 平 counting double), then the
  // one the first line can end in too (its rhyme gives way first), then the
  // one with more lines to choose from.
  RhymeGroup ChooseRhyme() {
    using Counts = std::array<size_t, kRhymeGroupCount + 1>;
    Counts score{};
    Counts choices{};
    for (size_t i = 0; i < order_.characters.size(); ++i) {
      if (!IsRhyming(i)) continue;
      const char16_t hidden = order_.characters[i].unicode;
      Counts level{};
      Counts any{};
      const auto lines = index_.LinesWith(hidden, length_, order_.place);
      const size_t n = std::min(lines.size(), kScanLimit);
      const size_t offset = lines.size() > n ? Uniform(lines.size()) : 0;
      for (size_t k = 0; k < n; ++k) {
        const Reading last = LastReading(lines[(offset + k) % lines.size()], hidden);
        ++any[last.rhyme];
        if (last.tone == Tone::kLevel) ++level[last.rhyme];
      }
      if (lines.empty()) {
        // A made line can end in any group its donors offer, unless the
        // hidden character ends it.
        if (order_.place == Place::kTail) {
          ++level[index_.ReadingOf(hidden).rhyme];
        } else {
          level.fill(1);
        }
        any = level;
      }
      const size_t weight = i == 0 ? 1 : 4 * order_.characters.size();
      for (int g = 1; g <= kRhymeGroupCount; ++g) {
        score[g] += weight * (level[g] > 0 ? 2 : any[g] > 0 ? 1 : 0);
        choices[g] += any[g];
      }
    }
    RhymeGroup best = kNoRhymeGroup;
    for (int g = 1; g <= kRhymeGroupCount; ++g) {
      if (score[g] > score[best] || (score[g] == score[best] && choices[g] > choices[best])) {
        best = static_cast<RhymeGroup>(g);
      }
    }
    return score[best] > 0 ? best : kNoRhymeGroup;
  }

  size_t Uniform(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  ComposedLine ComposeLine(char16_t hidden, const std::vector<Ending>& endings) {
    const auto lines = index_.LinesWith(hidden, length_, order_.place);
    for (Ending ending : endings) {
      // Plain lines first: they read better than lines of rare characters.
      for (const bool plain_only : {true, false}) {
        if (lines.empty()) break;
        // From a random start, the first unused line that fits.
        const size_t start = Uniform(lines.size());
        for (size_t k = 0; k < lines.size(); ++k) {
          const uint32_t line = lines[(start + k) % lines.size()];
          if (used_.contains(line) || (plain_only && !index_.IsPlain(length_, line)) ||
              !Fits(line, hidden, ending)) {
            continue;
          }
          used_.insert(line);
          return {std::u16string(index_.Text(length_, line)), line, false, true};
        }
      }
    }
    return MadeLine(hidden, endings);
  }

  ComposedLine MadeLine(char16_t hidden, const std::vector<Ending>& endings) {
    const size_t count = index_.LineCount(length_);
    if (count == 0) {
      std::u16string text(length_, u'\u3000');
      text[at_] = hidden;
      return {text, 0, true, false};
    }
    const Tone tone = index_.ReadingOf(hidden).tone;
    for (Ending ending : endings) {
      for (int attempt = 0; attempt < kDonorTries; ++attempt) {
        const auto line = static_cast<uint32_t>(Uniform(count));
        const bool level = index_.LevelTones(length_, line) >> at_ & 1;
        const bool tone_fits = tone == Tone::kUnknown || level == (tone == Tone::kLevel);
        if (!tone_fits || !index_.IsPlain(length_, line) || used_.contains(line) ||
            !Fits(line, hidden, ending)) {
          continue;
        }
        used_.insert(line);
        return WithHidden(line, hidden);
      }
    }
    return WithHidden(static_cast<uint32_t>(Uniform(count)), hidden);
  }

  ComposedLine WithHidden(uint32_t line, char16_t hidden) const {
    std::u16string text(index_.Text(length_, line));
    text[at_] = hidden;
    return {text, line, true, true};
  }

  const CorpusIndex& index_;
  const PoemOrder& order_;
  std::mt19937_64& rng_;
  const int length_;
  const int at_;
  RhymeGroup rhyme_ = kNoRhymeGroup;
  std::unordered_set<uint32_t> used_;
};

}  // namespace

Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, std::mt19937_64& rng) {
  return Composer(index, order, rng).Compose();
}

}  // namespace miravel::poemd
