#include "poemd/serve/poem_service.h"

#include <algorithm>
#include <cctype>
#include <random>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/http/form_body.h"
#include "poemd/serve/browser_form.h"
#include "poemd/serve/browser_poem.h"
#include "poemd/serve/client_order.h"
#include "poemd/serve/favicon.h"
#include "poemd/serve/order_parts.h"
#include "poemd/serve/pages/browser_page.h"
#include "poemd/serve/pages/client_page.h"
#include "poemd/serve/pages/form_page.h"
#include "poemd/serve/pages/poem_page.h"
#include "poemd/serve/pages/poem_picture.h"
#include "poemd/serve/pages/source_page.h"
#include "poemd/serve/refusals.h"
#include "poemd/serve/short_address.h"
#include "text/gbk_unicode.h"
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

// The client's code page: its pages are made in UTF-8 and sent in GBK.
std::string Gbk(const std::string& utf8) { return Utf16ToGbk(Utf8ToUtf16(utf8)); }

HttpReply Plain(int status, std::string text, std::string note = {}) {
  return {status, kPlain, std::move(text), {}, std::move(note)};
}

HttpReply NotAllowed(const char* allow) {
  HttpReply reply{
      405,
      "text/html; charset=utf-8",
      ErrorPage("不能这样打开这一页", std::string("这个地址只接受 ") + allow + " 请求。"),
      {},
      "method not allowed"};
  reply.headers.emplace_back("Allow", allow);
  return reply;
}

std::vector<std::optional<KeptLine>> ToKept(const Poem& poem) {
  std::vector<std::optional<KeptLine>> kept;
  for (const ComposedLine& line : poem.lines) kept.push_back(KeptLine{line.corpus_line, line.made});
  return kept;
}

}  // namespace

PoemService::PoemService(const CorpusIndex& index, ServiceOptions options)
    : index_(index),
      options_(options),
      empty_form_(BrowserFormPage(ParseBrowserQuery("", options.book).form, "")),
      pictures_(std::make_unique<PictureRoute>(index, options.book, options.pictures)) {}

std::optional<HttpReply> PoemService::Serve(const HttpRequest& request, const Defer& defer) const {
  if (request.method == "GET") {
    if (const std::optional<ShortAddress> address = ReadShortAddress(request.Path());
        address && address->kind != AddressKind::kPage) {
      return pictures_->Serve(request, *address, defer);
    }
  }
  return Handle(request);
}

HttpReply PoemService::Compose(std::string_view body) const {
  const StatusOr<PoemOrder> parsed = ParsePoemOrder(body);
  if (!parsed.ok()) {
    const std::string& why = parsed.status().message();
    return {400, kHtml, Gbk(ClientRefusalPage(why)), {}, "refused: " + why};
  }
  PoemOrder order = *parsed;
  order.book = options_.book;
  const Poem poem =
      ComposePoem(index_, order, {.seed = SeedFor(options_.seed, body)});
  return {200, kHtml, Gbk(ClientPoemPage(index_, order, poem)), {}, LogNote(order)};
}

std::string PoemService::LogNote(const PoemOrder& order) const {
  return OrderNote(order, options_.log_characters);
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
  if (!request.order.ok()) return RefusedForm(request);
  const auto result = ComposeForBrowser(index_, request, FreshSeed(query));
  // Every poem settles at its own short address, which brings it back.
  HttpReply moved{303, kUtf8Html, "", {}, LogNote(*request.order) + " (page)"};
  moved.headers.emplace_back("Location", EncodeIri(OwnAddress(request, result).Target()));
  return moved;
}

HttpReply PoemService::RefusedForm(const BrowserRequest& request) const {
  const std::string& why = request.order.status().message();
  return {400,
          kUtf8Html,
          BrowserFormPage(request.form, why, request.invalid),
          {},
          "form refused: " + why};
}

uint64_t PoemService::FreshSeed(std::string_view query) const {
  // Short enough for a short address (seven base-36 digits).
  return SeedFor(options_.seed, query) & 0xffffffffu;
}

OwnPoem PoemService::OwnAddress(const BrowserRequest& request,
                                const miravel::poemd::BrowserPoem& result) const {
  OwnPoem own{ShortPoemPath(request.form, result.seed), {}, request.script};
  // The seed alone gives the poem unless a line was swapped or named.
  if (request.lines.empty() && !request.swap) return own;
  const Poem seeded =
      ComposePoem(index_, *request.order, {.seed = result.seed});
  if (!IsWhatWasNamed(ToKept(seeded), result.poem)) own.lines = PoemLines(result.poem);
  return own;
}

std::string PoemService::Base(const HttpRequest& request) const {
  if (!options_.public_url.empty()) return options_.public_url;
  // The name the browser used, when it is a plain host[:port]; anything
  // else in the header is not put into pages.
  const bool plain = !request.host.empty() && request.host.size() <= 255 &&
                     std::all_of(request.host.begin(), request.host.end(), [](char c) {
                       return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' ||
                              c == ':' || c == '[' || c == ']';
                     });
  return "http://" + (plain ? request.host : std::string("localhost"));
}

HttpReply PoemService::PoemAt(const HttpRequest& http, const ShortAddress& address) const {
  if (address.kind != AddressKind::kPage) return pictures_->Draw(http, address);
  const std::string query =
      address.query + (http.Query().empty() ? "" : "&" + std::string(http.Query()));
  const BrowserRequest request = ParseBrowserQuery(query, options_.book);
  if (!request.order.ok()) return RefusedForm(request);
  const PoemOrder& order = *request.order;
  const auto result = ComposeForBrowser(index_, request, 0);
  const OwnPoem own = OwnAddress(request, result);
  const std::string note = LogNote(order);

  // A swap, or an address not in its own form, settles at the poem's own.
  if (EncodeIri(own.Target()) != http.target) {
    HttpReply moved{303, kUtf8Html, "", {}, note + " (page)"};
    moved.headers.emplace_back("Location", EncodeIri(own.Target()));
    return moved;
  }
  const PoemPicture picture = PictureOf(index_, order, result.poem, request.script);
  const PictureLayout first = LayOutPicture(picture, 0);
  const PoemLinks links = LinksOf(own, request, result.poem, Base(http), PicturePages(picture),
                                  static_cast<int>(first.width), static_cast<int>(first.height));
  return {200,
          kUtf8Html,
          BrowserPoemPage(index_, order, result.poem, links, request.script),
          {},
          note + " (page)"};
}

HttpReply PoemService::SourceAt(const HttpRequest& http, const SourceAddress& address) const {
  if (address.line >= index_.LineCount(address.length)) return Lost("no such source");
  const auto fields = DecodeFormBody(http.Query());
  if (!fields.ok()) return Lost("source address broken");
  const auto field = [&](const char* name) {
    const auto it = fields->find(name);
    return it == fields->end() ? std::string() : it->second;
  };
  const Script script = ScriptFromKey(field("script")).value_or(Script::kSimplified);
  std::string from = field("from");
  // Only the page of a poem of ours leads back, never an address made up.
  if (!IsPoemTarget(from)) from.clear();
  const std::string back = from.empty() ? "" : "&from=" + PercentEncode(from);
  const std::string path = SourcePath(address);
  const SourceLinks links{from, path + (back.empty() ? "" : "?" + back.substr(1)),
                          path + "?script=traditional" + back};
  return {200,
          kUtf8Html,
          SourcePage(index_, address.length, address.line, script, links),
          {},
          "source"};
}

HttpReply PoemService::Lost(std::string note) const { return MissingPage(std::move(note)); }

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
  if (path == "/favicon.ico") {
    if (request.method != "GET") return NotAllowed("GET, HEAD");
    HttpReply icon{200, "image/x-icon", Favicon(), {}, {}};
    icon.headers.emplace_back("Cache-Control", "public, max-age=604800");
    return icon;
  }
  if (const std::optional<SourceAddress> source = ReadSourceAddress(path)) {
    return request.method == "GET" ? SourceAt(request, *source) : NotAllowed("GET, HEAD");
  }
  if (const std::optional<ShortAddress> address = ReadShortAddress(path)) {
    return request.method == "GET" ? PoemAt(request, *address) : NotAllowed("GET, HEAD");
  }
  return Lost("no such page");
}

}  // namespace miravel::poemd
