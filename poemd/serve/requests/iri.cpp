#include "poemd/serve/requests/iri.h"

namespace miravel::poemd {

std::string EncodeIri(std::string_view iri) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : iri) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7f || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' ||
        c == '`' || c == '{' || c == '|' || c == '}') {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace miravel::poemd
