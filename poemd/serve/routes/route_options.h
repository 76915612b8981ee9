// What the routes are told by the service's options (poem_service.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "poemd/verse/rhyme_books.h"

namespace miravel::poemd {

struct RouteOptions {
  // With a seed, the same request always gets the same poem; without one,
  // asking again gets another.
  std::optional<uint64_t> seed;
  bool log_characters = false;  // else the log counts them (they are often names)
  RhymeBook book = RhymeBook::kBoth;
  std::string public_url;  // "" for http:// and the request's Host

  // The seed of a poem that `request` (its body or query) asks for and
  // names no seed of its own.
  uint64_t SeedFor(std::string_view request) const;
};

}  // namespace miravel::poemd
