#include "poemd/serve/routes/route_options.h"

#include <functional>
#include <random>

namespace miravel::poemd {

uint64_t RouteOptions::SeedFor(std::string_view request) const {
  if (!seed) return std::random_device()() ^ (uint64_t{std::random_device()()} << 32);
  return *seed ^ std::hash<std::string_view>()(request);
}

}  // namespace miravel::poemd
