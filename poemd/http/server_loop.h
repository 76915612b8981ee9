// One event loop of the server, with its descriptor of the shared listening
// socket and its connections; and the server's own state (HttpServer::Impl),
// which its parts share. Internal to http/.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "poemd/http/connection.h"
#include "poemd/http/server_types.h"

namespace miravel::poemd::server {

struct Loop {
  asio::io_context context{1};
  Acceptor acceptor{context.get_executor()};
  Timer pause{context.get_executor()};
  // The loop's connections, for a drain; touched on the loop's thread only.
  std::vector<std::weak_ptr<Connection>> connections;
};

// Accepts connections on the loop's descriptor for as long as it is open.
void Accept(Loop& loop, Shared& shared);
// Takes every connection the kernel has queued, then closes the loop's
// descriptor of the listening socket: closing the last one resets what is
// still queued, and those clients have already sent their requests.
void StopAccepting(Loop& loop, Shared& shared);
// Closes the loop's connections that are idle (CloseIfIdle).
void CloseIdle(Loop& loop, Shared& shared);

}  // namespace miravel::poemd::server

namespace miravel::poemd {

struct HttpServer::Impl {
  server::Shared shared;
  std::mutex loops_mutex;  // Stop() may come from any thread
  std::vector<std::unique_ptr<server::Loop>> loops;
  bool stopped = false;
  int port = 0;
};

}  // namespace miravel::poemd
