// The project's icon as /favicon.ico: its 16- and 32-pixel drawings
// (deploy/icons), each kept as PNG inside one ICO file, as every browser
// reads it.
#pragma once

#include "poemd/http/http_types.h"

namespace miravel::poemd {

// GET /favicon.ico: the icon, kept by browsers for a week.
HttpReply FaviconReply();

}  // namespace miravel::poemd
