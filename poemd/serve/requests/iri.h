// Addresses are IRIs inside the service (Chinese as it stands, for people
// to read); links and Location carry them as URIs.
#pragma once

#include <string>
#include <string_view>

namespace miravel::poemd {

// `iri` with every byte outside printable ASCII, and the characters no URI
// may hold, as %XX.
std::string EncodeIri(std::string_view iri);

}  // namespace miravel::poemd
