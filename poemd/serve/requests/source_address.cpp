#include "poemd/serve/requests/source_address.h"

#include <algorithm>
#include <charconv>

#include "poemd/http/form_body.h"
#include "poemd/serve/requests/form_fields.h"
#include "poemd/serve/requests/iri.h"
#include "poemd/serve/requests/short_address.h"

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

StatusOr<SourceRequest> ReadSourceQuery(const SourceAddress& address, std::string_view query) {
  const StatusOr<FormFields> fields = FormFields::Read(query);
  if (!fields.ok()) return fields.status();
  SourceRequest request;
  request.script = ScriptFromKey(fields->Value("script")).value_or(Script::kSimplified);
  std::string from = fields->Value("from");
  if (!IsPoemTarget(from)) from.clear();
  const std::string back = from.empty() ? "" : "&from=" + PercentEncode(from);
  const std::string path = SourcePath(address);
  request.links = {from, path + (back.empty() ? "" : "?" + back.substr(1)),
                   path + "?script=traditional" + back};
  return request;
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
