#include "poemd/serve/requests/order_parts.h"

#include "text/hidden_characters.h"
#include "text/utf.h"

namespace miravel::poemd {

StatusOr<PoemOrder> MakeOrder(OrderParts parts) {
  PoemOrder order;
  if (parts.gender == "5" || parts.gender == "7") {
    order.length = parts.gender == "7" ? 7 : 5;
  } else {
    return Status::InvalidArgument("gender must be 5 or 7");
  }
  if (parts.num == "cangtou") {
    order.place = Place::kHead;
  } else if (parts.num == "cangzhong") {
    order.place = Place::kMiddle;
  } else if (parts.num == "cangwei") {
    order.place = Place::kTail;
  } else if (parts.num == "dizeng") {
    order.diagonal = Diagonal::kRising;
  } else if (parts.num == "dijian") {
    order.diagonal = Diagonal::kFalling;
  } else {
    return Status::InvalidArgument("num must be cangtou, cangzhong, cangwei, dizeng or dijian");
  }
  if (parts.limit == "100" || parts.limit == "200") {
    order.first_line_rhymes = parts.limit == "200";
  } else {
    return Status::InvalidArgument("limit must be 100 or 200");
  }
  if (parts.characters.empty()) return Status::InvalidArgument("xing holds no characters to hide");
  if (parts.characters.size() > kMaxHiddenCharacters) {
    return Status::InvalidArgument("xing holds more than " + std::to_string(kMaxHiddenCharacters) +
                                   " characters");
  }
  if (parts.theme.size() > kMaxThemeCharacters) {
    return Status::InvalidArgument("type_str holds more than " +
                                   std::to_string(kMaxThemeCharacters) + " characters");
  }
  order.characters = std::move(parts.characters);
  order.theme = std::move(parts.theme);
  order.book = parts.book;
  order.occasion = parts.occasion;
  return order;
}

std::string OrderNote(const PoemOrder& order, bool with_characters) {
  const std::string what = with_characters
                               ? Utf16ToUtf8(order.Hidden())
                               : std::to_string(order.characters.size()) + " characters";
  return what + " " + std::to_string(order.length) + " " + order.ModeName() +
         (order.first_line_rhymes ? " 200 " : " 100 ") + std::string(RhymeBookKey(order.book));
}

}  // namespace miravel::poemd
