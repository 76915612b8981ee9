// Closing a listening socket resets every connection the kernel has
// completed but the program not yet accepted, and those clients have often
// sent their requests already. To stop listening without losing any, first
// let no new handshake begin, give those under way time to complete, accept
// what is queued, and only then close.
#pragma once

#include "common/status.h"

namespace miravel::poemd {

// Makes the listening TCP socket `fd` (IPv4 or IPv6) drop the first packet
// of every new handshake, a SYN without ACK; handshakes already begun still
// complete and queue for accept. A client whose SYN is dropped sends it
// again after about a second, and is refused once the socket has closed.
// Cannot be undone short of closing the socket.
Status DropNewHandshakes(int fd);

}  // namespace miravel::poemd
