// What one HTTP exchange will do, computed from its ExchangeSlots before any
// connection is made: the values the exchange maps onto curl. Pure.
#pragma once

#include <cstdint>

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

}  // namespace miravel
