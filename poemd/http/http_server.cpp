#include "poemd/http/http_server.h"

// Boost 1.74's Asio uses std::exchange without including <utility>.
#include <utility>
//
#include <array>
#include <atomic>
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "poemd/http/handshake_gate.h"

namespace miravel::poemd {
namespace {

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

// How long a closing connection drains what the client still sends.
constexpr auto kLinger = std::chrono::milliseconds(1000);
// After a failed accept (out of descriptors), the pause before the next.
constexpr auto kAcceptPause = std::chrono::milliseconds(10);
// While draining: how long a connection may wait, sent nothing, before it
// is closed as idle, and how often idle ones are looked for.
constexpr auto kQuiet = std::chrono::seconds(1);
constexpr auto kIdleSweep = std::chrono::milliseconds(100);
// While draining: how long handshakes under way are given to complete
// before the listening socket closes (a round trip, with room to spare).
constexpr auto kHandshakes = std::chrono::milliseconds(200);

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// What every loop shares.
struct Shared {
  HttpServer::Route route;
  HttpServer::Log log;
  HttpLimits limits;
  std::atomic<size_t> connections{0};
  std::atomic<bool> draining{false};
  std::mutex address_mutex;
  std::unordered_map<std::string, size_t> per_address;
  // Notified when a connection leaves, and on Stop: what Drain waits on.
  std::condition_variable changed;

  bool Admit(const std::string& address) {
    if (connections.load() >= limits.max_connections) return false;
    std::lock_guard lock(address_mutex);
    size_t& count = per_address[address];
    if (limits.max_per_address != 0 && count >= limits.max_per_address) return false;
    ++count;
    ++connections;
    return true;
  }

  void Leave(const std::string& address) {
    std::lock_guard lock(address_mutex);
    const auto it = per_address.find(address);
    if (it != per_address.end() && --it->second == 0) per_address.erase(it);
    --connections;
    changed.notify_all();
  }
};

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(Socket socket, std::string peer, Shared& shared)
      : stream_(std::move(socket)),
        buffer_(shared.limits.max_header_bytes + shared.limits.max_body_bytes + 4096),
        peer_(std::move(peer)),
        shared_(shared) {}
  ~Connection() { shared_.Leave(peer_); }

  void Start() { ReadHeader(); }

  // While draining, a connection that has waited kQuiet for a request and
  // been sent nothing of one is closed. Anything sooner would race a client
  // sending on it now: a new connection's first request, or the next one on
  // a connection kept alive by a reply from before the drain. Runs on the
  // connection's loop.
  void CloseIfIdle(Clock::time_point now) {
    if (!reading_header_ || buffer_.size() > 0 || now - waiting_since_ < kQuiet) return;
    beast::error_code ec;
    if (stream_.socket().available(ec) > 0 || ec) return;
    Close();
  }

 private:
  // The request's deadline runs from here until its body is read: the
  // stream closes the socket when it passes.
  void ReadHeader() {
    reading_header_ = true;
    parser_.emplace();
    parser_->header_limit(static_cast<uint32_t>(shared_.limits.max_header_bytes));
    parser_->body_limit(shared_.limits.max_body_bytes);
    waiting_since_ = Clock::now();
    had_bytes_ = buffer_.size() > 0;
    stream_.expires_after(shared_.limits.request_deadline);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = shared_from_this()](beast::error_code ec, size_t bytes) {
                              self->had_bytes_ = self->had_bytes_ || bytes > 0;
                              self->OnHeader(ec);
                            });
  }

  void OnHeader(beast::error_code ec) {
    reading_header_ = false;
    if (ec) return Refuse(ec, /*headers_done=*/false);
    started_ = Clock::now();
    const auto& request = parser_->get();
    method_ = std::string(request.method_string());
    target_ = std::string(request.target());
    if (request.version() != 10 && request.version() != 11) {
      return Fail(505, "HTTP version not supported");
    }
    if (request.version() == 11 && request.find(http::field::host) == request.end()) {
      return Fail(400, "HTTP/1.1 request without Host");
    }
    if (request.find(http::field::content_length) != request.end() && parser_->chunked()) {
      return Fail(400, "Content-Length together with chunked transfer coding");
    }
    if (parser_->is_done()) return Dispatch();
    if (beast::iequals(request[http::field::expect], "100-continue")) {
      continue_ = {http::status::continue_, request.version()};
      http::async_write(stream_, continue_,
                        [self = shared_from_this()](beast::error_code ec, size_t) {
                          if (ec) return self->Refuse(ec, /*headers_done=*/true);
                          self->ReadBody();
                        });
      return;
    }
    ReadBody();
  }

  // The body, within what is left of the request's deadline.
  void ReadBody() {
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code ec, size_t) {
                       if (ec) return self->Refuse(ec, /*headers_done=*/true);
                       self->Dispatch();
                     });
  }

  // A request that could not be read whole.
  void Refuse(beast::error_code ec, bool headers_done) {
    if (ec == beast::error::timeout) {
      // The stream has closed the socket: nothing more can be said, only logged.
      const bool idle = !had_bytes_ && !parser_->got_some() && buffer_.size() == 0;
      if (headers_done) return Record(400, "the body fell short of its Content-Length in time");
      if (!idle) Record(408, "the request did not arrive in time");
      return;
    }
    if (ec == http::error::end_of_stream || ec == asio::error::eof ||
        ec == asio::error::connection_reset || ec == asio::error::operation_aborted) {
      return Close();
    }
    if (ec == http::error::header_limit) {
      const auto data = static_cast<const char*>(buffer_.data().data());
      const std::string_view seen(data, buffer_.size());
      return seen.find("\r\n") == std::string_view::npos
                 ? Fail(414, "the request line is too long")
                 : Fail(431, "the request's headers are too long");
    }
    if (ec == http::error::body_limit) {
      return Fail(413, "the body may hold " + std::to_string(shared_.limits.max_body_bytes / 1024) +
                           " KiB");
    }
    Fail(400, "malformed request: " + ec.message());
  }

  void Dispatch() {
    stream_.expires_never();
    http::request<http::string_body> message = parser_->release();
    HttpRequest request;
    request.method = std::string(message.method_string());
    request.target = std::string(message.target());
    request.body = std::move(message.body());
    request.host = std::string(message[http::field::host]);
    const bool head = request.method == "HEAD";
    if (head) request.method = "GET";
    HttpReply reply;
    try {
      reply = shared_.route(request);
    } catch (const std::exception& e) {
      reply = {500, "text/plain; charset=utf-8", "500 Internal Server Error\n", {}, e.what()};
    }
    // A draining server answers what it has begun and asks the client to go.
    const bool keep_alive = message.keep_alive() && !shared_.draining.load();
    target_ = std::string(request.Path());
    Record(reply.status, reply.log_note);
    Fill(response_, reply, message.version(), keep_alive);
    if (!head) {
      response_.body() = std::move(reply.body);
      response_.prepare_payload();
      return Write(response_, keep_alive);
    }
    Fill(head_response_, reply, message.version(), keep_alive);
    head_response_.content_length(reply.body.size());
    Write(head_response_, keep_alive);
  }

  template <typename Body>
  static void Fill(http::response<Body>& response, const HttpReply& reply, unsigned version,
                   bool keep_alive) {
    response = {};
    response.version(version);
    response.result(static_cast<unsigned>(reply.status));
    if (!reply.content_type.empty()) response.set(http::field::content_type, reply.content_type);
    for (const auto& [name, value] : reply.headers) response.set(name, value);
    response.keep_alive(keep_alive);
  }

  // An error the server answers itself; the connection closes after it.
  void Fail(int status, const std::string& why) {
    stream_.expires_never();
    const auto& request = parser_->get();
    method_ = std::string(request.method_string());
    target_ = std::string(request.target());
    Record(status, why);
    const HttpReply reply{
        status,
        "text/plain; charset=utf-8",
        std::to_string(status) + " " +
            std::string(http::obsolete_reason(static_cast<http::status>(status))) + ": " + why +
            "\n",
        {},
        why};
    Fill(response_, reply, request.version() == 10 ? 10 : 11, /*keep_alive=*/false);
    response_.body() = reply.body;
    response_.prepare_payload();
    Write(response_, /*keep_alive=*/false);
  }

  // One log line, timed from the request's headers (or, when they never
  // came whole, from when the wait for them began).
  void Record(int status, const std::string& note) {
    std::string path = target_;
    if (path.size() > 200) path = path.substr(0, 200) + "...";
    const Clock::time_point since = started_ > waiting_since_ ? started_ : waiting_since_;
    shared_.log({peer_, method_, std::move(path), status, MillisecondsSince(since), note});
  }

  template <typename Message>
  void Write(Message& message, bool keep_alive) {
    stream_.expires_after(shared_.limits.write_deadline);
    http::async_write(stream_, message,
                      [self = shared_from_this(), keep_alive](beast::error_code ec, size_t) {
                        if (ec) return self->Close();
                        if (!keep_alive) return self->Linger();
                        self->method_.clear();
                        self->target_.clear();
                        self->ReadHeader();
                      });
  }

  // Sends FIN at once, then reads and drops what the client still sends
  // until it closes too (or kLinger passes), so that closing does not reset
  // the connection under the reply.
  void Linger() {
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ec);
    if (ec) return Close();
    stream_.expires_after(kLinger);
    Drain();
  }

  void Drain() {
    stream_.async_read_some(asio::buffer(drain_),
                            [self = shared_from_this()](beast::error_code ec, size_t) {
                              if (ec) return self->Close();
                              self->Drain();
                            });
  }

  void Close() {
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ec);
    stream_.close();
  }

  Stream stream_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  http::response<http::empty_body> continue_;
  http::response<http::string_body> response_;
  http::response<http::empty_body> head_response_;
  std::array<char, 4096> drain_{};
  std::string peer_;
  Shared& shared_;
  std::string method_;  // of the request now read, for the log ("" until its line is read)
  std::string target_;
  bool had_bytes_ = false;
  bool reading_header_ = false;
  Clock::time_point waiting_since_;
  Clock::time_point started_;
};

struct Loop {
  asio::io_context context{1};
  Acceptor acceptor{context.get_executor()};
  Timer pause{context.get_executor()};
  // The loop's connections, for a drain; touched on the loop's thread only.
  std::vector<std::weak_ptr<Connection>> connections;

  void Track(const std::shared_ptr<Connection>& connection) {
    if (connections.size() >= 64 && connections.size() % 64 == 0) {
      std::erase_if(connections, [](const auto& c) { return c.expired(); });
    }
    connections.push_back(connection);
  }
};

void Serve(Loop& loop, Shared& shared, Socket socket) {
  beast::error_code ignored;
  const tcp::endpoint remote = socket.remote_endpoint(ignored);
  std::string peer = remote.address().to_string(ignored);
  if (!shared.Admit(peer)) {
    socket.close(ignored);
    return;
  }
  socket.set_option(tcp::no_delay(true), ignored);
  auto connection = std::make_shared<Connection>(std::move(socket), std::move(peer), shared);
  loop.Track(connection);
  connection->Start();
}

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

// Takes every connection the kernel has queued, then closes the loop's
// descriptor of the listening socket: closing the last one resets what is
// still queued, and those clients have already sent their requests.
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

void CloseIdle(Loop& loop) {
  const auto now = Clock::now();
  for (const auto& weak : loop.connections) {
    if (const auto connection = weak.lock()) connection->CloseIfIdle(now);
  }
}

}  // namespace

struct HttpServer::Impl {
  Shared shared;
  std::mutex loops_mutex;  // Stop() may come from any thread
  std::vector<std::unique_ptr<Loop>> loops;
  bool stopped = false;
  int port = 0;
};

HttpServer::HttpServer(Route route, Log log, HttpLimits limits) : impl_(std::make_unique<Impl>()) {
  impl_->shared.route = std::move(route);
  impl_->shared.log = std::move(log);
  impl_->shared.limits = limits;
}

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
    each_loop([](Loop& loop, Shared&) { CloseIdle(loop); });
    if (wait_until(std::min(end, Clock::now() + kIdleSweep),
                   [&] { return shared.connections.load() == 0; })) {
      break;
    }
  }
  Stop();
}

bool HttpServer::Draining() const { return impl_->shared.draining.load(); }

size_t HttpServer::OpenConnections() const { return impl_->shared.connections.load(); }

}  // namespace miravel::poemd
