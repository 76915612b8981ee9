#include "poemd/http/handshake_gate.h"

#include <linux/filter.h>
#include <sys/socket.h>

#include <cerrno>
#include <system_error>

namespace miravel::poemd {

Status DropNewHandshakes(int fd) {
  // A socket filter on TCP sees each segment from its TCP header on: byte 13
  // holds the flags. SYN is 0x02, ACK 0x10.
  constexpr uint32_t kFlagsOffset = 13;
  constexpr uint32_t kSyn = 0x02, kAck = 0x10;
  sock_filter code[] = {
      BPF_STMT(BPF_LD | BPF_B | BPF_ABS, kFlagsOffset),
      BPF_STMT(BPF_ALU | BPF_AND | BPF_K, kSyn | kAck),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kSyn, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, 0),           // drop
      BPF_STMT(BPF_RET | BPF_K, 0xFFFFFFFF),  // keep whole
  };
  const sock_fprog program{static_cast<unsigned short>(std::size(code)), code};
  if (setsockopt(fd, SOL_SOCKET, SO_ATTACH_FILTER, &program, sizeof program) != 0) {
    return StatusFromErrorCode(std::error_code(errno, std::system_category()),
                               "cannot hold back new connections");
  }
  return Status::Ok();
}

}  // namespace miravel::poemd
