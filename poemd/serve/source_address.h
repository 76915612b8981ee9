// The address of the poem one of our lines came from, whole:
//
//   /source/5/18342?script=traditional&from=%2F%E6%98%A5...
//
// the line's length and its number among the index's lines of that length
// (as a poem's `lines` names it, so it holds while the index does); script
// as on a poem's page; from, the poem page that borrowed the line, to lead
// back to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace miravel::poemd {

struct SourceAddress {
  int length = 5;
  uint32_t line = 0;
};

// nullopt when `path` is not of that shape; the line is not checked
// against an index.
std::optional<SourceAddress> ReadSourceAddress(std::string_view path);

std::string SourcePath(const SourceAddress& address);

// Whether `target` (decoded, UTF-8) is a poem page's own address
// (short_address.h) with nothing in its query but names, numbers and
// dots: a way back that leads nowhere else.
bool IsPoemTarget(std::string_view target);

}  // namespace miravel::poemd
