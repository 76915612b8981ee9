#include "web/cookie_capture.h"

#include "common/memory_file.h"
#include "web/url_helpers.h"

namespace miravel {
namespace {

constexpr const char* kSetCookie = "Set-Cookie: ";
constexpr int kSetCookieLength = 12;

}  // namespace

CapturedCookies CaptureCookies(const Text& raw_headers) {
  CapturedCookies captured;
  if (FindText(raw_headers, kSetCookie, 1, true) == kAbsent) return captured;
  MemoryFile lines;
  lines.WriteText(raw_headers);
  lines.Rewind();
  while (!lines.AtEnd()) {
    Text line = lines.ReadLine();
    if (FindText(line, kSetCookie, 1, true) == kAbsent) continue;
    line.erase(0, kSetCookieLength);
    captured.pairs += GetTextBefore(line, ";") + ";";
    const int equals_at = FindText(line, "=");
    if (equals_at == kAbsent) continue;
    captured.cookies.push_back({LeftBytes(line, equals_at - 1),
                                RightBytes(line, static_cast<int>(line.size()) - equals_at)});
  }
  return captured;
}

}  // namespace miravel
