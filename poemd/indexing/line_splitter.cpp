#include "poemd/indexing/line_splitter.h"

#include <unicode/translit.h>

#include <unordered_map>

#include "poemd/verse/cjk.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

constexpr std::u16string_view kOpenBrackets = u"（([【〔〖";
constexpr std::u16string_view kCloseBrackets = u"）)]】〕〗";
constexpr std::u16string_view kOpenQuotes = u"「『“";
constexpr std::u16string_view kCloseQuotes = u"」』”";

bool EndsPiece(char16_t c) {
  static constexpr std::u16string_view kBreaks =
      u"，。？！；：、,.?!;:“”‘’「」『』《》〈〉（）()[]【】〔〕〖〗—…· \t\r\n\u3000";
  return c == u'\0' || kBreaks.find(c) != std::u16string_view::npos;
}

bool In(std::u16string_view set, char16_t c) { return set.find(c) != std::u16string_view::npos; }

}  // namespace

struct LineSplitter::Impl {
  std::unique_ptr<icu::Transliterator> simplifier;
  std::unordered_map<char16_t, char16_t> simplified;
  std::vector<int8_t> in_gbk = std::vector<int8_t>(65536, -1);

  char16_t Simplify(char16_t c) {
    auto [it, inserted] = simplified.try_emplace(c, c);
    if (inserted && simplifier) {
      icu::UnicodeString one(c);
      simplifier->transliterate(one);
      if (one.length() == 1) it->second = one.charAt(0);
    }
    return it->second;
  }

  bool InGbk(char16_t c) {
    if (in_gbk[c] < 0) in_gbk[c] = IsGbkCharacter(c) ? 1 : 0;
    return in_gbk[c] == 1;
  }

  // The piece as it was written, its line, or "" when it is none.
  SplitPiece Finish(const std::u16string& written) {
    SplitPiece piece{u"", written};
    if (written.size() != 5 && written.size() != 7) return piece;
    std::u16string line;
    for (char16_t c : written) {
      const char16_t simple = IsCjk(c) ? Simplify(c) : c;
      if (!IsCjk(c) || !InGbk(simple)) return piece;
      line.push_back(simple);
    }
    piece.line = std::move(line);
    return piece;
  }
};

LineSplitter::LineSplitter() : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->simplifier.reset(
      icu::Transliterator::createInstance("Traditional-Simplified", UTRANS_FORWARD, status));
  if (U_FAILURE(status)) impl_->simplifier.reset();
}

LineSplitter::~LineSplitter() = default;

std::u16string LineSplitter::Simplified(std::string_view utf8) {
  return Simplified(Utf8ToUtf16(utf8));
}

std::u16string LineSplitter::Simplified(std::u16string text) {
  for (char16_t& c : text) {
    if (IsCjk(c)) c = impl_->Simplify(c);
  }
  return text;
}

std::vector<SplitPiece> LineSplitter::Split(const std::vector<std::string>& paragraphs,
                                            LeftOut* left_out) {
  LeftOut counted;
  std::vector<SplitPiece> pieces;
  std::vector<SplitPiece> quoted;  // the pieces of the quotation now open
  int brackets = 0;
  int quotes = 0;
  const auto flush_quotation = [&] {
    bool verse = !quoted.empty();
    for (const SplitPiece& piece : quoted) verse = verse && !piece.line.empty();
    if (verse) {
      std::move(quoted.begin(), quoted.end(), std::back_inserter(pieces));
    } else {
      for (const SplitPiece& piece : quoted) counted.in_prose_quotes += !piece.line.empty();
      if (!quoted.empty()) pieces.push_back({});
    }
    quoted.clear();
  };
  size_t base = 0;  // where the paragraph begins in the poem's text
  for (const std::string& paragraph : paragraphs) {
    const std::u16string text = Utf8ToUtf16(paragraph);
    std::u16string written;
    for (size_t i = 0; i <= text.size(); ++i) {
      const char16_t c = i < text.size() ? text[i] : u'\0';
      if (!EndsPiece(c)) {
        written.push_back(c);
        continue;
      }
      if (!written.empty()) {
        SplitPiece piece = impl_->Finish(written);
        piece.at = base + i - written.size();
        if (brackets > 0) {
          counted.in_brackets += !piece.line.empty();
        } else {
          (quotes > 0 ? quoted : pieces).push_back(std::move(piece));
        }
      }
      written.clear();
      if (In(kOpenBrackets, c)) ++brackets;
      if (In(kCloseBrackets, c) && brackets > 0) --brackets;
      if (brackets > 0) continue;
      if (In(kOpenQuotes, c)) ++quotes;
      if (In(kCloseQuotes, c) && quotes > 0 && --quotes == 0) flush_quotation();
    }
    base += text.size() + 1;
  }
  flush_quotation();
  if (left_out != nullptr) {
    left_out->in_brackets += counted.in_brackets;
    left_out->in_prose_quotes += counted.in_prose_quotes;
  }
  return pieces;
}

std::u16string JoinedText(const std::vector<std::string>& paragraphs) {
  std::u16string text;
  for (size_t k = 0; k < paragraphs.size(); ++k) {
    if (k > 0) text += u'\n';
    text += Utf8ToUtf16(paragraphs[k]);
  }
  return text;
}

std::vector<std::u16string> LineSplitter::Pieces(const std::vector<std::string>& paragraphs) {
  std::vector<std::u16string> lines;
  for (SplitPiece& piece : Split(paragraphs)) lines.push_back(std::move(piece.line));
  return lines;
}

}  // namespace miravel::poemd
