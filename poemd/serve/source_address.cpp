#include "poemd/serve/source_address.h"

#include <algorithm>
#include <charconv>

#include "poemd/serve/pages/iri.h"
#include "poemd/serve/short_address.h"

namespace miravel::poemd {

constexpr std::string_view kSourcePrefix = "/source/";

std::optional<SourceAddress> ReadSourceAddress(std::string_view path) {
  if (!path.starts_with(kSourcePrefix)) return std::nullopt;
  path.remove_prefix(kSourcePrefix.size());
  SourceAddress address;
  if (path.starts_with("5/")) {
    address.length = 5;
  } else if (path.starts_with("7/")) {
    address.length = 7;
  } else {
    return std::nullopt;
  }
  path.remove_prefix(2);
  // Digits only: no sign, no leading zero to make a second address of one line.
  if (path.empty() || path.size() > 10 || (path.size() > 1 && path[0] == '0')) return std::nullopt;
  const auto [end, ec] = std::from_chars(path.data(), path.data() + path.size(), address.line);
  if (ec != std::errc() || end != path.data() + path.size()) return std::nullopt;
  return address;
}

std::string SourcePath(const SourceAddress& address) {
  return std::string(kSourcePrefix) + std::to_string(address.length) + "/" +
         std::to_string(address.line);
}

bool IsPoemTarget(std::string_view target) {
  const size_t mark = target.find('?');
  const std::string_view query = mark == std::string_view::npos ? "" : target.substr(mark + 1);
  const bool plain_query = std::all_of(query.begin(), query.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '=' || c == '&' || c == '.';
  });
  if (!plain_query) return false;
  const std::optional<ShortAddress> address = ReadShortAddress(EncodeIri(target.substr(0, mark)));
  return address && address->kind == AddressKind::kPage;
}

}  // namespace miravel::poemd
