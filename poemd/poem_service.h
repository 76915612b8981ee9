// The poem service's HTTP surface on cpp-httplib.
//
// POST /qm/cts.php composes a poem (200, GBK HTML); GET / serves the form.
// Bad input gets a short plain-text answer: 400 for a malformed or missing
// field, invalid GBK or more than 100 characters; 413 for a body over 64 KiB;
// 405 for another method on these paths; 404 for another path. One line per
// request goes to the log: time, characters, form, milliseconds.
#pragma once

#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "poemd/corpus_index.h"

namespace miravel::poemd {

inline constexpr size_t kMaxBodyBytes = 64 * 1024;

struct ComposeReply {
  int status = 200;
  std::string content_type;
  std::string body;
  std::string log_note;  // the characters and form, in UTF-8, or why it was refused
};

class PoemService {
 public:
  // With `seed`, the same request always gets the same poem; without it,
  // repeated requests get different ones.
  PoemService(const CorpusIndex& index, std::optional<uint64_t> seed);

  // The answer to one form body; thread-safe.
  ComposeReply Compose(std::string_view body) const;
  // Routes, limits, time-outs and logging onto `server`. `log` receives
  // one line per request (without a line break).
  void Mount(httplib::Server& server, std::function<void(const std::string&)> log) const;

 private:
  const CorpusIndex& index_;
  std::optional<uint64_t> seed_;
};

}  // namespace miravel::poemd
