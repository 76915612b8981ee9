// The poems the index's lines come from, whole, as the corpus has them:
// every paragraph, the 词's lines of every length and the lines the index
// does not take included, so that a reader can open the poem of any line.
// Each in two scripts: the poets' own traditional characters (the corpus's
// text when it keeps them; for a poem it keeps only in simplified
// characters, OpenCC's conversion made when the index was built), and
// simplified characters as the index reads its lines.
//
// A view over the index's arrays: cheap to copy, thread-safe.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/status.h"

namespace miravel::poemd {

struct SourcePoemArrays {
  std::span<const char16_t> text;              // every poem's text, one after another
  std::span<const uint32_t> starts;            // where each begins, one more than poems
  std::span<const char16_t> converted;         // the traditional conversions
  std::span<const uint32_t> converted_starts;  // likewise; an empty one when not converted
  std::span<const char16_t> simplified;        // 65536: each character simplified
  std::span<const char16_t> traditional;       // 65536: each character in traditional script
};

class SourcePoems {
 public:
  SourcePoems() = default;
  // REQUIRES: Check passed.
  explicit SourcePoems(const SourcePoemArrays& arrays) : a_(arrays) {}
  // Ok when the arrays fit together (`poems` poems, each converted one as
  // long as its text), else Corruption saying what is wrong.
  static Status Check(const SourcePoemArrays& arrays, size_t poems);

  size_t Count() const { return a_.starts.empty() ? 0 : a_.starts.size() - 1; }
  // The poem's text as the corpus has it: its paragraphs, a line break
  // between two. REQUIRES: poem < Count().
  std::u16string_view Text(uint32_t poem) const;
  // In traditional characters: the corpus's own when it writes them.
  std::u16string_view Traditional(uint32_t poem) const;
  // In simplified characters, as the index reads its lines.
  std::u16string Simplified(uint32_t poem) const;
  // `text` in simplified characters, character by character as the index
  // simplified its lines; and in traditional ones (a character alone: its
  // commonest traditional form).
  std::u16string Simplify(std::u16string_view text) const;
  std::u16string ToTraditional(std::u16string_view text) const;

 private:
  SourcePoemArrays a_;
};

}  // namespace miravel::poemd
