// One composition's hidden characters, line by line, and what its options
// say of each line: the line to keep there, the corpus lines not to take.
// A view: the index, order and options must outlive it.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "poemd/compose/compose_options.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

class HiddenLines {
 public:
  HiddenLines(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options);

  const CorpusIndex& Index() const { return index_; }
  const PoemOrder& Order() const { return order_; }
  const ComposeOptions& Options() const { return options_; }
  size_t Count() const { return order_.characters.size(); }
  int Length() const { return order_.length; }
  // Line i's hidden character and its 0-based position.
  char16_t HiddenAt(size_t i) const { return order_.characters[i]; }
  int AtLine(size_t i) const { return positions_[i]; }
  // Whether `c` is one of the hidden characters, and how many times.
  bool IsHidden(char16_t c) const;
  size_t TimesHidden(char16_t c) const;
  // Whether the options refuse corpus line `line` as line i.
  bool Refused(size_t i, uint32_t line) const;
  // The line the options ask to keep as line i, when it can stand there: a
  // corpus line that holds the character at its place, or a made line's
  // donor that does not.
  std::optional<KeptLine> KeptAt(size_t i) const;

 private:
  const CorpusIndex& index_;
  const PoemOrder& order_;
  const ComposeOptions& options_;
  std::vector<char16_t> sorted_;  // the hidden characters
  std::vector<int> positions_;    // by line
};

}  // namespace miravel::poemd
