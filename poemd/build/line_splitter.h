// Cuts a poem's paragraphs into lines as the index takes them: a piece ends
// at every punctuation mark and blank, and becomes a line when it holds five
// or seven Chinese characters that GBK can hold, in simplified characters.
// Any other character (a "□" for a lost one, say) spoils its piece.
//
// Not thread-safe (it caches what ICU answered); each thread needs its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace miravel::poemd {

class LineSplitter {
 public:
  LineSplitter();
  ~LineSplitter();

  // The paragraphs' pieces in order (UTF-8 in): each a line, or "" where
  // the piece is no line and breaks the run of lines.
  std::vector<std::u16string> Pieces(const std::vector<std::string>& paragraphs);
  // `utf8` in UTF-16 with its Chinese characters simplified.
  std::u16string Simplified(std::string_view utf8);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
