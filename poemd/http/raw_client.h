// A test's client of the HTTP server on a raw socket: it sends exactly the
// bytes it is given (a broken request, half a request, nothing at all) and
// reads what comes back.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

namespace miravel::poemd {

// A client on a raw socket, optionally from another loopback address.
class Raw {
  using Clock = std::chrono::steady_clock;

 public:
  explicit Raw(int port, const char* source = nullptr) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    if (source != nullptr) {
      sockaddr_in local{};
      local.sin_family = AF_INET;
      inet_pton(AF_INET, source, &local.sin_addr);
      bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  ~Raw() { close(fd_); }

  bool connected() const { return connected_; }
  void Send(std::string_view bytes) {
    ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
  }
  // What arrives until the server closes or `timeout` passes; `closed`
  // tells which.
  std::string Read(std::chrono::milliseconds timeout, bool* closed = nullptr) {
    std::string got;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      pollfd p{fd_, POLLIN, 0};
      if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[4096];
      const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) {
        if (closed != nullptr) *closed = true;
        return got;
      }
      got.append(buffer, static_cast<size_t>(n));
    }
    if (closed != nullptr) *closed = false;
    return got;
  }
  // Reads until `text` has arrived (or `timeout` passes).
  std::string ReadUntil(std::string_view text, std::chrono::milliseconds timeout) {
    std::string got;
    const auto deadline = Clock::now() + timeout;
    while (got.find(text) == std::string::npos && Clock::now() < deadline) {
      bool closed = false;
      got += Read(std::chrono::milliseconds(10), &closed);
      if (closed) break;
    }
    return got;
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

inline size_t Count(const std::string& text, std::string_view what) {
  size_t n = 0;
  for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
  return n;
}

}  // namespace miravel::poemd
