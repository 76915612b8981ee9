// What a reader notices of a finished poem, measured in both readings of
// its tones (tonal_pattern.h): rhyme, the ends of the other lines, 二四六,
// the whole template, 孤平, 三平尾; and repeated characters, repeated rhyme
// characters, made and drama lines. A line found in the index reads as the
// index reads it (in its poem's own script, in context); any other line
// character by character.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/verse/poem_rules.h"

namespace miravel::poemd {

struct ReadLineFacts {
  std::u16string text;
  LineReading reading;
  bool made = false;
  SourceRank rank = SourceRank::kRegulatedShi;
  PackedMoods moods;               // as the index learned them (a made line: its donor's)
  std::optional<uint32_t> source;  // the index's poem of a line it holds
};

// A poem read one way.
using ReadingFacts = PoemRules;

struct PoemFacts {
  ReadingFacts classical;
  ReadingFacts modern;
  bool rhymes_group = false;  // modern: every rhyming line in one group, whatever its tone
  int lines = 0;
  bool repeats = false;         // a character, not a hidden one, in two lines
  bool repeated_rhyme = false;  // a rhyme character in two rhyming lines (重韵)
  int made = 0;
  int drama = 0;  // lines from drama and colloquial songs

  const ReadingFacts& In(bool classical_reading) const {
    return classical_reading ? classical : modern;
  }
};

// Reads lines by their text: from the index when it holds them.
class LineReader {
 public:
  LineReader(const CorpusIndex& index, int length);
  ReadLineFacts Read(std::u16string_view text) const;
  // A composed line, as the composer took it.
  ReadLineFacts Read(const ComposedLine& line, int at) const;

 private:
  const CorpusIndex& index_;
  int length_;
  std::unordered_map<std::u16string_view, uint32_t> lines_;
};

PoemFacts Examine(const std::vector<ReadLineFacts>& lines, const PoemOrder& order);

}  // namespace miravel::poemd
