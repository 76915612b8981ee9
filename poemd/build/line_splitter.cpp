#include "poemd/build/line_splitter.h"

#include <unicode/translit.h>

#include <unordered_map>

#include "poemd/index/corpus_index.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

bool EndsPiece(char16_t c) {
  static constexpr std::u16string_view kBreaks =
      u"，。？！；：、,.?!;:“”‘’「」『』《》〈〉（）()[]【】—…· \t\r\n\u3000";
  return c == u'\0' || kBreaks.find(c) != std::u16string_view::npos;
}

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
};

LineSplitter::LineSplitter() : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->simplifier.reset(
      icu::Transliterator::createInstance("Traditional-Simplified", UTRANS_FORWARD, status));
  if (U_FAILURE(status)) impl_->simplifier.reset();
}

LineSplitter::~LineSplitter() = default;

std::u16string LineSplitter::Simplified(std::string_view utf8) {
  std::u16string text = Utf8ToUtf16(utf8);
  for (char16_t& c : text) {
    if (IsCjk(c)) c = impl_->Simplify(c);
  }
  return text;
}

std::vector<std::u16string> LineSplitter::Pieces(const std::vector<std::string>& paragraphs) {
  std::vector<std::u16string> pieces;
  for (const std::string& paragraph : paragraphs) {
    const std::u16string text = Utf8ToUtf16(paragraph);
    std::u16string piece;
    bool usable = true;
    for (size_t i = 0; i <= text.size(); ++i) {
      const char16_t c = i < text.size() ? text[i] : u'\0';
      if (!EndsPiece(c)) {
        const char16_t simple = IsCjk(c) ? impl_->Simplify(c) : c;
        usable = usable && IsCjk(c) && impl_->InGbk(simple);
        piece.push_back(simple);
        continue;
      }
      if (!piece.empty()) {
        pieces.push_back(usable && (piece.size() == 5 || piece.size() == 7) ? piece : u"");
      }
      piece.clear();
      usable = true;
    }
  }
  return pieces;
}

}  // namespace miravel::poemd
