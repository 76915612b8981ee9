#include "poemd/serve/poem_service.h"

#include "poemd/serve/requests/short_address.h"
#include "poemd/serve/requests/source_address.h"
#include "poemd/serve/routes/favicon.h"
#include "poemd/serve/routes/replies.h"

namespace miravel::poemd {
namespace {

RouteOptions RoutesOf(const ServiceOptions& options) {
  return {options.seed, options.log_characters, options.book, options.public_url};
}

}  // namespace

PoemService::PoemService(const CorpusIndex& index, ServiceOptions options)
    : PoemService(index, std::make_unique<IndexPoemMaker>(index), nullptr, std::move(options)) {}

PoemService::PoemService(const CorpusIndex& index, const PoemMaker& poems, ServiceOptions options)
    : PoemService(index, nullptr, &poems, std::move(options)) {}

PoemService::PoemService(const CorpusIndex& index, std::unique_ptr<PoemMaker> own,
                         const PoemMaker* poems, ServiceOptions options)
    : own_poems_(std::move(own)),
      poems_(poems ? *poems : *own_poems_),
      client_(index, poems_, RoutesOf(options)),
      browser_(index, poems_, RoutesOf(options)),
      pictures_(std::make_unique<PictureRoute>(index, poems_, options.book, options.pictures)) {
  using Request = const HttpRequest&;
  table_.Add("POST", "/qm/cts.php", [this](Request r) { return client_.Compose(r.body); })
      .Add("GET", "/", [this](Request r) { return browser_.FormAt(r.Query()); })
      .Add("GET", "/poem", [this](Request r) { return browser_.NewPoem(r.Query()); })
      .Add("GET", "/healthz", [this](Request) { return Health(); })
      .Add("GET", "/favicon.ico", [](Request) { return FaviconReply(); })
      .Add("GET", "/source/{length}/{line}", ReadSourceAddress,
           [this](Request r, const SourceAddress& a) { return browser_.SourceAt(r, a); })
      .Add("GET", "/{hidden}/{form}[/{theme}]/{seed}", ReadPoemPage,
           [this](Request r, const ShortAddress& a) { return browser_.PoemAt(r, a); })
      .Add("GET", "/{hidden}/{form}[/{theme}]/{seed}.{png,svg}", ReadPoemPicture,
           [this](Request r, const ShortAddress& a, const Defer& d) {
             return pictures_->Serve(r, a, d);
           });
}

std::optional<HttpReply> PoemService::Serve(const HttpRequest& request, const Defer& defer) const {
  return table_.Serve(request, defer);
}

HttpReply PoemService::Handle(const HttpRequest& request) const {
  return *table_.Serve(request, nullptr);
}

HttpReply PoemService::Compose(std::string_view body) const { return client_.Compose(body); }

HttpReply PoemService::Health() const {
  return draining_ ? PlainReply(503, "draining\n", "draining") : PlainReply(200, "ok\n");
}

}  // namespace miravel::poemd
