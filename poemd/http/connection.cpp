#include "poemd/http/connection.h"

#include <array>
#include <atomic>
#include <optional>
#include <stdexcept>
#include <string>

namespace miravel::poemd::server {
namespace {

// How long a closing connection drains what the client still sends.
constexpr auto kLinger = std::chrono::milliseconds(1000);

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(Socket socket, std::string peer, Shared& shared)
      : stream_(std::move(socket)),
        deadline_(stream_.get_executor()),
        buffer_(shared.limits.max_header_bytes + shared.limits.max_body_bytes + 4096),
        peer_(std::move(peer)),
        shared_(shared) {}
  ~Connection() { shared_.Leave(peer_); }

  void Start() { ReadHeader(); }

  // The route's reply to the request read; on the connection's loop.
  void Answer(HttpReply reply) {
    // A draining server answers what it has begun and asks the client to go.
    const bool keep_alive = keep_alive_ && !shared_.draining.load();
    Record(reply.status, reply.log_note);
    Fill(response_, reply, version_, keep_alive);
    if (!head_) {
      response_.body() = std::move(reply.body);
      response_.prepare_payload();
      return Write(response_, keep_alive);
    }
    Fill(head_response_, reply, version_, keep_alive);
    head_response_.content_length(reply.body.size());
    Write(head_response_, keep_alive);
  }

  void Close() {
    reading_request_ = false;
    deadline_.cancel();
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ec);
    stream_.close();
  }

  // See CloseIfIdle in connection.h.
  void CloseIfIdle(Clock::time_point now) {
    if (!reading_header_ || buffer_.size() > 0 || now - waiting_since_ < kQuiet) return;
    beast::error_code ec;
    if (stream_.socket().available(ec) > 0 || ec) return;
    Close();
  }

 private:
  // The request's deadline runs from here until its body is read: when it
  // passes, the read is cancelled and the request refused (Refuse).
  void ReadHeader() {
    reading_header_ = true;
    parser_.emplace();
    parser_->header_limit(static_cast<uint32_t>(shared_.limits.max_header_bytes));
    parser_->body_limit(shared_.limits.max_body_bytes);
    waiting_since_ = Clock::now();
    had_bytes_ = buffer_.size() > 0;
    timed_out_ = false;
    reading_request_ = true;
    stream_.expires_never();
    deadline_.expires_after(shared_.limits.request_deadline);
    // A wait already done when it is cancelled still runs: its generation
    // tells it from this request's.
    deadline_.async_wait(
        [self = shared_from_this(), generation = ++deadline_generation_](beast::error_code ec) {
          if (ec || generation != self->deadline_generation_ || !self->reading_request_) return;
          self->timed_out_ = true;
          beast::error_code ignored;
          self->stream_.socket().cancel(ignored);
        });
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
    if (timed_out_) {
      const bool idle = !had_bytes_ && !parser_->got_some() && buffer_.size() == 0;
      if (headers_done) return Fail(400, "the body fell short of its Content-Length in time");
      if (!idle) return Fail(408, "the request did not arrive in time");
      return Close();
    }
    deadline_.cancel();
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
    reading_request_ = false;
    deadline_.cancel();
    http::request<http::string_body> message = parser_->release();
    HttpRequest request;
    request.method = std::string(message.method_string());
    request.target = std::string(message.target());
    request.body = std::move(message.body());
    request.host = std::string(message[http::field::host]);
    request.accept = std::string(message[http::field::accept]);
    request.if_none_match = std::string(message[http::field::if_none_match]);
    request.peer = peer_;
    head_ = request.method == "HEAD";
    if (head_) request.method = "GET";
    version_ = message.version();
    keep_alive_ = message.keep_alive();
    target_ = std::string(request.Path());
    if (!shared_.deferring_route) {
      try {
        return Answer(shared_.route(request));
      } catch (const std::exception& e) {
        return Answer(RouteFailed(e, request));
      }
    }
    // Made only when the route defers: a reply given at once costs nothing more.
    std::shared_ptr<PendingReply> pending;
    const Defer defer = [this, &pending]() -> ReplyTo {
      if (!pending) pending = std::make_shared<PendingReply>(shared_from_this());
      return [pending = pending](HttpReply reply) { pending->Give(std::move(reply)); };
    };
    std::optional<HttpReply> now;
    try {
      now = shared_.deferring_route(request, defer);
    } catch (const std::exception& e) {
      now = RouteFailed(e, request);
    }
    if (!pending)
      return Answer(now ? std::move(*now) : RouteFailed(std::runtime_error("no reply"), request));
    if (now) pending->Give(std::move(*now));
  }

  HttpReply RouteFailed(const std::exception& e, const HttpRequest& request) {
    HttpReply reply = Refusal(500, "the route failed", request.AcceptsHtml());
    reply.log_note = e.what();
    return reply;
  }

  // A reply a deferred route holds: given on the connection's loop (at once
  // when given there), or, dropped unanswered, the connection closed there.
  class PendingReply {
   public:
    explicit PendingReply(std::shared_ptr<Connection> connection)
        : connection_(std::move(connection)) {
      ++connection_->shared_.pending_replies;
    }
    ~PendingReply() {
      if (!given_.exchange(true)) {
        asio::post(connection_->stream_.get_executor(),
                   [connection = connection_] { connection->Close(); });
      }
      Shared& shared = connection_->shared_;
      connection_.reset();
      shared.ReplyDone();
    }
    PendingReply(const PendingReply&) = delete;
    PendingReply& operator=(const PendingReply&) = delete;

    void Give(HttpReply reply) {
      if (given_.exchange(true)) return;
      asio::dispatch(connection_->stream_.get_executor(),
                     [connection = connection_, reply = std::move(reply)]() mutable {
                       connection->Answer(std::move(reply));
                     });
    }

   private:
    std::shared_ptr<Connection> connection_;
    std::atomic<bool> given_{false};
  };

  HttpReply Refusal(int status, const std::string& why, bool html) const {
    if (shared_.refusal_page) return shared_.refusal_page(status, why, html);
    return {status,
            "text/plain; charset=utf-8",
            std::to_string(status) + " " +
                std::string(http::obsolete_reason(static_cast<http::status>(status))) + ": " + why +
                "\n",
            {},
            why};
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
    reading_request_ = false;
    deadline_.cancel();
    const auto& request = parser_->get();
    method_ = std::string(request.method_string());
    target_ = std::string(request.target());
    Record(status, why);
    HttpReply reply = Refusal(status, why, AcceptsHtml(std::string(request[http::field::accept])));
    Fill(response_, reply, request.version() == 10 ? 10 : 11, /*keep_alive=*/false);
    response_.body() = std::move(reply.body);
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

  Stream stream_;
  Timer deadline_;  // of the request being read
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
  bool reading_request_ = false;
  bool timed_out_ = false;  // the request's deadline cancelled its read
  uint64_t deadline_generation_ = 0;
  // Of the request being answered.
  unsigned version_ = 11;
  bool keep_alive_ = false;
  bool head_ = false;
  Clock::time_point waiting_since_;
  Clock::time_point started_;
};

std::shared_ptr<Connection> StartConnection(Socket socket, std::string peer, Shared& shared) {
  auto connection = std::make_shared<Connection>(std::move(socket), std::move(peer), shared);
  connection->Start();
  return connection;
}

void CloseIfIdle(Connection& connection, Clock::time_point now) { connection.CloseIfIdle(now); }

}  // namespace miravel::poemd::server
