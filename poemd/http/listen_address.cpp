#include "poemd/http/listen_address.h"

#include <boost/asio/ip/address.hpp>
#include <charconv>

namespace miravel::poemd {

StatusOr<ListenAddress> ParseListen(std::string_view text) {
  const Status wrong =
      Status::InvalidArgument("--listen wants HOST:PORT or [IPv6]:PORT, not " + std::string(text));
  const size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return wrong;
  std::string_view host = text.substr(0, colon);
  const std::string_view port_text = text.substr(colon + 1);
  const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
  if (bracketed) host = host.substr(1, host.size() - 2);
  int port = -1;
  const auto [end, ec] =
      std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
  if (ec != std::errc() || end != port_text.data() + port_text.size() || port < 0 || port > 65535) {
    return wrong;
  }
  boost::system::error_code bad;
  const boost::asio::ip::address address = boost::asio::ip::make_address(std::string(host), bad);
  // An IPv6 address holds colons of its own: it must stand in brackets.
  if (bad || address.is_v6() != bracketed) return wrong;
  return ListenAddress{std::string(host), port};
}

}  // namespace miravel::poemd
