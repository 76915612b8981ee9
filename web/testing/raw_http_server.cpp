#include "web/testing/raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace miravel::testing {
namespace {

// Reads one request: the head, then as many body bytes as Content-Length says.
std::string ReadRequest(int fd) {
  std::string data;
  char buffer[4096];
  size_t body_needed = std::string::npos;
  size_t head_end = std::string::npos;
  while (true) {
    if (head_end != std::string::npos && data.size() >= head_end + body_needed) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) break;
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    data.append(buffer, static_cast<size_t>(n));
    if (head_end == std::string::npos && (head_end = data.find("\r\n\r\n")) != std::string::npos) {
      head_end += 4;
      body_needed = 0;
      const size_t at = data.find("Content-Length: ");
      if (at != std::string::npos && at < head_end)
        body_needed = std::strtoul(&data[at + 16], nullptr, 10);
    }
  }
  return data;
}

}  // namespace

RawHttpServer::RawHttpServer(Responder responder) : responder_(std::move(responder)) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener_, 16);
  socklen_t length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

RawHttpServer::~RawHttpServer() {
  stopping_ = true;
  shutdown(listener_, SHUT_RDWR);
  thread_.join();
  close(listener_);
}

std::vector<std::string> RawHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void RawHttpServer::Serve() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) continue;
    const std::string request = ReadRequest(fd);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    responder_(request, [this, fd](const std::string& bytes) {
      return !stopping_ && send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) >= 0;
    });
    close(fd);
  }
}

std::string HttpReply(const std::string& status, const std::string& headers,
                      const std::string& body) {
  return "HTTP/1.1 " + status + "\r\n" + headers +
         "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace miravel::testing
