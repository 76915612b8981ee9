#include "poemd/serve/client_order.h"

#include "poemd/http/form_body.h"
#include "poemd/serve/order_parts.h"
#include "poemd/verse/cjk.h"
#include "text/gbk_unicode.h"
#include "text/hidden_characters.h"

namespace miravel::poemd {

StatusOr<std::u16string> SplitGbk(std::string_view gbk) {
  const Status invalid = Status::InvalidArgument("not valid GBK text");
  std::u16string characters;
  for (size_t i = 0; i < gbk.size();) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    size_t width = 1;
    if (lead >= 0x81 && lead <= 0xFE) {
      if (i + 1 >= gbk.size()) return invalid;
      const auto trail = static_cast<unsigned char>(gbk[i + 1]);
      if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return invalid;
      width = 2;
    } else if (lead >= 0x80 || lead < 0x20) {
      return invalid;  // 0x80 and 0xFF start no character; controls are no poem
    }
    const std::u16string unicode = GbkToUtf16(gbk.substr(i, width));
    if (unicode.size() != 1 || unicode[0] == u'\uFFFD') return invalid;
    characters += unicode;
    i += width;
  }
  return characters;
}

StatusOr<PoemOrder> ParsePoemOrder(std::string_view body) {
  const auto fields = DecodeFormBody(body);
  if (!fields.ok()) return fields.status();
  const auto field = [&](const char* name) -> const std::string* {
    const auto it = fields->find(name);
    return it == fields->end() ? nullptr : &it->second;
  };
  const std::string* xing = field("xing");
  const std::string* gender = field("gender");
  const std::string* num = field("num");
  const std::string* limit = field("limit");
  if (!xing || !gender || !num || !limit) {
    return Status::InvalidArgument("the fields xing, gender, num and limit are required");
  }
  // The one rule of what can be hidden, said in Chinese.
  const HiddenCheck check = CheckHiddenGbk(*xing);
  if (!check.ok()) return Status::InvalidArgument(HiddenRefusalMessage(check));
  auto characters = SplitGbk(*xing);
  if (!characters.ok()) return characters.status().Prefixed("xing");
  OrderParts parts{std::move(*characters), *gender, *num, *limit, {}};
  if (const std::string* theme = field("type_str")) {
    const auto words = SplitGbk(*theme);
    if (!words.ok()) return words.status().Prefixed("type_str");
    for (const char16_t c : *words) {
      if (IsCjk(c)) parts.theme.push_back(c);
    }
  }
  return MakeOrder(std::move(parts));
}

}  // namespace miravel::poemd
