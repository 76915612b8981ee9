#include "poemd/poem_service.h"

#include <unicode/unistr.h>

#include <random>

#include "poemd/poem_composer.h"
#include "poemd/poem_order.h"
#include "poemd/poem_page.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

constexpr const char* kHtml = "text/html; charset=gbk";
constexpr const char* kPlain = "text/plain; charset=utf-8";
constexpr std::string_view kPoemPath = "/qm/cts.php";

uint64_t SeedFor(std::optional<uint64_t> seed, std::string_view body) {
  if (!seed) return std::random_device()() ^ (uint64_t{std::random_device()()} << 32);
  return *seed ^ std::hash<std::string_view>()(body);
}

std::string Utf8Of(std::u16string_view text) {
  std::string utf8;
  icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())).toUTF8String(utf8);
  return utf8;
}

HttpReply Plain(int status, std::string text, std::string note = {}) {
  return {status, kPlain, std::move(text), {}, std::move(note)};
}

HttpReply NotAllowed(const char* allow) {
  HttpReply reply = Plain(405, "405 Method Not Allowed\n", "method not allowed");
  reply.headers.emplace_back("Allow", allow);
  return reply;
}

}  // namespace

PoemService::PoemService(const CorpusIndex& index, ServiceOptions options)
    : index_(index), options_(options) {}

HttpReply PoemService::Compose(std::string_view body) const {
  const OrderOrError parsed = ParsePoemOrder(body);
  if (!parsed.order) return Plain(400, "400 Bad Request: " + parsed.error + "\n", parsed.error);
  const PoemOrder& order = *parsed.order;
  const Poem poem =
      ComposePoem(index_, order, {.seed = SeedFor(options_.seed, body), .theme = order.theme});
  std::u16string hidden;
  for (const HiddenCharacter& c : order.characters) hidden.push_back(c.unicode);
  static const char* const kPlaces[] = {"cangtou", "cangzhong", "cangwei"};
  const std::string what =
      options_.log_characters ? Utf8Of(hidden) : std::to_string(hidden.size()) + " characters";
  return {200,
          kHtml,
          PoemPage(index_, order, poem),
          {},
          what + " " + std::to_string(order.length) + " " + kPlaces[static_cast<int>(order.place)] +
              (order.first_line_rhymes ? " 200" : " 100")};
}

HttpReply PoemService::Handle(const HttpRequest& request) const {
  const std::string_view path = request.Path();
  if (path == kPoemPath) {
    return request.method == "POST" ? Compose(request.body) : NotAllowed("POST");
  }
  if (path == "/") {
    return request.method == "GET" ? HttpReply{200, kHtml, FormPage(), {}, {}}
                                   : NotAllowed("GET, HEAD");
  }
  if (path == "/healthz") {
    return request.method == "GET" ? Plain(200, "ok\n") : NotAllowed("GET, HEAD");
  }
  return Plain(404, "404 Not Found\n", "no such page");
}

}  // namespace miravel::poemd
