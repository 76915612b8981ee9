// POST /qm/cts.php: the desktop client's poem (client_order.h), composed
// once in the service's rhyme book: 200 and a GBK page (client_page.h), or
// 400 and a GBK page saying why the form is refused (in Chinese when the
// characters cannot be hidden). Thread-safe.
#pragma once

#include <string_view>

#include "poemd/http/http_types.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/poems/poem_maker.h"
#include "poemd/serve/routes/route_options.h"

namespace miravel::poemd {

class ClientRoute {
 public:
  // `index` and `poems` must outlive the route.
  ClientRoute(const CorpusIndex& index, const PoemMaker& poems, RouteOptions options)
      : index_(index), poems_(poems), options_(std::move(options)) {}

  HttpReply Compose(std::string_view body) const;

 private:
  const CorpusIndex& index_;
  const PoemMaker& poems_;
  const RouteOptions options_;
};

}  // namespace miravel::poemd
