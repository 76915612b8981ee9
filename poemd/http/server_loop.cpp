#include "poemd/http/server_loop.h"

namespace miravel::poemd::server {
namespace {

// After a failed accept (out of descriptors), the pause before the next.
constexpr auto kAcceptPause = std::chrono::milliseconds(10);

void Track(Loop& loop, const std::shared_ptr<Connection>& connection) {
  std::vector<std::weak_ptr<Connection>>& connections = loop.connections;
  if (connections.size() >= 64 && connections.size() % 64 == 0) {
    std::erase_if(connections, [](const auto& c) { return c.expired(); });
  }
  connections.push_back(connection);
}

void Serve(Loop& loop, Shared& shared, Socket socket) {
  beast::error_code ignored;
  const tcp::endpoint remote = socket.remote_endpoint(ignored);
  std::string peer = remote.address().to_string(ignored);
  if (!shared.Admit(peer)) {
    socket.close(ignored);
    return;
  }
  socket.set_option(tcp::no_delay(true), ignored);
  Track(loop, StartConnection(std::move(socket), std::move(peer), shared));
}

}  // namespace

void Accept(Loop& loop, Shared& shared) {
  loop.acceptor.async_accept([&loop, &shared](beast::error_code ec, Socket socket) {
    if (ec == asio::error::operation_aborted || !loop.acceptor.is_open()) return;
    if (ec) {
      // Out of descriptors, say: try again shortly rather than spin.
      loop.pause.expires_after(kAcceptPause);
      loop.pause.async_wait([&loop, &shared](beast::error_code) { Accept(loop, shared); });
      return;
    }
    Serve(loop, shared, std::move(socket));
    Accept(loop, shared);
  });
}

void StopAccepting(Loop& loop, Shared& shared) {
  beast::error_code ec;
  loop.acceptor.non_blocking(true, ec);
  while (!ec) {
    Socket socket(loop.context);
    loop.acceptor.accept(socket, ec);
    if (!ec) Serve(loop, shared, std::move(socket));
  }
  loop.acceptor.close(ec);
}

void CloseIdle(Loop& loop, Shared&) {
  const auto now = Clock::now();
  for (const auto& weak : loop.connections) {
    if (const auto connection = weak.lock()) CloseIfIdle(*connection, now);
  }
}

}  // namespace miravel::poemd::server
