// miravel-poemd: the poem service.
#include <malloc.h>
#include <pthread.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "miravel/version.h"
#include "poemd/http/http_server.h"
#include "poemd/http/listen_address.h"
#include "poemd/http/request_log.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/poem_service.h"
#include "poemd/serve/routes/refusals.h"
#include "poemd/tools/poemd_options.h"

namespace {

using namespace miravel;
using namespace miravel::poemd;

// Every connection is a descriptor: allow as many as the system lets us.
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

// What an operator can do about a failure to listen.
const char* ListenAdvice(StatusCode code) {
  switch (code) {
    case StatusCode::kPermissionDenied:
      return " (ports below 1024 need root or the capability CAP_NET_BIND_SERVICE; "
             "or choose a port above 1024 with --listen)";
    case StatusCode::kAddressInUse:
      return " (another program listens there; stop it or choose another port with --listen)";
    case StatusCode::kInvalidArgument:
      return " (--listen wants an address of this machine)";
    default:
      return "";
  }
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// Serves until a signal: SIGTERM drains (health says 503 at once, the
// server then stops gently, http_server.h), SIGINT or a second SIGTERM
// stops at once. REQUIRES: both signals blocked in every thread.
void ServeUntilSignalled(HttpServer& server, const PoemService& service, const sigset_t& signals,
                         std::chrono::milliseconds settle, std::chrono::milliseconds deadline) {
  std::atomic<bool> served{false};
  std::thread drainer;
  std::thread stopper([&] {
    for (;;) {
      int signal = 0;
      sigwait(&signals, &signal);
      if (served) return;
      if (signal == SIGTERM && !drainer.joinable()) {
        std::fprintf(stderr, "miravel-poemd: draining\n");
        service.StartDraining();
        drainer = std::thread([&] { server.Drain(settle, deadline); });
      } else {
        server.Stop();
      }
    }
  });
  server.Run();
  // Run has returned: wake the stopper, which has nothing more to do.
  served = true;
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  if (drainer.joinable()) drainer.join();
}

// Loads the index and serves it until a signal; the exit code.
int Run(const PoemdOptions& options) {
  // Signals go to the stopper thread; the server's threads inherit the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  RaiseDescriptorLimit();
  // Pictures (about 100 KB each) are made on one thread and freed on
  // another: mapped apart, each goes back to the system when freed, and the
  // memory a flood of them leaves stays the cache's bound (without this,
  // glibc's moving threshold keeps them in arenas that only grow).
  mallopt(M_MMAP_THRESHOLD, 64 * 1024);

  const auto start = std::chrono::steady_clock::now();
  const StatusOr<CorpusIndex> index = CorpusIndex::Load(options.index_path);
  if (!index.ok()) {
    std::fprintf(stderr, "miravel-poemd: %s\n", index.status().message().c_str());
    return 1;
  }
  const double load_ms = MillisecondsSince(start);
  if (options.check) {
    std::printf("%s: %zu + %zu lines, checked in %.0f ms\n", options.index_path.c_str(),
                index->LineCount(5), index->LineCount(7), load_ms);
    return 0;
  }

  const PoemService service(*index, options.service);
  const bool journal = StderrIsJournal();
  HttpServer server(
      [&service](const HttpRequest& request, const Defer& defer) {
        return service.Serve(request, defer);
      },
      [journal](const RequestRecord& record) { WriteLogLine(FormatRecord(record, journal)); },
      options.limits);
  // What the server refuses before any route reads the request is said in
  // simplified characters: no page led there.
  server.SetRefusalPage(
      [](int status, const std::string& why, bool html) { return Refusal(status, why, html); });
  const ListenAddress& address = options.listen;
  if (const Status listening = server.Listen(address.host, address.port, options.threads);
      !listening.ok()) {
    std::fprintf(stderr, "miravel-poemd: %s%s\n", listening.message().c_str(),
                 ListenAdvice(listening.code()));
    return 1;
  }
  std::fprintf(stderr,
               "miravel-poemd %s: %zu + %zu lines (%.0f MB) loaded in %.0f ms; listening on "
               "%s:%d with %d threads, %d for pictures\n",
               MIRAVEL_VERSION_TEXT, index->LineCount(5), index->LineCount(7),
               index->File().size() / 1e6, load_ms, address.host.c_str(), server.Port(),
               options.threads, options.service.pictures.pool.threads);
  ServeUntilSignalled(server, service, signals, options.drain_settle, options.drain_deadline);
  std::fprintf(stderr, "miravel-poemd: stopped\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine<PoemdOptions> parsed = ParsePoemdOptions(argc, argv);
  if (const auto* answer = std::get_if<CommandLineAnswer>(&parsed)) return Give(*answer);
  return Run(std::get<PoemdOptions>(parsed));
}
