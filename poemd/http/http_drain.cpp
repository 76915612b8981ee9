// The gentle stop of the server (HttpServer::Drain), for SIGTERM.
#include "poemd/http/handshake_gate.h"
#include "poemd/http/http_server.h"
#include "poemd/http/server_loop.h"

namespace miravel::poemd {
namespace {

using namespace server;

// How often idle connections are looked for.
constexpr auto kIdleSweep = std::chrono::milliseconds(100);
// How long handshakes under way are given to complete before the listening
// socket closes (a round trip, with room to spare).
constexpr auto kHandshakes = std::chrono::milliseconds(200);

}  // namespace

void HttpServer::Drain(std::chrono::milliseconds settle, std::chrono::milliseconds deadline) {
  Shared& shared = impl_->shared;
  const auto start = Clock::now();
  shared.draining = true;
  const auto stopped = [this] {
    std::lock_guard lock(impl_->loops_mutex);
    return impl_->stopped;
  };
  // Waits until `when`, Stop() or done(); says whether either came.
  const auto wait_until = [&](Clock::time_point when, auto done) {
    std::unique_lock lock(shared.address_mutex);
    return shared.changed.wait_until(lock, when, [&] { return stopped() || done(); });
  };
  const auto each_loop = [this](void (*work)(Loop&, Shared&)) {
    std::lock_guard lock(impl_->loops_mutex);
    for (auto& loop : impl_->loops) {
      asio::post(loop->context,
                 [raw = loop.get(), &shared = impl_->shared, work] { work(*raw, shared); });
    }
  };
  // Go on accepting while the balancers in front learn that we go.
  if (wait_until(start + settle, [] { return false; })) return Stop();
  // Then stop listening without resetting a connection already made (see
  // handshake_gate.h). Should the gate fail, a client connecting at the
  // instant of the close may be reset; nothing else changes.
  {
    std::lock_guard lock(impl_->loops_mutex);
    if (!impl_->loops.empty()) {
      (void)DropNewHandshakes(impl_->loops[0]->acceptor.native_handle());
    }
  }
  if (wait_until(Clock::now() + kHandshakes, [] { return false; })) return Stop();
  each_loop(StopAccepting);
  // Connections fall idle as their replies go: look again until none is left.
  const auto end = start + std::max(settle, deadline);
  while (Clock::now() < end) {
    each_loop(CloseIdle);
    if (wait_until(std::min(end, Clock::now() + kIdleSweep),
                   [&] { return shared.connections.load() == 0; })) {
      break;
    }
  }
  Stop();
}

}  // namespace miravel::poemd
