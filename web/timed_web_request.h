// Fetches one web page on a worker thread while the calling (window) thread
// waits with a time-out and keeps its events flowing.
//
// Returns the response body (converted on request), or the time-out message
// (kTimeoutMessage, GBK) when the time-out passes first, or an empty byte set
// when the URL is blank or the exchange failed. Reports nothing itself.
// Handlers may run nested inside the call through `pump`. A worker that
// overruns is told to abort and nothing it produces reaches any caller.
#pragma once

#include <optional>

#include "common/event_pump.h"
#include "common/text_ops.h"

namespace miravel {

inline constexpr int kMethodPost = 1;
inline constexpr int kDefaultTimeoutSeconds = 60;
inline constexpr int kConvertFromUtf8 = 1;
inline constexpr int kConvertFromBig5 = 2;

// "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些。"
extern const char* const kTimeoutMessage;

struct WebRequestOptions {
  int method = 0;  // kMethodPost selects POST, every other value GET
  Text proxy;      // host[:port] of an HTTP proxy; "" for a direct connection
  Text headers;    // extra header lines, each ending "\r\n"
  Bytes body;
  Text cookies;                          // sent as a Cookie line; "" lets the cookie store's go out
  std::optional<int> timeout_seconds;    // 60 when omitted; 0 or less times out at once
  Text* response_headers = nullptr;      // receives the raw response header lines
  int response_conversion = 0;           // kConvertFromUtf8, kConvertFromBig5, or none
  Text* response_cookies = nullptr;      // receives "a=1;b=2;"
  std::optional<bool> follow_redirects;  // true when omitted
};

// The time-out in milliseconds: seconds times 1000, clamped to int's range.
int TimeoutMillis(std::optional<int> timeout_seconds);

// `url` without "http://" or "https://" in front (letter case counting) is
// fetched with "http://" in front, and `url` is updated to that.
Bytes TimedWebRequest(Text& url, EventPump& pump, const WebRequestOptions& options = {});

}  // namespace miravel
