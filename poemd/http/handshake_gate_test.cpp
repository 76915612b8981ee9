#include "poemd/http/handshake_gate.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace miravel::poemd {
namespace {

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
  return at;
}

// A connection begun without blocking; says whether it completed within
// `wait_ms`.
bool Connects(uint16_t port, int wait_ms, int* fd) {
  *fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  const sockaddr_in to = Loopback(port);
  if (connect(*fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return true;
  pollfd wait{*fd, POLLOUT, 0};
  if (poll(&wait, 1, wait_ms) != 1) return false;
  int error = 0;
  socklen_t size = sizeof error;
  getsockopt(*fd, SOL_SOCKET, SO_ERROR, &error, &size);
  return error == 0;
}

TEST(DropNewHandshakes, QueuedConnectionsStayAndNewOnesCannotBegin) {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at = Loopback(0);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
  ASSERT_EQ(listen(listener, 16), 0);
  socklen_t size = sizeof at;
  getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size);
  const uint16_t port = ntohs(at.sin_port);

  int before = -1, after = -1;
  ASSERT_TRUE(Connects(port, 1000, &before));
  ASSERT_TRUE(DropNewHandshakes(listener).ok());
  EXPECT_FALSE(Connects(port, 300, &after)) << "a handshake began through the gate";
  // The one made before is still there to accept, and carries its bytes.
  ASSERT_EQ(send(before, "hi", 2, 0), 2);
  const int accepted = accept(listener, nullptr, nullptr);
  ASSERT_GE(accepted, 0);
  char got[2] = {};
  EXPECT_EQ(recv(accepted, got, 2, MSG_WAITALL), 2);
  EXPECT_EQ(std::string(got, 2), "hi");
  // Once the listener closes, the held-back client is refused, not left hanging.
  close(listener);
  pollfd wait{after, POLLOUT, 0};
  EXPECT_EQ(poll(&wait, 1, 3000), 1);
  int error = 0;
  size = sizeof error;
  getsockopt(after, SOL_SOCKET, SO_ERROR, &error, &size);
  EXPECT_EQ(error, ECONNREFUSED);
  close(accepted);
  close(before);
  close(after);
}

TEST(DropNewHandshakes, SaysSoOnWhatIsNotASocket) { EXPECT_FALSE(DropNewHandshakes(-1).ok()); }

}  // namespace
}  // namespace miravel::poemd
