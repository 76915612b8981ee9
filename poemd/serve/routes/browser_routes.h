// The browser's routes to poems and their sources:
//
//   GET  /             the form, filled in from its query
//   GET  /poem         a poem for the form's query (browser_request.h): 303
//                      to the poem's own address, or 400 and the form
//                      again, saying in Chinese what to change
//   GET  /春风/五言藏头/k3x9   the poem at its own address (short_address.h):
//                      200 and its page; 303 to the address in its own form
//                      (after a swap, or for lines the seed alone gives)
//   GET  /source/5/123  the poem a line came from, whole (source_address.h)
//
// Each poem is composed once a request, and the poem its seed alone gives
// only where the address must say whether it names lines. Thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "poemd/compose/poem_recompose.h"
#include "poemd/http/http_types.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/poems/poem_maker.h"
#include "poemd/serve/requests/browser_request.h"
#include "poemd/serve/requests/poem_links.h"
#include "poemd/serve/requests/short_address.h"
#include "poemd/serve/requests/source_address.h"
#include "poemd/serve/routes/route_options.h"

namespace miravel::poemd {

class BrowserRoutes {
 public:
  // `index` and `poems` must outlive the routes.
  BrowserRoutes(const CorpusIndex& index, const PoemMaker& poems, RouteOptions options);

  HttpReply FormAt(std::string_view query) const;
  HttpReply NewPoem(std::string_view query) const;
  HttpReply PoemAt(const HttpRequest& http, const ShortAddress& address) const;
  HttpReply SourceAt(const HttpRequest& http, const SourceAddress& address) const;

 private:
  HttpReply Refused(const BrowserRequest& request) const;
  std::string Note(const PoemOrder& order) const;
  // The address the seed alone gives (OwnPoem::Seeded), without a subject
  // the index does not know: there the composer chose.
  OwnPoem Seeded(const BrowserRequest& request, uint64_t seed) const;
  // The address `recomposed.poem` settles at: its form and seed, and its
  // lines only when the seed alone does not give it.
  OwnPoem OwnAddress(const BrowserRequest& request, uint64_t seed,
                     const Recomposed& recomposed) const;
  std::string PoemPage(const HttpRequest& http, const BrowserRequest& request, const OwnPoem& own,
                       const Poem& poem) const;

  const CorpusIndex& index_;
  const PoemMaker& poems_;
  const RouteOptions options_;
  // The form as a browser first opens it (GET / without a query): the same
  // page every time, made once.
  const std::string empty_form_;
};

}  // namespace miravel::poemd
