// Cuts a poem's paragraphs into lines as the index takes them: a piece ends
// at every punctuation mark and blank, and is a line when it holds five or
// seven Chinese characters that GBK can hold, once simplified. Any other
// character (a "□" for a lost one, say) spoils its piece.
//
// What the editors added is left out: everything inside brackets （…）
// [...] 【…】 〔…〕 〖…〗, which in the corpus hold notes, sources and variant
// readings ("一作…"), even where a note runs on into the next paragraph; and
// a quotation 「…」 『…』 “…” that is not verse (one whose pieces are not all
// lines), which quotes prose. A quotation of verse stays.
//
// Not thread-safe (it caches what ICU answered); each thread needs its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace miravel::poemd {

struct SplitPiece {
  std::u16string line;     // in simplified characters when the piece is a line, else ""
  std::u16string written;  // as the poem writes it
  size_t at = 0;           // where `written` begins in the poem's text (JoinedText)
};

// A poem's text as the index keeps it: its paragraphs (UTF-8), one after
// another, a line break between two.
std::u16string JoinedText(const std::vector<std::string>& paragraphs);

// How many lines the splitter left out, and why.
struct LeftOut {
  size_t in_brackets = 0;
  size_t in_prose_quotes = 0;
};

class LineSplitter {
 public:
  LineSplitter();
  ~LineSplitter();

  // The paragraphs' pieces in order (UTF-8 in). A piece that is no line
  // breaks the run of lines; so does a quotation left out. Adds to
  // `left_out` when given.
  std::vector<SplitPiece> Split(const std::vector<std::string>& paragraphs,
                                LeftOut* left_out = nullptr);
  // The same pieces' lines alone: each a line, or "".
  std::vector<std::u16string> Pieces(const std::vector<std::string>& paragraphs);
  // `utf8` in UTF-16 with its Chinese characters simplified.
  std::u16string Simplified(std::string_view utf8);
  // The same of UTF-16 text.
  std::u16string Simplified(std::u16string text);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
