#include "poemd/serve/requests/client_order.h"

#include <optional>
#include <string>

#include "poemd/serve/requests/form_fields.h"
#include "poemd/serve/requests/order_parts.h"
#include "poemd/verse/cjk.h"
#include "text/gbk_unicode.h"
#include "text/hidden_characters.h"

namespace miravel::poemd {
namespace {

// The characters to hide, or why not, in Chinese.
StatusOr<std::u16string> HiddenCharacters(std::string_view gbk) {
  std::optional<std::u16string> characters = GbkCharacters(gbk);
  const HiddenCheck check =
      characters ? CheckHidden(std::u32string(characters->begin(), characters->end()))
                 : HiddenCheck{.refusal = HiddenRefusal::kBrokenBytes};
  if (!check.ok()) return Status::InvalidArgument(HiddenRefusalMessage(check));
  return std::move(*characters);
}

}  // namespace

StatusOr<PoemOrder> ParsePoemOrder(std::string_view body) {
  const StatusOr<FormFields> fields = FormFields::Read(body);
  if (!fields.ok()) return fields.status();
  const std::string* xing = fields->Find("xing");
  const std::string* gender = fields->Find("gender");
  const std::string* num = fields->Find("num");
  const std::string* limit = fields->Find("limit");
  if (!xing || !gender || !num || !limit) {
    return Status::InvalidArgument("the fields xing, gender, num and limit are required");
  }
  StatusOr<std::u16string> characters = HiddenCharacters(*xing);
  if (!characters.ok()) return characters.status();
  OrderParts parts{std::move(*characters), *gender, *num, *limit, {}};
  if (const std::string* theme = fields->Find("type_str")) {
    const std::optional<std::u16string> words = GbkCharacters(*theme);
    if (!words) return Status::InvalidArgument("type_str: not valid GBK text");
    for (const char16_t c : *words) {
      if (IsCjk(c)) parts.theme.push_back(c);
    }
  }
  return MakeOrder(std::move(parts));
}

}  // namespace miravel::poemd
