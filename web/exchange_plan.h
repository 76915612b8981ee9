// What one HTTP exchange will do, computed from its ExchangeSlots before any
// connection is made: the values the exchange maps onto curl. Pure.
#pragma once

#include <cstdint>
#include <optional>

#include "common/memory_file.h"

namespace miravel {

// Request flags, kept as the numbers callers and logs know them by.
inline constexpr uint32_t INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr uint32_t INTERNET_FLAG_NEED_FILE = 0x00000010;
inline constexpr uint32_t INTERNET_FLAG_NO_COOKIES = 0x00080000;
inline constexpr uint32_t INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
inline constexpr uint32_t INTERNET_FLAG_SECURE = 0x00800000;
inline constexpr uint32_t INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;

inline constexpr int kSecurePort = 443;

extern const char* const kDefaultAgent;
extern const char* const kDefaultAcceptLine;

struct ExchangePlan {
  Text url;
  Text method;
  bool secure = false;
  Text host;
  Text path;
  int port = 80;
  Text agent;
  Text proxy;  // "" for a direct connection
  uint32_t flags = 0;
  // The completed header block, exactly as it goes out (lines end "\r\n",
  // the Cookie line "\r\n\r\n"; a caller line without "\r\n" is glued to
  // what follows it).
  Text header_block;
  bool send = false;  // false for a method other than "GET" and "POST"
  Bytes body;         // empty for GET
  Text cookies;       // the caller's cookie text

  bool UsesCookieStore() const { return (flags & INTERNET_FLAG_NO_COOKIES) == 0; }
  bool FollowsRedirects() const { return (flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0; }
};

// REQUIRES: `slots` has kExchangeSlotCount slots.
ExchangePlan PlanExchange(const Record& slots);

inline constexpr int kMaxRedirects = 20;

// One request of an exchange: the first, or one a redirect asks for.
struct RequestHop {
  Text url;
  Text method;
  Text header_block;
  Bytes body;
};

// The request that follows `hop` answered with `status` and a Location that
// resolves to `location`, as browsers follow redirects: after 301, 302 and
// 303 a POST becomes a GET with no body and without its Content-Type and
// Content-Length lines; after 307 and 308 the same request is sent again.
// nullopt when `status` is no redirect to follow or `location` is not an
// http or https URL.
std::optional<RequestHop> FollowRedirect(const RequestHop& hop, long status, const Text& location);

}  // namespace miravel
