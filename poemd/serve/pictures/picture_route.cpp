#include "poemd/serve/pictures/picture_route.h"

#include <cstdio>
#include <functional>

#include "miravel/version.h"
#include "poemd/picture/picture_render.h"
#include "poemd/serve/pages/poem_picture.h"
#include "poemd/serve/requests/browser_request.h"
#include "poemd/serve/requests/order_parts.h"
#include "poemd/serve/routes/refusals.h"
#include "text/utf.h"

namespace miravel::poemd {

struct PictureRoute::Asked {
  BrowserRequest request;
  AddressKind kind = AddressKind::kPng;
  std::string key;   // the canonical address: what the picture depends on
  std::string etag;  // the key, the index and the program's version, hashed
};

namespace {

constexpr const char* kCacheControl = "public, max-age=86400";

// The picture's address with everything it depends on in one order: the
// form and seed, then lines (broken ones as "x"), swap, subject, script,
// pinyin and page.
std::string CanonicalAddress(const BrowserRequest& request, AddressKind kind) {
  std::string key = ShortPoemPath(request.form, request.seed.value_or(0));
  key += kind == AddressKind::kPng ? ".png" : ".svg";
  std::string query;
  const auto add = [&query](const std::string& part) {
    query += (query.empty() ? "?" : "&") + part;
  };
  if (!request.lines.empty()) {
    std::string lines;
    for (const std::optional<KeptLine>& line : request.lines) {
      if (!lines.empty()) lines += '.';
      lines += !line ? "x" : (line->made ? "m" : "") + std::to_string(line->line);
    }
    add("lines=" + lines);
  }
  if (request.swap) add("swap=" + std::to_string(*request.swap));
  if (request.subject) add("subject=" + std::to_string(*request.subject));
  if (request.script == Script::kTraditional) add("script=traditional");
  if (request.pinyin) add("pinyin=1");
  if (request.page > 0) add("page=" + std::to_string(request.page + 1));
  return key + query;
}

// Whether If-None-Match names `etag` (a list, weak tags, or "*").
bool Matches(std::string_view if_none_match, std::string_view etag) {
  while (!if_none_match.empty()) {
    const size_t comma = if_none_match.find(',');
    std::string_view tag = if_none_match.substr(0, comma);
    if_none_match = comma == std::string_view::npos ? "" : if_none_match.substr(comma + 1);
    while (!tag.empty() && tag.front() == ' ') tag.remove_prefix(1);
    while (!tag.empty() && tag.back() == ' ') tag.remove_suffix(1);
    if (tag.starts_with("W/")) tag.remove_prefix(2);
    if (tag == "*" || tag == etag) return true;
  }
  return false;
}

HttpReply Fresh(const std::string& etag, std::string note) {
  HttpReply reply{304, "", "", {}, std::move(note)};
  reply.headers.emplace_back("ETag", etag);
  reply.headers.emplace_back("Cache-Control", kCacheControl);
  return reply;
}

HttpReply FromCache(const CachedPicture& picture) {
  HttpReply reply{200, picture.content_type, picture.body, {}, picture.note + " (kept)"};
  reply.headers.emplace_back("ETag", picture.etag);
  reply.headers.emplace_back("Cache-Control", kCacheControl);
  return reply;
}

}  // namespace

PictureRoute::PictureRoute(const CorpusIndex& index, const PoemMaker& poems, RhymeBook book,
                           PictureOptions options)
    : index_(index),
      poems_(poems),
      book_(book),
      etag_salt_(std::string("\n") + MIRAVEL_VERSION_TEXT + '\n' +
                 std::to_string(index.File().Checksum())),
      cache_(options.cache_bytes),
      pool_(options.pool) {}

std::variant<PictureRoute::Asked, HttpReply> PictureRoute::Read(const HttpRequest& http,
                                                                const ShortAddress& address) const {
  Asked asked{RequestAt(address, http.Query(), book_), address.kind, {}, {}};
  if (!asked.request.order.ok()) return MissingPage("picture of no poem");
  asked.key = CanonicalAddress(asked.request, address.kind);
  const size_t hash = std::hash<std::string>()(asked.key + etag_salt_);
  char etag[24];
  std::snprintf(etag, sizeof etag, "\"%016zx\"", hash);
  asked.etag = etag;
  return asked;
}

std::optional<HttpReply> PictureRoute::Known(const HttpRequest& http, const Asked& asked) const {
  if (!http.if_none_match.empty() && Matches(http.if_none_match, asked.etag)) {
    return Fresh(asked.etag, OrderNote(*asked.request.order, false) + " (not modified)");
  }
  if (const auto kept = cache_.Find(asked.key)) return FromCache(*kept);
  return std::nullopt;
}

HttpReply PictureRoute::Drawn(const Asked& asked) const {
  const PoemOrder& order = *asked.request.order;
  const Poem poem = poems_.Recompose(order, asked.request.Asked(0)).poem;
  const PoemPicture picture = PictureOf(index_, order, poem, asked.request.Display());
  if (asked.request.page >= PicturePages(picture)) {
    return MissingPage("no such page of a picture", asked.request.script);
  }
  const PictureLayout layout = LayOutPicture(picture, asked.request.page);
  auto drawn = std::make_shared<CachedPicture>();
  const std::string note = OrderNote(order, false);
  if (asked.kind == AddressKind::kPng) {
    StatusOr<std::string> png = RenderPng(layout);
    if (!png.ok()) return Refusal(500, png.status().message(), false);
    *drawn = {"image/png", std::move(*png), asked.etag, note + " (png)"};
  } else {
    *drawn = {"image/svg+xml; charset=utf-8", RenderSvg(layout, Utf16ToUtf8(picture.title)),
              asked.etag, note + " (svg)"};
  }
  cache_.Insert(asked.key, drawn);
  HttpReply reply = FromCache(*drawn);
  reply.log_note = drawn->note;
  return reply;
}

std::optional<HttpReply> PictureRoute::Serve(const HttpRequest& http, const ShortAddress& address,
                                             const Defer& defer) const {
  auto read = Read(http, address);
  if (auto* refused = std::get_if<HttpReply>(&read)) return std::move(*refused);
  auto asked = std::make_shared<Asked>(std::move(std::get<Asked>(read)));
  if (std::optional<HttpReply> known = Known(http, *asked)) return known;
  if (!defer) return Drawn(*asked);
  ReplyTo reply = defer();
  const auto admission = pool_.Submit(http.peer, [this, asked, reply] { reply(Drawn(*asked)); });
  if (admission == RenderPool::Admission::kTaken) return std::nullopt;
  const Script script = asked->request.script;
  HttpReply refused =
      admission == RenderPool::Admission::kAddressBusy
          ? Refusal(429, "too many pictures from one address at once", http.AcceptsHtml(), script)
          : Refusal(503, "the pictures' queue is full", http.AcceptsHtml(), script);
  refused.headers.emplace_back("Retry-After", std::to_string(kPictureRetrySeconds));
  return refused;
}

}  // namespace miravel::poemd
