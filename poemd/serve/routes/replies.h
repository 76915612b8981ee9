// The replies the routes choose among: a page for a browser, a page for the
// desktop client, plain text, and the way to a poem's own address.
#pragma once

#include <string>

#include "poemd/http/http_types.h"
#include "poemd/serve/requests/poem_links.h"

namespace miravel::poemd {

// `page` (UTF-8 HTML) for a browser.
HttpReply BrowserReply(std::string page, std::string note = {}, int status = 200);

// `page` (made in UTF-8) for the desktop client, sent in GBK, its code page:
// converted here, once.
HttpReply ClientReply(int status, const std::string& page, std::string note);

HttpReply PlainReply(int status, std::string text, std::string note = {});

// 303 to the address the poem settles at (OwnPoem::Target), as a URI.
HttpReply SeeOther(const OwnPoem& own, std::string note);

}  // namespace miravel::poemd
