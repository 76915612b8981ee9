// Learns what poems and lines are written for (index/moods.h) from the
// corpus when the index is built.
//
// A title says what its poem is for, by its words (MoodOfTitle). The lines
// of those titled poems teach, for each of the four moods a line keeps
// (death, sorrow, joy, a bond with someone), a logistic regression over the
// line's characters and pairs of adjacent characters: lines of poems whose
// titles say that mood against as many lines of the other poems, trained
// with AdaGrad's steps, so that the rarer words of illness, want and
// decline (疢, 贫, 老矣), met in a few lines, weigh as their lines say. So
// the words alone say what a line speaks of, titled or not. Every tenth poem
// (chosen by the caller) is held back from learning and read by its lines'
// words alone, to tell how well titles are found (Report). A ci's title
// names its tune and says nothing: the caller gives its class as kOther.
//
// A line's moods then come from its own words and from its poem's title:
// either is enough (a line of an elegy belongs to the elegy, whatever it
// speaks of; a line of decline in a letter to a friend is still of decline).
// Each mood class's images are the characters its poems use most beyond the
// ordinary. Deterministic for a given input.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/index/moods.h"

namespace miravel::poemd {

// What `title` (simplified) says its poem is for; kOther when nothing.
MoodClass MoodOfTitle(std::u16string_view title);

class MoodLearner {
 public:
  MoodLearner();
  ~MoodLearner();

  // A poem's pieces (simplified, any length), under the class its title
  // says. `held_out`: read only after learning, to test with.
  void AddPoem(MoodClass title, const std::vector<std::u16string>& pieces, bool held_out);
  // Learns from what was added; call once, before the reading below.
  void Learn(uint64_t seed);

  // The probability, by its words alone, that `line` speaks of `mood`.
  float Probability(std::u16string_view line, Mood mood) const;
  // A line's shares: its own words, and its poem's title.
  PackedMoods LineMoods(std::u16string_view line, MoodClass title) const;
  // The characters that mark `mood` most against the ordinary, seen at
  // least `min_count` times in its poems; most marked first.
  std::vector<char16_t> Characteristic(MoodClass mood, size_t count, int min_count = 20) const;
  // How well the held-back poems are found by their lines' words: per mood,
  // the share of poems titled so that are judged so, and of the ordinary
  // poems the share judged so wrongly.
  std::string Report() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
