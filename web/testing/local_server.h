// The one loopback server of the tests: cpp-httplib on 127.0.0.1, on a free
// port (or the one given), routes set in the constructor's callback; it
// listens from construction until destroyed. listening() is false when the
// port could not be bound.
#pragma once

#include <httplib.h>

#include <functional>
#include <string>
#include <thread>

namespace miravel::testing {

class LocalServer {
 public:
  explicit LocalServer(const std::function<void(httplib::Server&)>& routes, int port = 0) {
    routes(server_);
    // The client keeps connections open; a server that closes after each
    // reply stops at once instead of waiting out its keep-alive time.
    server_.set_keep_alive_max_count(1);
    // The socket listens once bound, so requests queue until the thread runs.
    port_ = port == 0 ? server_.bind_to_any_port("127.0.0.1")
                      : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
    if (port_ <= 0) return;
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() before the loop runs would be lost; this httplib has no
    // readiness signal to wait on, so spin until it reports running.
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~LocalServer() {
    if (!thread_.joinable()) return;
    server_.stop();
    thread_.join();
  }
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  bool listening() const { return port_ > 0; }
  int port() const { return port_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace miravel::testing
