// The process-wide cookie store shared by every exchange: a curl share
// handle holding cookies. Cookies that a response sets through a handle
// attached here are kept, and later exchanges with the same host send them.
// Thread-safe.
#pragma once

#include <curl/curl.h>

#include "common/text_ops.h"

namespace miravel {

// Attaches `handle` to the store and turns its cookie engine on.
// REQUIRES: curl_global_init has run.
void AttachCookieStore(CURL* handle);

// Keeps a cookie for `host` as a Set-Cookie line would: `data` is the value
// followed by optional attributes ("1; path=/x"). Only the path attribute
// is honoured; the cookie lasts for the session.
void StoreCookie(const Text& host, const Text& name, const Text& data);

// Forgets every cookie (for tests).
void ClearCookieStore();

}  // namespace miravel
