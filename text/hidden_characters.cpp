#include "text/hidden_characters.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <algorithm>

#include "text/gbk_unicode.h"

namespace miravel {
namespace {

bool IsHan(char32_t c) {
  UErrorCode status = U_ZERO_ERROR;
  return uscript_getScript(static_cast<UChar32>(c), &status) == USCRIPT_HAN && U_SUCCESS(status) &&
         u_isalpha(static_cast<UChar32>(c));
}

bool InGbk(char32_t c) { return c <= 0xFFFF && IsGbkCharacter(static_cast<char16_t>(c)); }

std::string Utf8(char32_t c) {
  std::string out;
  icu::UnicodeString(static_cast<UChar32>(c)).toUTF8String(out);
  return out;
}

// How a refused character is named: blanks and controls by what they are.
std::string Shown(char32_t c) {
  if (c == U' ' || c == U'\u3000' || c == U'\t') return "空格";
  if (c < 0x20 || c == 0x7F) return "控制符";
  return "“" + Utf8(c) + "”";
}

std::string List(const std::vector<char32_t>& characters) {
  std::string out;
  for (size_t k = 0; k < characters.size() && k < 8; ++k) {
    if (k > 0) out += "、";
    out += Shown(characters[k]);
  }
  if (characters.size() > 8) out += "等";
  return out;
}

void AddOnce(std::vector<char32_t>& list, char32_t c) {
  if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
}

}  // namespace

bool CanBeHidden(char32_t c) { return IsHan(c) && InGbk(c); }

HiddenCheck CheckHidden(std::u32string_view characters) {
  HiddenCheck check;
  check.count = characters.size();
  std::vector<char32_t> not_han, not_gbk;
  for (const char32_t c : characters) {
    if (!IsHan(c)) {
      AddOnce(not_han, c);
    } else if (!InGbk(c)) {
      AddOnce(not_gbk, c);
    }
  }
  if (characters.empty()) {
    check.refusal = HiddenRefusal::kEmpty;
  } else if (!not_han.empty()) {
    check.refusal = HiddenRefusal::kNotHan;
    check.offending = std::move(not_han);
  } else if (!not_gbk.empty()) {
    check.refusal = HiddenRefusal::kNotInGbk;
    check.offending = std::move(not_gbk);
  } else if (characters.size() > kMaxHiddenCharacters) {
    check.refusal = HiddenRefusal::kTooMany;
  }
  return check;
}

HiddenCheck CheckHiddenUtf8(std::string_view utf8) {
  const icu::UnicodeString u = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  std::u32string characters;
  for (int32_t i = 0; i < u.length(); i = u.moveIndex32(i, 1)) {
    characters.push_back(static_cast<char32_t>(u.char32At(i)));
  }
  return CheckHidden(characters);
}

HiddenCheck CheckHiddenGbk(std::string_view gbk) {
  const std::optional<std::u16string> characters = GbkCharacters(gbk);
  if (!characters) return {.refusal = HiddenRefusal::kBrokenBytes};
  return CheckHidden(std::u32string(characters->begin(), characters->end()));
}

std::string HiddenRefusalMessage(const HiddenCheck& check) {
  switch (check.refusal) {
    case HiddenRefusal::kNone:
      return "";
    case HiddenRefusal::kEmpty:
      return "请输入要藏的字：只收汉字，每个字成一句诗。";
    case HiddenRefusal::kNotHan: {
      std::string message =
          "只能藏汉字，每个字成一句：" + List(check.offending) + "不是汉字，请删去。";
      if (std::find(check.offending.begin(), check.offending.end(), U'?') !=
          check.offending.end()) {
        message += "（GBK 里没有的字符，如表情符号，也显示为“?”。）";
      }
      return message;
    }
    case HiddenRefusal::kNotInGbk:
      return List(check.offending) + "是生僻字，不在 GBK 字符集里，诗库里没有，请换一个字。";
    case HiddenRefusal::kTooMany:
      return "最多可藏 " + std::to_string(kMaxHiddenCharacters) + " 个字，你输入了 " +
             std::to_string(check.count) + " 个。";
    case HiddenRefusal::kBrokenBytes:
      return "要藏的字里有残缺的字节（半个汉字），请重新输入。";
  }
  return "";
}

}  // namespace miravel
