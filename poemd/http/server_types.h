// What the server's parts (http_server.cpp, http_drain.cpp, connection.h,
// server_loop.h) share: the Asio and Beast types they name, and the state
// every loop shares. Internal to http/; nothing outside includes it.
#pragma once

// Boost 1.74's Asio uses std::exchange without including <utility>.
#include <utility>
//
#include <atomic>
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <unordered_map>

#include "poemd/http/http_server.h"

namespace miravel::poemd::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;
// Every handle of a connection runs on its loop's io_context: naming its
// executor spares each operation the type-erased executor's copies.
using Executor = asio::io_context::executor_type;
using Socket = asio::basic_stream_socket<tcp, Executor>;
using Acceptor = asio::basic_socket_acceptor<tcp, Executor>;
using Stream = beast::basic_stream<tcp, Executor, beast::unlimited_rate_policy>;
using Timer = asio::basic_waitable_timer<Clock, asio::wait_traits<Clock>, Executor>;

// While draining: how long a connection may wait, sent nothing, before it
// is closed as idle.
inline constexpr auto kQuiet = std::chrono::seconds(1);

// What every loop shares.
struct Shared {
  HttpServer::Route route;  // one of the two routes is set
  HttpServer::DeferringRoute deferring_route;
  HttpServer::Log log;
  HttpServer::RefusalPage refusal_page;  // may be empty: plain text
  HttpLimits limits;
  // Replies a route has deferred and not given: Run waits for them (under address_mutex,
  // notified by `changed` when the count falls to 0).
  std::atomic<size_t> pending_replies{0};
  std::atomic<size_t> connections{0};
  std::atomic<bool> draining{false};
  std::mutex address_mutex;
  std::unordered_map<std::string, size_t> per_address;
  // Notified when a connection leaves, and on Stop: what Drain waits on.
  std::condition_variable changed;

  // Counts a connection from `address` in, unless it would pass a limit.
  bool Admit(const std::string& address) {
    if (connections.load() >= limits.max_connections) return false;
    std::lock_guard lock(address_mutex);
    size_t& count = per_address[address];
    if (limits.max_per_address != 0 && count >= limits.max_per_address) return false;
    ++count;
    ++connections;
    return true;
  }

  // One reply a route deferred given or dropped.
  void ReplyDone() {
    if (--pending_replies == 0) {
      std::lock_guard lock(address_mutex);
      changed.notify_all();
    }
  }

  void Leave(const std::string& address) {
    std::lock_guard lock(address_mutex);
    const auto it = per_address.find(address);
    if (it != per_address.end() && --it->second == 0) per_address.erase(it);
    --connections;
    changed.notify_all();
  }
};

}  // namespace miravel::poemd::server
