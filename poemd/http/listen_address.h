// The address a server listens on, as an operator writes it: "HOST:PORT",
// with an IPv6 host in brackets ("[::1]:8080"). The host must be an IP
// address (names are not looked up); port 0 asks for any free port.
#pragma once

#include <string>
#include <string_view>

#include "common/status.h"

namespace miravel::poemd {

struct ListenAddress {
  std::string host;  // without brackets
  int port = 0;
};

// InvalidArgument, saying what is wrong, when `text` is not of that form.
StatusOr<ListenAddress> ParseListen(std::string_view text);

}  // namespace miravel::poemd
