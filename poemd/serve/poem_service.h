// The poem service's routes, in one table (routes/route_table.h): what each
// request gets, as a function of the request (the HTTP server carries it,
// http_server.h).
//
//   POST /qm/cts.php   the desktop client's poem (routes/client_route.h)
//   GET  /             the form, for a browser, filled in from its query
//   GET  /poem         a poem for a browser: 303 to its own address
//   GET  /春风/五言藏头/k3x9   the poem at its own address; 303 to the
//                      address in its own form after a swap
//   GET  /source/5/123  the poem a line came from, whole
//                      (those four: routes/browser_routes.h)
//   GET  /春风/五言藏头/k3x9.png, .svg   its picture (pictures/picture_route.h)
//   GET  /favicon.ico  the project's icon
//   GET  /healthz      200 "ok": the index is loaded and the service answers;
//                      503 "draining" once it is going (StartDraining)
// Another method on these paths gets 405 with Allow; any other path 404;
// both say so on a page in Chinese, as routes/refusals.h says every
// refusal. Each reply carries what the log says of it: the form asked for,
// with the hidden characters themselves only when the options say so (they
// are often people's names), else their count.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "poemd/http/http_types.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/pictures/picture_route.h"
#include "poemd/serve/poems/poem_maker.h"
#include "poemd/serve/routes/browser_routes.h"
#include "poemd/serve/routes/client_route.h"
#include "poemd/serve/routes/route_table.h"

namespace miravel::poemd {

struct ServiceOptions {
  // With a seed, the same request always gets the same poem; without one,
  // asking again gets another.
  std::optional<uint64_t> seed;
  bool log_characters = false;
  // The book the client's route composes in, and the browser form's default.
  RhymeBook book = RhymeBook::kBoth;
  // The address the service is reached at, as pages link to themselves
  // ("https://poems.example.org", no trailing slash); empty: http:// and
  // the request's Host.
  std::string public_url;
  // How pictures are drawn and kept (pictures/picture_route.h).
  PictureOptions pictures;
};

class PoemService {
 public:
  // `index` must outlive the service, which composes from it.
  PoemService(const CorpusIndex& index, ServiceOptions options);
  // The same, with its poems from `poems`, which must outlive it.
  PoemService(const CorpusIndex& index, const PoemMaker& poems, ServiceOptions options);
  // Its routes name it: it stays where it is made.
  PoemService(const PoemService&) = delete;
  PoemService& operator=(const PoemService&) = delete;

  // The answer now, or nullopt when it comes later through what `defer`
  // gives (a picture drawn on the pictures' own pool). Thread-safe.
  std::optional<HttpReply> Serve(const HttpRequest& request, const Defer& defer) const;
  // The same answer, at once: a picture is drawn on the calling thread.
  HttpReply Handle(const HttpRequest& request) const;
  // The answer to one form body of the desktop client. Thread-safe.
  HttpReply Compose(std::string_view body) const;
  // From now on /healthz says the service is going, so that balancers send
  // it nothing new. Thread-safe.
  void StartDraining() const { draining_ = true; }

 private:
  PoemService(const CorpusIndex& index, std::unique_ptr<PoemMaker> own, const PoemMaker* poems,
              ServiceOptions options);
  HttpReply Health() const;

  const std::unique_ptr<PoemMaker> own_poems_;  // when none is given
  const PoemMaker& poems_;
  const ClientRoute client_;
  const BrowserRoutes browser_;
  // After what its drawings use, so that its pool stops first.
  const std::unique_ptr<PictureRoute> pictures_;
  RouteTable table_;
  mutable std::atomic<bool> draining_{false};
};

}  // namespace miravel::poemd
