#include "poemd/poem_service.h"

#include <unicode/unistr.h>

#include <chrono>
#include <ctime>
#include <random>

#include "poemd/poem_composer.h"
#include "poemd/poem_order.h"
#include "poemd/poem_page.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

constexpr const char* kHtml = "text/html; charset=gbk";
constexpr const char* kPlain = "text/plain; charset=utf-8";
constexpr const char* kPoemPath = "/qm/cts.php";

uint64_t SeedFor(std::optional<uint64_t> seed, std::string_view body) {
  if (!seed) return std::random_device()() ^ (uint64_t{std::random_device()()} << 32);
  return *seed ^ std::hash<std::string_view>()(body);
}

std::string Utf8Of(const std::string& gbk) {
  const std::u16string utf16 = GbkToUtf16(gbk);
  std::string utf8;
  icu::UnicodeString(false, utf16.data(), static_cast<int32_t>(utf16.size())).toUTF8String(utf8);
  return utf8;
}

// Set by the handler that served the request, read by the logger that runs
// after it on the same thread.
thread_local std::string request_note;
thread_local std::chrono::steady_clock::time_point request_start;

}  // namespace

PoemService::PoemService(const CorpusIndex& index, std::optional<uint64_t> seed)
    : index_(index), seed_(seed) {}

ComposeReply PoemService::Compose(std::string_view body) const {
  const OrderOrError parsed = ParsePoemOrder(body);
  if (!parsed.order) {
    return {400, kPlain, "400 Bad Request: " + parsed.error + "\n", "(" + parsed.error + ")"};
  }
  const PoemOrder& order = *parsed.order;
  const Poem poem =
      ComposePoem(index_, order, {.seed = SeedFor(seed_, body), .theme = order.theme});
  std::string hidden;
  for (const HiddenCharacter& c : order.characters) hidden += c.gbk;
  static const char* const kPlaces[] = {"cangtou", "cangzhong", "cangwei"};
  return {200, kHtml, PoemPage(index_, order, poem),
          Utf8Of(hidden) + " " + std::to_string(order.length) + " " +
              kPlaces[static_cast<int>(order.place)] + (order.first_line_rhymes ? " 200" : " 100")};
}

void PoemService::Mount(httplib::Server& server,
                        std::function<void(const std::string&)> log) const {
  server.set_payload_max_length(kMaxBodyBytes);
  // A reply goes out as headers, then body: without this, Nagle and delayed
  // acknowledgement hold every kept-alive reply for tens of milliseconds.
  server.set_tcp_nodelay(true);
  server.set_read_timeout(5, 0);
  server.set_write_timeout(5, 0);
  server.set_keep_alive_timeout(5);
  server.Post(kPoemPath, [this](const httplib::Request& req, httplib::Response& res) {
    const ComposeReply reply = Compose(req.body);
    request_note = reply.log_note;
    res.status = reply.status;
    res.set_content(reply.body, reply.content_type.c_str());
  });
  server.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(FormPage(), kHtml);
  });
  const auto not_allowed = [](const char* allow) {
    return [allow](const httplib::Request&, httplib::Response& res) {
      res.status = 405;
      res.set_header("Allow", allow);
      res.set_content("405 Method Not Allowed\n", kPlain);
    };
  };
  server.Get(kPoemPath, not_allowed("POST"));
  for (const char* path : {kPoemPath, "/"}) {
    const char* allow = std::string_view(path) == "/" ? "GET" : "POST";
    if (std::string_view(path) == "/") server.Post(path, not_allowed(allow));
    server.Put(path, not_allowed(allow));
    server.Delete(path, not_allowed(allow));
    server.Patch(path, not_allowed(allow));
    server.Options(path, not_allowed(allow));
  }
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return;
    const char* text = res.status == 404   ? "404 Not Found\n"
                       : res.status == 413 ? "413 Payload Too Large: the body may hold 64 KiB\n"
                                           : "request refused\n";
    res.set_content(text, kPlain);
  });
  server.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
    request_start = std::chrono::steady_clock::now();
    request_note.clear();
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.set_logger([log = std::move(log)](const httplib::Request& req,
                                           const httplib::Response& res) {
    const auto ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - request_start)
            .count();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &local);
    char took[32];
    std::snprintf(took, sizeof took, "%.2f ms", ms);
    const std::string what = request_note.empty() ? req.method + " " + req.path : request_note;
    log(std::string(when) + " " + std::to_string(res.status) + " " + what + " " + took);
  });
}

}  // namespace miravel::poemd
