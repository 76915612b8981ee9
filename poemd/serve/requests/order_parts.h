// The one way both routes make a poem order (compose/poem_order.h): the
// client's form body (client_order.h) and the browser's query
// (browser_request.h) each read the parts in their own way and hand them here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "poemd/compose/poem_order.h"

namespace miravel::poemd {

struct OrderParts {
  std::u16string characters;  // to hide
  std::string_view gender;    // "5" or "7"
  std::string_view num;       // "cangtou", "cangzhong", "cangwei", "dizeng" or "dijian"
  std::string_view limit;     // "100" or "200"
  std::u16string theme;       // Chinese characters only
  RhymeBook book = RhymeBook::kBoth;
  Occasion occasion = Occasion::kAutomatic;
};

// InvalidArgument, naming the field in English, when a part is not one of
// its values, when there is no character to hide or more than
// kMaxHiddenCharacters, or when the theme holds more than kMaxThemeCharacters.
StatusOr<PoemOrder> MakeOrder(OrderParts parts);

// What the log says of an order: the form asked for, with the hidden
// characters themselves only `with_characters` (they are often people's
// names), else their count.
std::string OrderNote(const PoemOrder& order, bool with_characters);

}  // namespace miravel::poemd
