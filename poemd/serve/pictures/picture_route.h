// A poem's picture at its short address with ".png" or ".svg" after the
// seed (short_address.h), drawn by poemd/picture in the script and page
// asked for. A picture takes many times what a poem takes to make, and any
// visitor can ask for as many as there are seeds: so they are drawn on a
// small pool of their own (render_pool.h), never on the loops that serve
// poems, and kept (picture_cache.h) by their canonical address, which also
// names them (ETag; If-None-Match gets 304 without a drawing).
//
// Serve answers at once what needs no drawing (a 304, a picture kept, a
// refusal: 404 for no such poem, 429 past the renders one client address
// may have, 503 with Retry-After when the pool's queue is full) and defers
// the rest to the pool, which answers from there. The poem is composed
// through the service's PoemMaker, once a drawing. Thread-safe.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "poemd/http/http_types.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/pictures/picture_cache.h"
#include "poemd/serve/pictures/render_pool.h"
#include "poemd/serve/poems/poem_maker.h"
#include "poemd/serve/requests/short_address.h"
#include "poemd/verse/rhyme_books.h"

namespace miravel::poemd {

struct PictureOptions {
  RenderPoolOptions pool;
  size_t cache_bytes = size_t{64} << 20;
};

// Seconds a client refused for a full queue is asked to wait.
inline constexpr int kPictureRetrySeconds = 2;

class PictureRoute {
 public:
  // `index` and `poems` must outlive the route; `book` is the service's.
  PictureRoute(const CorpusIndex& index, const PoemMaker& poems, RhymeBook book,
               PictureOptions options);

  // REQUIRES: address.kind is kPng or kSvg; the method is GET. A null
  // `defer`: drawn on the calling thread when it must be, and answered.
  std::optional<HttpReply> Serve(const HttpRequest& http, const ShortAddress& address,
                                 const Defer& defer) const;

  const PictureCache& Cache() const { return cache_; }

 private:
  struct Asked;
  // What the request asks for, or the reply that says it asks for nothing.
  std::variant<Asked, HttpReply> Read(const HttpRequest& http, const ShortAddress& address) const;
  // The reply without drawing: a 304 or a kept picture; nullopt to draw.
  std::optional<HttpReply> Known(const HttpRequest& http, const Asked& asked) const;
  HttpReply Drawn(const Asked& asked) const;

  const CorpusIndex& index_;
  const PoemMaker& poems_;
  RhymeBook book_;
  // What every picture's ETag hashes beside its address: the program's
  // version and the index's checksum.
  const std::string etag_salt_;
  mutable PictureCache cache_;
  // Last: it goes first, with the tasks that name this route.
  mutable RenderPool pool_;
};

}  // namespace miravel::poemd
