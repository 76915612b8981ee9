// One client's connection: its requests read within their limits and
// deadlines, answered by the route in order, each logged (http_server.h
// says what a client must keep to). Internal to http/.
#pragma once

#include <memory>

#include "poemd/http/server_types.h"

namespace miravel::poemd::server {

class Connection;

// Serves `socket` from `peer` until it closes: counted in `shared` (the
// caller has admitted it) and out again when it ends. The connection keeps
// itself alive; the handle lets a drain close it once idle. Call on the
// socket's loop.
std::shared_ptr<Connection> StartConnection(Socket socket, std::string peer, Shared& shared);

// While draining, a connection that has waited kQuiet for a request and
// been sent nothing of one is closed. Anything sooner would race a client
// sending on it now: a new connection's first request, or the next one on
// a connection kept alive by a reply from before the drain. Call on the
// connection's loop.
void CloseIfIdle(Connection& connection, Clock::time_point now);

}  // namespace miravel::poemd::server
