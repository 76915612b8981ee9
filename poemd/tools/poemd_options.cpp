#include "poemd/tools/poemd_options.h"

#include <thread>

#include "miravel/version.h"

namespace miravel::poemd {

CommandLine<PoemdOptions> ParsePoemdOptions(int argc, const char* const* argv) {
  CLI::App app("Composes acrostic poems from an index of classical verse, over HTTP.",
               "miravel-poemd");
  PoemdOptions options;
  options.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::string listen = "127.0.0.1:80";
  app.add_option("--index", options.index_path, "the poem index (miravel-poemd-index builds it)")
      ->capture_default_str();
  app.add_option("--listen", listen, "HOST:PORT to listen on ([IPv6]:PORT)")->capture_default_str();
  app.add_option("--threads", options.threads, "event loops, one per core")
      ->capture_default_str()
      ->check(CLI::Range(1, 256));
  app.add_option("--max-per-address", options.limits.max_per_address,
                 "connections one client address may hold; 0 for no limit (behind a proxy)")
      ->capture_default_str();
  PictureOptions& pictures = options.service.pictures;
  app.add_option("--picture-threads", pictures.pool.threads,
                 "threads that draw pictures, apart from the loops that serve poems")
      ->capture_default_str()
      ->check(CLI::Range(1, 64));
  app.add_option("--picture-queue", pictures.pool.queue,
                 "pictures that may wait to be drawn; past them, 503 and Retry-After")
      ->capture_default_str()
      ->check(CLI::Range(0, 100000));
  app.add_option("--picture-renders-per-address", pictures.pool.per_address,
                 "pictures one client address may have waiting or drawn at once; past them, 429; "
                 "0 for no limit (behind a proxy that limits)")
      ->capture_default_str();
  size_t cache_mb = pictures.cache_bytes >> 20;
  app.add_option("--picture-cache-mb", cache_mb,
                 "memory for pictures already drawn, in MiB; 0 keeps none")
      ->capture_default_str()
      ->check(CLI::Range(0, 1 << 20));
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
  if (std::optional<CommandLineAnswer> answer = ParseWith(app, argc, argv)) return *answer;

  const StatusOr<ListenAddress> address = ParseListen(listen);
  if (!address.ok())
    return CommandLineAnswer{2, "miravel-poemd: " + address.status().message() + "\n"};
  options.listen = *address;
  options.service.book = *RhymeBookFromKey(book);
  pictures.cache_bytes = cache_mb << 20;
  options.drain_settle = std::chrono::milliseconds(static_cast<int64_t>(settle_s * 1000));
  options.drain_deadline = std::chrono::milliseconds(static_cast<int64_t>(deadline_s * 1000));
  return options;
}

}  // namespace miravel::poemd
