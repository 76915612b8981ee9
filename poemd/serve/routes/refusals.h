// What the service says when it will not or cannot answer: a short page in
// Chinese for a browser (pages/browser_page.h's error pages), in the script
// the page that led there was in, a line of plain text for anything else
// (curl, a monitor, an <img> that cannot show a page anyway).
#pragma once

#include <string>

#include "poemd/http/http_types.h"
#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

// `status` (400, 408, 413, 414, 429, 431, 500, 503, 505; another reads as a
// plain failure) for a client that reads HTML or not; `why` in English, for
// the plain text and the log.
HttpReply Refusal(int status, const std::string& why, bool html,
                  Script script = Script::kSimplified);

// 404 and the page that says the address holds nothing.
HttpReply MissingPage(std::string note, Script script = Script::kSimplified);

// 405 and the page that says so; `allow` lists the methods the address
// takes ("GET, HEAD"), for the Allow header and the page.
HttpReply MethodNotAllowed(const std::string& allow, Script script = Script::kSimplified);

}  // namespace miravel::poemd
