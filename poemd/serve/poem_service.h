// The poem service's routes: what each request gets, as a pure function of
// the request (the HTTP server carries it, http_server.h).
//
//   POST /qm/cts.php   composes a poem: 200 and a GBK page (poem_page.h),
//                      or 400 and a GBK page saying why the form is refused
//                      (in Chinese when the characters cannot be hidden)
//   GET  /             the form, for a browser, filled in from its query
//   GET  /poem         a poem for a browser (browser_form.h): 303 to the
//                      poem's own address, or 400 and the form again,
//                      saying in Chinese what to change
//   GET  /春风/五言藏头/k3x9   the poem at its own address (short_address.h):
//                      200 and its page (browser_pages.h); 303 to the
//                      address in its own form after a swap; .png or .svg
//                      after the seed: its picture (picture_route.h)
//                      ?script=traditional: in the poets' own characters
//   GET  /source/5/123  the poem a line came from, whole (source_address.h)
//   GET  /favicon.ico  the project's icon
//   GET  /healthz      200 "ok": the index is loaded and the service answers;
//                      503 "draining" once it is going (StartDraining)
// Another method on these paths gets 405 with Allow; any other path 404;
// both say so on a page in Chinese, as refusals.h says every refusal.
// Each reply carries what the log says of it: the form asked for, with the
// hidden characters themselves only when the options say so (they are
// often people's names), else their count.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "poemd/compose/poem_order.h"
#include "poemd/http/http_types.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/browser_form.h"
#include "poemd/serve/browser_poem.h"
#include "poemd/serve/picture_route.h"
#include "poemd/serve/poem_links.h"
#include "poemd/serve/short_address.h"
#include "poemd/serve/source_address.h"

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
  // How pictures are drawn and kept (picture_route.h).
  PictureOptions pictures;
};

class PoemService {
 public:
  // `index` must outlive the service.
  PoemService(const CorpusIndex& index, ServiceOptions options);

  HttpReply Handle(const HttpRequest& request) const;
  // The same answer, at once, but for a picture that must be drawn: that is
  // drawn on the pictures' own pool and answered from there, through what
  // `defer` gives (picture_route.h). Thread-safe.
  std::optional<HttpReply> Serve(const HttpRequest& request, const Defer& defer) const;
  const PictureRoute& Pictures() const { return *pictures_; }
  // From now on /healthz says the service is going, so that balancers send
  // it nothing new. Thread-safe.
  void StartDraining() const { draining_ = true; }
  // The answer to one form body. Thread-safe.
  HttpReply Compose(std::string_view body) const;
  // The answer to a browser's /poem query: 303 to the poem's own address.
  HttpReply BrowserPoem(std::string_view query) const;

 private:
  std::string LogNote(const PoemOrder& order) const;
  HttpReply RefusedForm(const BrowserRequest& request) const;
  HttpReply PoemAt(const HttpRequest& http, const ShortAddress& address) const;
  HttpReply SourceAt(const HttpRequest& http, const SourceAddress& address) const;
  HttpReply Lost(std::string note) const;
  uint64_t FreshSeed(std::string_view query) const;
  OwnPoem OwnAddress(const BrowserRequest& request,
                     const miravel::poemd::BrowserPoem& result) const;
  std::string Base(const HttpRequest& request) const;

  const CorpusIndex& index_;
  ServiceOptions options_;
  // The form as a browser first opens it (GET / without a query): the same
  // page every time, made once.
  std::string empty_form_;
  mutable std::atomic<bool> draining_{false};
  std::unique_ptr<PictureRoute> pictures_;
};

}  // namespace miravel::poemd
