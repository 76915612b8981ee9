// miravel-poemd: the poem service.
#include <pthread.h>
#include <sys/resource.h>

#include <CLI/CLI.hpp>
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

namespace {

using namespace miravel;
using namespace miravel::poemd;

struct Options {
  std::string index_path = "/usr/share/miravel-poemd/poems.idx";
  std::string listen = "127.0.0.1:80";
  int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  ServiceOptions service;
  HttpLimits limits;
  bool check = false;
  // SIGTERM: how long new connections are still taken, and how long the
  // whole drain may last.
  std::chrono::milliseconds drain_settle{5000};
  std::chrono::milliseconds drain_deadline{25000};
};

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

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Composes acrostic poems from an index of classical verse, over HTTP.",
               "miravel-poemd");
  Options options;
  size_t per_address = options.limits.max_per_address;
  app.add_option("--index", options.index_path, "the poem index (miravel-poemd-index builds it)")
      ->capture_default_str();
  app.add_option("--listen", options.listen, "HOST:PORT to listen on ([IPv6]:PORT)")
      ->capture_default_str();
  app.add_option("--threads", options.threads, "event loops, one per core")
      ->capture_default_str()
      ->check(CLI::Range(1, 256));
  app.add_option("--max-per-address", per_address,
                 "connections one client address may hold; 0 for no limit (behind a proxy)")
      ->capture_default_str();
  app.add_option("--seed", options.service.seed, "compose the same poem for the same request");
  app.add_flag("--log-characters", options.service.log_characters,
               "write the hidden characters to the log (by default only how many)");
  app.add_option("--public-url", options.service.public_url,
                 "the address people reach the service at, for the links pages share "
                 "(https://poems.example.org); by default http:// and the request's Host")
      ->check([](const std::string& url) {
        const bool ok = (url.starts_with("http://") || url.starts_with("https://")) &&
                        !url.ends_with('/') && url.find_first_of(" \"<>") == std::string::npos;
        return ok ? std::string() : std::string("an http:// or https:// URL without a trailing /");
      });
  std::string book = "both";
  app.add_option("--rhyme-book", book,
                 "the rhyme book of the client's poems and the page's default: pingshui "
                 "(classical tones, 入声 counted 仄), xinyun (modern tones) or both")
      ->check(CLI::IsMember({"pingshui", "xinyun", "both"}))
      ->capture_default_str();
  double settle_s = 5, deadline_s = 25;
  app.add_option("--drain-settle", settle_s,
                 "after SIGTERM, seconds to go on taking connections while balancers notice")
      ->capture_default_str()
      ->check(CLI::Range(0.0, 600.0));
  app.add_option("--drain-deadline", deadline_s,
                 "after SIGTERM, seconds by which requests under way must be done")
      ->capture_default_str()
      ->check(CLI::Range(0.0, 3600.0));
  app.add_flag("--check", options.check, "check the index and exit: 0 when it loads, 1 when not");
  app.set_version_flag("--version", std::string("miravel-poemd ") + MIRAVEL_VERSION_TEXT);
  CLI11_PARSE(app, argc, argv);
  options.limits.max_per_address = per_address;
  options.service.book = *RhymeBookFromKey(book);
  options.drain_settle = std::chrono::milliseconds(static_cast<int64_t>(settle_s * 1000));
  options.drain_deadline = std::chrono::milliseconds(static_cast<int64_t>(deadline_s * 1000));
  const StatusOr<ListenAddress> address = ParseListen(options.listen);
  if (!address.ok()) {
    std::fprintf(stderr, "miravel-poemd: %s\n", address.status().message().c_str());
    return 2;
  }

  // Signals go to the stopper thread; the server's threads inherit the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  RaiseDescriptorLimit();

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
      [&service](const HttpRequest& request) { return service.Handle(request); },
      [journal](const RequestRecord& record) { WriteLogLine(FormatRecord(record, journal)); },
      options.limits);
  if (const Status listening = server.Listen(address->host, address->port, options.threads);
      !listening.ok()) {
    std::fprintf(stderr, "miravel-poemd: %s%s\n", listening.message().c_str(),
                 ListenAdvice(listening.code()));
    return 1;
  }
  std::fprintf(stderr,
               "miravel-poemd %s: %zu + %zu lines (%.0f MB) loaded in %.0f ms; listening on "
               "%s:%d with %d threads\n",
               MIRAVEL_VERSION_TEXT, index->LineCount(5), index->LineCount(7),
               index->File().size() / 1e6, load_ms, address->host.c_str(), server.Port(),
               options.threads);
  ServeUntilSignalled(server, service, signals, options.drain_settle, options.drain_deadline);
  std::fprintf(stderr, "miravel-poemd: stopped\n");
  return 0;
}
