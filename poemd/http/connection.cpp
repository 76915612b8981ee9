#include "poemd/http/connection.h"

#include <array>
#include <optional>
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
        buffer_(shared.limits.max_header_bytes + shared.limits.max_body_bytes + 4096),
        peer_(std::move(peer)),
        shared_(shared) {}
  ~Connection() { shared_.Leave(peer_); }

  void Start() { ReadHeader(); }

  // See CloseIfIdle in connection.h.
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

std::shared_ptr<Connection> StartConnection(Socket socket, std::string peer, Shared& shared) {
  auto connection = std::make_shared<Connection>(std::move(socket), std::move(peer), shared);
  connection->Start();
  return connection;
}

void CloseIfIdle(Connection& connection, Clock::time_point now) { connection.CloseIfIdle(now); }

}  // namespace miravel::poemd::server
