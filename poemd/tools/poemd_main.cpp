// miravel-poemd: the poem service.
#include <pthread.h>
#include <sys/resource.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "miravel/version.h"
#include "poemd/http/http_server.h"
#include "poemd/http/request_log.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/poem_service.h"

namespace {

using namespace miravel::poemd;

// Every connection is a descriptor: allow as many as the system lets us.
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

std::string ListenAdvice(const std::string& error) {
  if (error.find("ermission") != std::string::npos) {
    return " (ports below 1024 need root or the capability CAP_NET_BIND_SERVICE; "
           "or choose a port above 1024 with --listen)";
  }
  if (error.find("in use") != std::string::npos) {
    return " (another program listens there; stop it or choose another port with --listen)";
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Composes acrostic poems from an index of classical verse, over HTTP.",
               "miravel-poemd");
  std::string index_path = "/var/lib/miravel-poemd/poems.idx";
  std::string listen = "127.0.0.1:80";
  int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  ServiceOptions service_options;
  HttpLimits limits;
  size_t per_address = limits.max_per_address;
  bool check = false;
  app.add_option("--index", index_path, "the poem index (miravel-poemd-index builds it)")
      ->capture_default_str();
  app.add_option("--listen", listen, "HOST:PORT to listen on")->capture_default_str();
  app.add_option("--threads", threads, "event loops, one per core")
      ->capture_default_str()
      ->check(CLI::Range(1, 256));
  app.add_option("--max-per-address", per_address,
                 "connections one client address may hold; 0 for no limit (behind a proxy)")
      ->capture_default_str();
  app.add_option("--seed", service_options.seed, "compose the same poem for the same request");
  app.add_flag("--log-characters", service_options.log_characters,
               "write the hidden characters to the log (by default only how many)");
  app.add_flag("--check", check, "check the index and exit: 0 when it loads, 1 when not");
  app.set_version_flag("--version", std::string("miravel-poemd ") + MIRAVEL_VERSION_TEXT);
  CLI11_PARSE(app, argc, argv);
  limits.max_per_address = per_address;
  const size_t colon = listen.rfind(':');
  int port = -1;
  if (colon != std::string::npos) port = std::atoi(listen.c_str() + colon + 1);
  if (colon == std::string::npos || port < 0 || port > 65535) {
    std::fprintf(stderr, "miravel-poemd: --listen wants HOST:PORT, not %s\n", listen.c_str());
    return 2;
  }
  std::string host = listen.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }

  // Signals go to the waiting thread below; the server's threads inherit the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  RaiseDescriptorLimit();

  const auto start = std::chrono::steady_clock::now();
  std::string error;
  const std::optional<CorpusIndex> index = CorpusIndex::Load(index_path, &error);
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

  const PoemService service(*index, service_options);
  const bool journal = StderrIsJournal();
  HttpServer server(
      [&service](const HttpRequest& request) { return service.Handle(request); },
      [journal](const RequestRecord& record) { WriteLogLine(FormatRecord(record, journal)); },
      limits);
  if (!server.Listen(host, port, threads, &error)) {
    std::fprintf(stderr, "miravel-poemd: %s%s\n", error.c_str(), ListenAdvice(error).c_str());
    return 1;
  }
  std::fprintf(stderr,
               "miravel-poemd %s: %zu + %zu lines (%.0f MB) loaded in %.0f ms; listening on "
               "%s:%d with %d threads\n",
               MIRAVEL_VERSION_TEXT, index->LineCount(5), index->LineCount(7),
               index->File().size() / 1e6, load_ms, host.c_str(), server.Port(), threads);
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    server.Stop();
  });
  server.Run();
  // Run returned on its own (it never does but on Stop): wake the stopper.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  std::fprintf(stderr, "miravel-poemd: stopped\n");
  return 0;
}
