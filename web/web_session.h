// What every exchange of the process shares, as a browser session would:
// the cookie store and the resolved host names, in curl share handles.
// Cookies that a response sets through a handle attached with cookies are
// kept, and later such exchanges with the same host send them. Connections
// are not kept between exchanges: a kept-alive connection to a server that
// does not set TCP_NODELAY stalls each reply on delayed acknowledgement.
// Thread-safe.
#pragma once

#include <curl/curl.h>

#include "common/text_ops.h"
#include "web/curl_library.h"

namespace miravel {

// Attaches `handle` to the shared name cache, and, `with_cookies`, to the
// cookie store with its cookie engine on. False when curl refuses either.
bool AttachWebSession(const CurlFunctions& curl, CURL* handle, bool with_cookies);

// Keeps a cookie for `host` as a Set-Cookie line would: `data` is the value
// followed by optional attributes ("1; path=/x"). Only the path attribute
// is honoured; the cookie lasts for the session.
void StoreCookie(const Text& host, const Text& name, const Text& data);

// Forgets every cookie (for tests).
void ClearCookieStore();

}  // namespace miravel
