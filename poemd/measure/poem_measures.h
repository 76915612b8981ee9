// What a reader notices of a finished poem, measured: rhyme, the tonal
// pattern, repeated characters, made lines. Tones and rhymes are read in
// context: a line found in the index as the index reads it, any other line
// character by character.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

struct ReadLineFacts {
  std::u16string text;
  LineTones tones;
  RhymeGroup rhyme = kNoRhymeGroup;  // of the last character
  bool made = false;
  SourceRank rank = SourceRank::kRegulatedShi;
};

struct PoemFacts {
  bool rhymes = false;        // every rhyming line ends on 平, all in one group
  bool rhymes_group = false;  // every rhyming line ends in one group, whatever its tone
  bool keeps_links = false;   // 粘对 on the second characters
  int lines = 0;
  int lines_in_line = 0;  // lines keeping 二四不同 (and 二六对)
  bool repeats = false;   // a character, not a hidden one, in two lines
  int made = 0;
  int drama = 0;  // lines from drama and colloquial songs
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
