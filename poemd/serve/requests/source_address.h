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

#include "common/status.h"
#include "poemd/serve/requests/script.h"

namespace miravel::poemd {

struct SourceAddress {
  int length = 5;
  uint32_t line = 0;
};

// nullopt when `path` is not of that shape; the line is not checked
// against an index.
std::optional<SourceAddress> ReadSourceAddress(std::string_view path);

std::string SourcePath(const SourceAddress& address);

// Where a source page links to: IRIs.
struct SourceLinks {
  std::string back;         // the poem that borrowed the line; may be empty
  std::string simplified;   // this page in simplified characters
  std::string traditional;  // and in traditional ones
};

// What a source page's query asks for: its script, and the way back.
struct SourceRequest {
  Script script = Script::kSimplified;
  SourceLinks links;
};

// InvalidArgument when the query does not read; a `from` that is not a
// poem of ours (IsPoemTarget) leads nowhere.
StatusOr<SourceRequest> ReadSourceQuery(const SourceAddress& address, std::string_view query);

// Whether `target` (decoded, UTF-8) is a poem page's own address
// (short_address.h) with nothing in its query but names, numbers and
// dots: a way back that leads nowhere else.
bool IsPoemTarget(std::string_view target);

}  // namespace miravel::poemd
