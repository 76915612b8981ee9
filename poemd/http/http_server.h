// The service's HTTP/1.1 server, on Boost.Beast and Asio: event-driven, so
// that slow and idle clients cost a socket each and hold up nobody.
//
// Threads: `threads` event loops, each accepting on its own descriptor of
// one listening socket and serving its own connections; a route runs on the
// loop of its connection. A deferred route may hand the reply to another
// thread (work too slow for a loop) and answer from there: the connection
// waits, costing its loop nothing.
//
// What a client must keep to, and what happens when it does not (every
// value is in HttpLimits):
//   - connections: at most max_connections in all and max_per_address from
//     one address; past either, a new connection is closed at once;
//   - a request must arrive whole within request_deadline of the moment the
//     server starts waiting for it, or its connection is closed: silently
//     for an idle keep-alive connection, after a 408 when its headers are
//     incomplete and a 400 when its body falls short of its Content-Length;
//   - request line and headers: at most max_header_bytes (431);
//   - the body: at most max_body_bytes, whatever its encoding, refused
//     before it is read (413): a Content-Length or a chunk that announces
//     more is never read;
//   - 400 for a request that does not parse, for Content-Length together
//     with chunked transfer coding, and for HTTP/1.1 without Host;
//   - a reply must be taken within write_deadline, or the connection closes.
// Pipelined requests are answered in order, one at a time, each in the HTTP
// version of its request. Every error the server sends itself says
// "Connection: close" and closes at once, its reply flushed, worded by the
// refusal page (plain text unless one is set). Every request, refused or
// not, gets one log line with its own timing.
//
// Run() blocks until Stop(), which any thread (or a signal handler's
// thread) may call: the loops end within a few milliseconds, every
// connection is closed once each reply a route has deferred has been
// given or dropped (Run waits for those). Drain() ends it gently instead
// (for SIGTERM).
//
// One listening socket serves every loop, bound without SO_REUSEPORT: a
// second process cannot listen on the same address (Listen gives it
// AddressInUse).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/status.h"
#include "poemd/http/http_types.h"

namespace miravel::poemd {

struct HttpLimits {
  size_t max_connections = 20000;
  size_t max_per_address = 128;  // 0: no limit (behind a proxy)
  std::chrono::milliseconds request_deadline{5000};
  std::chrono::milliseconds write_deadline{5000};
  size_t max_header_bytes = 8 * 1024;
  size_t max_body_bytes = 64 * 1024;
  int listen_backlog = 4096;
};

// One line of the log, for one request.
struct RequestRecord {
  std::string peer;
  std::string method;  // "" when the request line never arrived whole
  std::string path;
  int status = 0;
  double milliseconds = 0;
  std::string note;
};

class HttpServer {
 public:
  using Route = std::function<HttpReply(const HttpRequest&)>;
  // Answers now (a reply), or later from any thread: it calls `defer` for
  // the ReplyTo that will carry the answer and returns nullopt.
  using DeferringRoute =
      std::function<std::optional<HttpReply>(const HttpRequest&, const Defer& defer)>;
  using Log = std::function<void(const RequestRecord&)>;
  // The reply to a request the server refuses itself (400, 408, 413, 414,
  // 431, 500 for a route that threw, 505): `why` in English, as logged;
  // `html` when the request's Accept asks for HTML (as far as it was read).
  using RefusalPage = std::function<HttpReply(int status, const std::string& why, bool html)>;

  // `route` answers every request that reaches it; `log` gets one record a
  // request. Both are called on the loops' threads, concurrently.
  HttpServer(Route route, Log log, HttpLimits limits = {});
  HttpServer(DeferringRoute route, Log log, HttpLimits limits = {});
  // How the server's own refusals read. Call before Listen.
  void SetRefusalPage(RefusalPage page);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds `host`:`port` (port 0: any free port) for `threads` loops:
  // AddressInUse, PermissionDenied, InvalidArgument (not an IP address of
  // this machine) or IOError, with the system's words, when it cannot.
  Status Listen(const std::string& host, int port, int threads);
  // The port bound.
  int Port() const;
  // Serves until Stop(). REQUIRES: Listen succeeded.
  void Run();
  void Stop();
  // Stops the server gently (http_drain.cpp), blocking until it has: every reply from now
  // says "Connection: close"; new connections are still taken for `settle`
  // (while balancers in front notice); then no new handshake may begin,
  // what the kernel has queued is accepted and the listening socket closes
  // (so that no connection a client has made is reset); connections that
  // have waited a second for a request without a byte of one are closed,
  // requests under way are answered, and the server stops when the last
  // connection has gone or `deadline` (from the call) has passed. Returns
  // early on Stop().
  void Drain(std::chrono::milliseconds settle, std::chrono::milliseconds deadline);
  bool Draining() const;
  // Connections open now (for tests and the log).
  size_t OpenConnections() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
