#include "web/url_helpers.h"

#include <climits>
#include <cmath>

namespace miravel {
namespace {

constexpr const char* kQuoteMarker = "#\xD2\xFD\xBA\xC5";  // "#引号"

int Length(const Text& text) { return static_cast<int>(text.size()); }

}  // namespace

Text GetUrlHost(const Text& url) {
  Text host = ReplaceText(ReplaceText(url, "https://", ""), "http://", "");
  int at = FindText(host, "/");
  if (at != kAbsent) host = LeftBytes(host, at - 1);
  at = FindText(host, ":");
  if (at != kAbsent) host = LeftBytes(host, at - 1);
  return LowerAscii(host);
}

Text GetUrlPath(const Text& url) {
  // The host is looked for after the scheme, so that a host such as "h" or
  // "tp" is not found inside "http://" itself.
  const int scheme_end = LowerAscii(LeftBytes(url, 8)) == "https://"  ? 9
                         : LowerAscii(LeftBytes(url, 7)) == "http://" ? 8
                                                                      : 1;
  const int host_at = FindText(url, GetUrlHost(url), scheme_end, true);
  const int slash_at = FindText(url, "/", host_at, true);
  return slash_at > 0 ? RightBytes(url, Length(url) - slash_at + 1) : Text("/");
}

int GetUrlPort(const Text& url) {
  Text host_and_port;
  if (LeftBytes(url, 7) == "http://") {
    const int slash_at = FindText(url, "/", 8, true);
    host_and_port =
        slash_at != kAbsent ? MidBytes(url, 8, slash_at - 8) : RightBytes(url, Length(url) - 7);
  } else {
    const int slash_at = FindText(url, "/", 1, true);
    host_and_port = slash_at != kAbsent ? LeftBytes(url, slash_at - 1) : url;
  }
  const int colon_at = FindText(host_and_port, ":", 1, true);
  const Text port = colon_at != kAbsent
                        ? RightBytes(host_and_port, Length(host_and_port) - colon_at)
                        : Text("80");
  const double value = std::trunc(TextToNumber(port));
  if (!(value > INT_MIN)) return value < 0 ? INT_MIN : 0;  // also NaN
  return value < INT_MAX ? static_cast<int>(value) : INT_MAX;
}

Text GetTextBetween(const Text& text, const Text& left, const Text& right, int start,
                    bool exact_case) {
  const Text l = ReplaceText(left, kQuoteMarker, "\"");
  const Text r = ReplaceText(right, kQuoteMarker, "\"");
  const int left_at = FindText(text, l, start, !exact_case);
  if (left_at == kAbsent) return {};
  const Text rest = RightBytes(text, Length(text) - left_at - Length(l) + 1);
  const int right_at = FindText(rest, r, start, !exact_case);
  if (right_at == kAbsent) return {};
  return LeftBytes(rest, right_at - 1);
}

Text GetTextBefore(const Text& text, const Text& marker, int start, bool ignore_case) {
  const int at = FindText(text, marker, start < 1 ? 1 : start, ignore_case);
  return at == kAbsent ? Text() : LeftBytes(text, at - 1);
}

}  // namespace miravel
