// What miravel-poemd's command line asks for (miravel-poemd --help).
#pragma once

#include <chrono>
#include <string>

#include "poemd/http/http_server.h"
#include "poemd/http/listen_address.h"
#include "poemd/serve/poem_service.h"
#include "poemd/tools/command_line.h"

namespace miravel::poemd {

struct PoemdOptions {
  std::string index_path = "/usr/share/miravel-poemd/poems.idx";
  ListenAddress listen{"127.0.0.1", 80};
  int threads = 1;  // the machine's cores unless given
  ServiceOptions service;
  HttpLimits limits;
  bool check = false;  // check the index and exit
  // SIGTERM: how long new connections are still taken, and how long the
  // whole drain may last.
  std::chrono::milliseconds drain_settle{5000};
  std::chrono::milliseconds drain_deadline{25000};
};

// A bad value or a missing one is answered as CLI11 answers it; an address
// --listen cannot take exits 2, saying why.
CommandLine<PoemdOptions> ParsePoemdOptions(int argc, const char* const* argv);

}  // namespace miravel::poemd
