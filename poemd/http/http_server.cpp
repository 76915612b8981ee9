#include "poemd/http/http_server.h"

#include <thread>
#include <vector>

#include "poemd/http/server_loop.h"

namespace miravel::poemd {

using namespace server;

HttpServer::HttpServer(Route route, Log log, HttpLimits limits) : impl_(std::make_unique<Impl>()) {
  impl_->shared.route = std::move(route);
  impl_->shared.log = std::move(log);
  impl_->shared.limits = limits;
}

HttpServer::HttpServer(DeferringRoute route, Log log, HttpLimits limits)
    : impl_(std::make_unique<Impl>()) {
  impl_->shared.deferring_route = std::move(route);
  impl_->shared.log = std::move(log);
  impl_->shared.limits = limits;
}

void HttpServer::SetRefusalPage(RefusalPage page) { impl_->shared.refusal_page = std::move(page); }

HttpServer::~HttpServer() { Stop(); }

Status HttpServer::Listen(const std::string& host, int port, int threads) {
  beast::error_code ec;
  const asio::ip::address address = asio::ip::make_address(host, ec);
  if (ec) return Status::InvalidArgument("cannot listen on " + host + ": not an IP address");
  const std::string where =
      (address.is_v6() ? "[" + host + "]" : host) + ":" + std::to_string(port);
  std::lock_guard lock(impl_->loops_mutex);
  impl_->loops.clear();
  // One listening socket, bound without SO_REUSEPORT, so that no other
  // process can listen beside it; each loop accepts on its own descriptor of
  // it.
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(port));
  for (int t = 0; t < std::max(threads, 1); ++t) {
    auto loop = std::make_unique<Loop>();
    Acceptor& acceptor = loop->acceptor;
    if (t == 0) {
      acceptor.open(endpoint.protocol(), ec);
      if (!ec) acceptor.set_option(asio::socket_base::reuse_address(true), ec);
      if (!ec) acceptor.bind(endpoint, ec);
      if (!ec) acceptor.listen(impl_->shared.limits.listen_backlog, ec);
    } else {
      const int fd = ::dup(impl_->loops[0]->acceptor.native_handle());
      if (fd < 0) {
        ec.assign(errno, boost::system::system_category());
      } else {
        acceptor.assign(endpoint.protocol(), fd, ec);
      }
    }
    if (ec) {
      impl_->loops.clear();
      return StatusFromErrorCode(std::error_code(ec.value(), std::system_category()),
                                 "cannot listen on " + where);
    }
    impl_->loops.push_back(std::move(loop));
  }
  impl_->port = impl_->loops[0]->acceptor.local_endpoint().port();
  return Status::Ok();
}

int HttpServer::Port() const { return impl_->port; }

void HttpServer::Run() {
  std::vector<Loop*> loops;
  {
    std::lock_guard lock(impl_->loops_mutex);
    if (impl_->stopped) return;
    for (auto& loop : impl_->loops) loops.push_back(loop.get());
  }
  for (Loop* loop : loops) Accept(*loop, impl_->shared);
  std::vector<std::thread> threads;
  for (size_t t = 1; t < loops.size(); ++t) {
    threads.emplace_back([loop = loops[t]] { loop->context.run(); });
  }
  if (!loops.empty()) loops[0]->context.run();
  for (std::thread& thread : threads) thread.join();
  // A reply another thread still holds refers to its connection and loop:
  // both stay until it is given (posted to the stopped loop, never run) or
  // dropped.
  {
    std::unique_lock lock(impl_->shared.address_mutex);
    impl_->shared.changed.wait(lock, [this] { return impl_->shared.pending_replies.load() == 0; });
  }
  // Connections still open end here, with the loops' handlers.
  std::lock_guard lock(impl_->loops_mutex);
  impl_->loops.clear();
}

void HttpServer::Stop() {
  {
    std::lock_guard lock(impl_->loops_mutex);
    impl_->stopped = true;
    for (auto& loop : impl_->loops) loop->context.stop();
  }
  std::lock_guard lock(impl_->shared.address_mutex);
  impl_->shared.changed.notify_all();
}

bool HttpServer::Draining() const { return impl_->shared.draining.load(); }

size_t HttpServer::OpenConnections() const { return impl_->shared.connections.load(); }

}  // namespace miravel::poemd
