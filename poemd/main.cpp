// miravel-poemd: the poem service.
#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "miravel/version.h"
#include "poemd/corpus_index.h"
#include "poemd/poem_service.h"

int main(int argc, char** argv) {
  CLI::App app("Composes acrostic poems from an index of classical verse, over HTTP.",
               "miravel-poemd");
  std::string index_path;
  std::string listen = "127.0.0.1:80";
  std::optional<uint64_t> seed;
  bool check = false;
  app.add_option("--index", index_path, "the poem index (miravel-poemd-index builds it)")
      ->required();
  app.add_option("--listen", listen, "HOST:PORT to listen on")->capture_default_str();
  app.add_option("--seed", seed, "compose the same poem for the same request");
  app.add_flag("--check", check, "check the index and exit: 0 when it loads, 1 when not");
  app.set_version_flag("--version", std::string("miravel-poemd ") + MIRAVEL_VERSION_TEXT);
  CLI11_PARSE(app, argc, argv);
  const size_t colon = listen.rfind(':');
  int port = 0;
  if (colon != std::string::npos) port = std::atoi(listen.c_str() + colon + 1);
  if (colon == std::string::npos || port <= 0 || port > 65535) {
    std::fprintf(stderr, "miravel-poemd: --listen wants HOST:PORT, not %s\n", listen.c_str());
    return 2;
  }
  const std::string host = listen.substr(0, colon);

  // Signals go to the waiting thread below; the server's threads inherit the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  const auto start = std::chrono::steady_clock::now();
  std::string error;
  const std::optional<miravel::poemd::CorpusIndex> index =
      miravel::poemd::CorpusIndex::Load(index_path, &error);
  if (!index) {
    std::fprintf(stderr, "miravel-poemd: %s\n", error.c_str());
    return 1;
  }
  const double load_ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (check) {
    std::printf("%s: %zu + %zu lines, checked in %.0f ms\n", index_path.c_str(),
                index->LineCount(5), index->LineCount(7), load_ms);
    return 0;
  }

  httplib::Server server;
  std::mutex log_mutex;
  const miravel::poemd::PoemService service(*index, seed);
  service.Mount(server, [&log_mutex](const std::string& line) {
    std::lock_guard lock(log_mutex);
    std::fprintf(stderr, "%s\n", line.c_str());
  });
  if (!server.bind_to_port(host, port)) {
    std::fprintf(stderr, "miravel-poemd: cannot listen on %s:%d\n", host.c_str(), port);
    return 1;
  }
  std::fprintf(stderr, "miravel-poemd: %zu + %zu lines loaded in %.0f ms; listening on %s:%d\n",
               index->LineCount(5), index->LineCount(7), load_ms, host.c_str(), port);
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    server.stop();
  });
  server.listen_after_bind();
  // listen returned on its own (an error): wake the stopper to end it.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  std::fprintf(stderr, "miravel-poemd: stopped\n");
  return 0;
}
