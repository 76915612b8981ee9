#include "poemd/serve/routes/route_options.h"

#include <functional>
#include <random>

#include "poemd/compose/poem_random.h"

namespace miravel::poemd {
namespace {

// A fresh seed each call. Each thread draws from a stream of its own,
// seeded once from the system's randomness: asking the system for every
// poem (a std::random_device made and read twice) cost a twentieth of a
// poem's time. Seeds choose poems; nothing depends on their secrecy.
uint64_t FreshSeed() {
  thread_local PoemRandom random(uint64_t{std::random_device()()} << 32 ^ std::random_device()());
  return random.Next();
}

}  // namespace

uint64_t RouteOptions::SeedFor(std::string_view request) const {
  if (!seed) return FreshSeed();
  return *seed ^ std::hash<std::string_view>()(request);
}

}  // namespace miravel::poemd
