// miravel-stand-in: the stand-in poem service as a program, for trying the
// window by hand and for the smoke test. Usage: miravel-stand-in [PORT]
// (default 80); it serves on 127.0.0.1 until stopped.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "composer/testing/stand_in_service.h"

int main(int argc, char** argv) {
  const int port = argc > 1 ? std::atoi(argv[1]) : 80;
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // the server's threads inherit this
  miravel::testing::StandInService service(port);
  if (!service.listening()) {
    std::fprintf(stderr, "miravel-stand-in: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::fprintf(stderr, "miravel-stand-in: listening on 127.0.0.1:%d\n", service.port());
  int signal = 0;
  sigwait(&signals, &signal);
  return 0;
}
