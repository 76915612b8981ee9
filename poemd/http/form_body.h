// Form-encoded text (application/x-www-form-urlencoded), as the client's
// POST bodies and the browser's queries carry it: "name=value" pairs joined
// by "&", with "%XX" and "+" escapes.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "common/status.h"

namespace miravel::poemd {

// The decoded fields; InvalidArgument for a "%" not followed by two hex
// digits. A repeated name keeps its first value; a pair without "=" has
// an empty value.
StatusOr<std::map<std::string, std::string>> DecodeFormBody(std::string_view body);

// `text` with every byte that is not unreserved (RFC 3986) written as %XX.
std::string PercentEncode(std::string_view text);

}  // namespace miravel::poemd
