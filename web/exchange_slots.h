// ExchangeSlots: the record of seven byte sets that carries one HTTP request
// to the exchange worker and its outcome back, through an in-memory file.
//
// Slot   request (filled by the timed web request)    outcome (by the exchange)
// 0      URL, "http://" or "https://" in front          response body
// 1      method text, "POST" or "GET"                   cookies the response set, "a=1;b=2;"
// 2      proxy host[:port], "" for a direct connection  unchanged
// 3      extra header lines, each ending "\r\n"          unchanged
// 4      request body                                   unchanged
// 5      cookie text for a Cookie line                  raw response header lines
// 6      kRedirectsOn to follow redirects               unchanged; "" after a failure
#pragma once

#include "common/memory_file.h"

namespace miravel {

enum ExchangeSlot {
  kSlotUrl = 0,
  kSlotMethod = 1,
  kSlotResponseCookies = 1,
  kSlotProxy = 2,
  kSlotHeaders = 3,
  kSlotBody = 4,
  kSlotCookies = 5,
  kSlotResponseHeaders = 5,
  kSlotRedirects = 6,
};

inline constexpr size_t kExchangeSlotCount = 7;

// "真" and "假" in GBK: the redirect switch's two text forms.
inline constexpr const char* kRedirectsOn = "\xD5\xE6";
inline constexpr const char* kRedirectsOff = "\xBC\xD9";

}  // namespace miravel
