// A one-connection-at-a-time HTTP server on 127.0.0.1 for tests that need
// the request exactly as it crossed the wire, or a reply sent exactly so
// (slowly, never, or cut short). cpp-httplib parses too much for that.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace miravel::testing {

class RawHttpServer {
 public:
  // Given the raw request (head and body), writes the reply through `send`;
  // it may sleep between sends. `send` returns false once the peer is gone.
  using Responder = std::function<void(const std::string& request,
                                       const std::function<bool(const std::string&)>& send)>;

  explicit RawHttpServer(Responder responder);
  ~RawHttpServer();

  int port() const { return port_; }
  std::vector<std::string> requests() const;

 private:
  void Serve();

  Responder responder_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A whole reply with the given status line, extra header lines and body.
std::string HttpReply(const std::string& status, const std::string& headers,
                      const std::string& body);

}  // namespace miravel::testing
