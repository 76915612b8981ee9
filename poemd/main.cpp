// miravel-poemd: the poem service.
// Usage: miravel-poemd --index PATH [--listen 127.0.0.1:80] [--seed N]
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "poemd/corpus_index.h"
#include "poemd/poem_service.h"

namespace {

struct Options {
  std::string index;
  std::string host = "127.0.0.1";
  int port = 80;
  std::optional<uint64_t> seed;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const std::string value = argv[++i];
    if (flag == "--index") {
      options.index = value;
    } else if (flag == "--listen") {
      const size_t colon = value.rfind(':');
      if (colon == std::string::npos) return std::nullopt;
      options.host = value.substr(0, colon);
      options.port = std::atoi(value.c_str() + colon + 1);
    } else if (flag == "--seed") {
      options.seed = std::strtoull(value.c_str(), nullptr, 10);
    } else {
      return std::nullopt;
    }
  }
  if (options.index.empty() || options.port <= 0 || options.port > 65535) return std::nullopt;
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: miravel-poemd --index PATH [--listen 127.0.0.1:80] [--seed N]\n");
    return 2;
  }
  // Signals go to the waiting thread below; the server's threads inherit the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  const auto start = std::chrono::steady_clock::now();
  std::string error;
  const std::optional<miravel::poemd::CorpusIndex> index =
      miravel::poemd::CorpusIndex::Load(options->index, &error);
  if (!index) {
    std::fprintf(stderr, "miravel-poemd: %s\n", error.c_str());
    return 1;
  }
  const double load_ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

  httplib::Server server;
  std::mutex log_mutex;
  const miravel::poemd::PoemService service(*index, options->seed);
  service.Mount(server, [&log_mutex](const std::string& line) {
    std::lock_guard lock(log_mutex);
    std::fprintf(stderr, "%s\n", line.c_str());
  });
  if (!server.bind_to_port(options->host, options->port)) {
    std::fprintf(stderr, "miravel-poemd: cannot listen on %s:%d\n", options->host.c_str(),
                 options->port);
    return 1;
  }
  std::fprintf(stderr, "miravel-poemd: %zu + %zu lines loaded in %.0f ms; listening on %s:%d\n",
               index->LineCount(5), index->LineCount(7), load_ms, options->host.c_str(),
               options->port);
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
