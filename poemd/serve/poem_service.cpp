#include "poemd/serve/poem_service.h"

#include <random>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/serve/browser_form.h"
#include "poemd/serve/browser_pages.h"
#include "poemd/serve/browser_poem.h"
#include "poemd/serve/client_order.h"
#include "poemd/serve/poem_page.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

constexpr const char* kHtml = "text/html; charset=gbk";
constexpr const char* kUtf8Html = "text/html; charset=utf-8";
constexpr const char* kPlain = "text/plain; charset=utf-8";
constexpr std::string_view kPoemPath = "/qm/cts.php";

uint64_t SeedFor(std::optional<uint64_t> seed, std::string_view body) {
  if (!seed) return std::random_device()() ^ (uint64_t{std::random_device()()} << 32);
  return *seed ^ std::hash<std::string_view>()(body);
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
    : index_(index),
      options_(options),
      empty_form_(BrowserFormPage(ParseBrowserQuery("", options.book).form, "")) {}

HttpReply PoemService::Compose(std::string_view body) const {
  const StatusOr<PoemOrder> parsed = ParsePoemOrder(body);
  if (!parsed.ok()) {
    const std::string& why = parsed.status().message();
    return {400, kHtml, RefusalPage(why), {}, "refused: " + why};
  }
  PoemOrder order = *parsed;
  order.book = options_.book;
  const Poem poem =
      ComposePoem(index_, order, {.seed = SeedFor(options_.seed, body), .theme = order.theme});
  return {200, kHtml, PoemPage(index_, order, poem), {}, LogNote(order)};
}

std::string PoemService::LogNote(const PoemOrder& order) const {
  const std::string what = options_.log_characters
                               ? Utf16ToUtf8(order.Hidden())
                               : std::to_string(order.characters.size()) + " characters";
  return what + " " + std::to_string(order.length) + " " + order.ModeName() +
         (order.first_line_rhymes ? " 200 " : " 100 ") + std::string(RhymeBookKey(order.book));
}

namespace {

// Whether the poem is exactly the lines an address named: a forged address,
// or one from another index, names lines that cannot stand in their place.
bool IsWhatWasNamed(const std::vector<std::optional<KeptLine>>& named, const Poem& poem) {
  if (named.size() != poem.lines.size()) return false;
  for (size_t i = 0; i < named.size(); ++i) {
    if (!named[i] || named[i]->line != poem.lines[i].corpus_line ||
        named[i]->made != poem.lines[i].made) {
      return false;
    }
  }
  return true;
}

}  // namespace

HttpReply PoemService::BrowserPoem(std::string_view query) const {
  const BrowserRequest request = ParseBrowserQuery(query, options_.book);
  if (!request.order.ok()) {
    const std::string& why = request.order.status().message();
    return {400, kUtf8Html, BrowserFormPage(request.form, why), {}, "form refused: " + why};
  }
  const PoemOrder& order = *request.order;
  const auto result = ComposeForBrowser(index_, request, SeedFor(options_.seed, query));
  const std::string note = LogNote(order) + " (page)";
  // A new poem, a swap, or an address naming lines that could not be kept
  // settles at the poem's own address, which brings it back.
  if (!request.seed || request.swap || !IsWhatWasNamed(request.lines, result.poem)) {
    HttpReply moved{303, kUtf8Html, "", {}, note};
    moved.headers.emplace_back("Location", PoemAddress(request.form, result.seed, result.poem));
    return moved;
  }
  return {200, kUtf8Html, BrowserPoemPage(index_, request, result), {}, note};
}

HttpReply PoemService::Handle(const HttpRequest& request) const {
  const std::string_view path = request.Path();
  if (path == kPoemPath) {
    return request.method == "POST" ? Compose(request.body) : NotAllowed("POST");
  }
  if (path == "/") {
    if (request.method != "GET") return NotAllowed("GET, HEAD");
    if (request.Query().empty()) return {200, kUtf8Html, empty_form_, {}, {}};
    return {200,
            kUtf8Html,
            BrowserFormPage(ParseBrowserQuery(request.Query(), options_.book).form, ""),
            {},
            {}};
  }
  if (path == "/poem") {
    return request.method == "GET" ? BrowserPoem(request.Query()) : NotAllowed("GET, HEAD");
  }
  if (path == "/healthz") {
    if (request.method != "GET") return NotAllowed("GET, HEAD");
    return draining_ ? Plain(503, "draining\n", "draining") : Plain(200, "ok\n");
  }
  return Plain(404, "404 Not Found\n", "no such page");
}

}  // namespace miravel::poemd
