// Reads the cookies a response sets out of its raw header lines. Pure.
#pragma once

#include <vector>

#include "common/text_ops.h"

namespace miravel {

struct CapturedCookie {
  Text name;
  Text data;  // the value with its attributes: "1; path=/"
};

struct CapturedCookies {
  // Each "Set-Cookie: " line's name=value part followed by ";", in header
  // order ("a=1;b=2;"). A line without ";" adds only ";".
  Text pairs;
  // Every such line that holds "=", to be kept in the cookie store.
  std::vector<CapturedCookie> cookies;
};

// Only lines holding "Set-Cookie: " (letter case ignored, the blank
// required) count.
CapturedCookies CaptureCookies(const Text& raw_headers);

}  // namespace miravel
