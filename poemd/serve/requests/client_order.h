// What a program asks the poem service for (POST /qm/cts.php), read from its
// form body: xing (the hidden characters, GBK, escaped byte by byte), gender
// ("5" or "7"), num ("cangtou", "cangzhong" or "cangwei", or "dizeng" and
// "dijian" for diagonal hiding), limit ("100" or "200"), and optionally
// type_str (theme words, GBK; the desktop client sends it empty; only its
// Chinese characters count). Fields are found by name, in any order. The
// GBK is decoded here, once: nothing past this reads the client's code page.
#pragma once

#include <string_view>

#include "common/status.h"
#include "poemd/compose/poem_order.h"

namespace miravel::poemd {

// The order, or InvalidArgument with the reason, for a 400 answer: in
// Chinese (UTF-8) when the characters cannot be hidden
// (text/hidden_characters.h), else naming the field in English.
StatusOr<PoemOrder> ParsePoemOrder(std::string_view body);

}  // namespace miravel::poemd
