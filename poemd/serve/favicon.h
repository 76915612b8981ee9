// The project's icon as /favicon.ico: its 16- and 32-pixel drawings
// (deploy/icons), each kept as PNG inside one ICO file, as every browser
// reads it.
#pragma once

#include <string>

namespace miravel::poemd {

const std::string& Favicon();

}  // namespace miravel::poemd
