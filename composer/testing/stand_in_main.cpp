// miravel-stand-in: the stand-in poem service as a program, for trying the
// window by hand and for the smoke test. It serves on 127.0.0.1 until
// stopped, printing the port it listens on.
#include <pthread.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <map>
#include <string>

#include "composer/testing/stand_in_service.h"

int main(int argc, char** argv) {
  using Reply = miravel::testing::StandInService::Reply;
  CLI::App app("A stand-in for miravel-poemd: made-up poems, or a reply that fails on purpose.",
               "miravel-stand-in");
  int port = 0;
  Reply reply = Reply::kPoems;
  const std::map<std::string, Reply> replies = {{"poems", Reply::kPoems},
                                                {"no-poems", Reply::kNoPoems},
                                                {"hang", Reply::kDelayed},
                                                {"drop", Reply::kDropped},
                                                {"redirect", Reply::kRedirected}};
  app.add_option("--port", port, "port on 127.0.0.1 (0: a free one)")->capture_default_str();
  app.add_option("--reply", reply, "poems, no-poems, hang, drop or redirect")
      ->transform(CLI::CheckedTransformer(replies));
  CLI11_PARSE(app, argc, argv);
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
  service.set_reply(reply);
  std::printf("%d\n", service.port());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&signals, &signal);
  return 0;
}
