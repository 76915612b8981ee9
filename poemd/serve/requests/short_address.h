// A poem's own address, short and readable, as people share it:
//
//   /春风花月/五言藏头/k3x9z
//   /春风花月/七言藏尾首句入韵平水韵祝寿/思乡/k3x9z?lines=12.m34.7.9
//
// The segments: the hidden characters; the form (五言 or 七言; 藏头, 藏中,
// 藏尾, 递增 or 递减; 首句入韵 when the first line rhymes; 平水韵 or 新韵
// when the poem keeps one book only; the occasion when it was asked for,
// not found: 祝寿, 新婚, 节庆, 赠人, 送别, 怀念 or 无场合); the theme, when
// there is one; the seed in base 36. `lines` follows only where the seed alone does not give the
// poem (after a swap). The poem's picture is the same address with ".png"
// or ".svg" after the seed. The address is an IRI: Chinese as it stands,
// for people; EncodeIri (iri.h) makes the URI that links and
// Location carry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "poemd/serve/requests/browser_request.h"
#include "poemd/serve/requests/iri.h"

namespace miravel::poemd {

enum class AddressKind { kPage, kPng, kSvg };

struct ShortAddress {
  // The same request as a /poem query (browser_request.h), without what
  // the address's own query adds (lines, swap, script, page).
  std::string query;
  AddressKind kind = AddressKind::kPage;
};

// nullopt when `path` (as sent, percent-escaped) is not a poem's address.
std::optional<ShortAddress> ReadShortAddress(std::string_view path);
// The same, for a poem's page only, and for its pictures only.
std::optional<ShortAddress> ReadPoemPage(std::string_view path);
std::optional<ShortAddress> ReadPoemPicture(std::string_view path);

// The request a poem's address makes together with the query it was asked
// with, for its page and its pictures alike; `default_book` as for
// ParseBrowserQuery.
BrowserRequest RequestAt(const ShortAddress& address, std::string_view query,
                         RhymeBook default_book);

// The address of the poem `form` and `seed` give, in UTF-8, from "/".
// REQUIRES: the form is sound (its request's order is set).
std::string ShortPoemPath(const BrowserForm& form, uint64_t seed);

}  // namespace miravel::poemd
