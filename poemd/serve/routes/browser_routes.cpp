#include "poemd/serve/routes/browser_routes.h"

#include "poemd/picture/picture_layout.h"
#include "poemd/serve/pages/form_page.h"
#include "poemd/serve/pages/poem_page.h"
#include "poemd/serve/pages/poem_picture.h"
#include "poemd/serve/pages/source_page.h"
#include "poemd/serve/poems/subject_offers.h"
#include "poemd/serve/requests/iri.h"
#include "poemd/serve/requests/order_parts.h"
#include "poemd/serve/routes/refusals.h"
#include "poemd/serve/routes/replies.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

// Whether two poems are the same lines, each from the same corpus line.
bool SameLines(const Poem& a, const Poem& b) {
  if (a.lines.size() != b.lines.size()) return false;
  for (size_t i = 0; i < a.lines.size(); ++i) {
    if (a.lines[i].corpus_line != b.lines[i].corpus_line || a.lines[i].made != b.lines[i].made) {
      return false;
    }
  }
  return true;
}

}  // namespace

BrowserRoutes::BrowserRoutes(const CorpusIndex& index, const PoemMaker& poems, RouteOptions options)
    : index_(index),
      poems_(poems),
      options_(std::move(options)),
      empty_form_(BrowserFormPage(ParseBrowserQuery("", options_.book).form, "")) {}

HttpReply BrowserRoutes::FormAt(std::string_view query) const {
  if (query.empty()) return BrowserReply(empty_form_);
  return BrowserReply(BrowserFormPage(ParseBrowserQuery(query, options_.book).form, ""));
}

HttpReply BrowserRoutes::NewPoem(std::string_view query) const {
  const BrowserRequest request = ParseBrowserQuery(query, options_.book);
  if (!request.order.ok()) return Refused(request);
  // Short enough for a short address (seven base-36 digits).
  const uint64_t seed = request.seed ? *request.seed : options_.SeedFor(query) & 0xffffffffu;
  const std::string note = Note(*request.order) + " (page)";
  // Every poem settles at its own short address, which brings it back;
  // there it is composed, and here only when the query changes it.
  if (request.SeededOnly()) return SeeOther(Seeded(request, seed), note);
  const Recomposed poem = poems_.Recompose(*request.order, request.Asked(seed));
  return SeeOther(OwnAddress(request, seed, poem), note);
}

HttpReply BrowserRoutes::PoemAt(const HttpRequest& http, const ShortAddress& address) const {
  const BrowserRequest request = RequestAt(address, http.Query(), options_.book);
  if (!request.order.ok()) return Refused(request);
  const uint64_t seed = request.seed.value_or(0);
  const Recomposed poem = poems_.Recompose(*request.order, request.Asked(seed));
  const OwnPoem own = OwnAddress(request, seed, poem);
  const std::string note = Note(*request.order) + " (page)";
  // A swap, or an address not in its own form, settles at the poem's own.
  if (EncodeIri(own.Target()) != http.target) return SeeOther(own, note);
  return BrowserReply(PoemPage(http, request, own, poem.poem), note);
}

HttpReply BrowserRoutes::SourceAt(const HttpRequest& http, const SourceAddress& address) const {
  const StatusOr<SourceRequest> request = ReadSourceQuery(address, http.Query());
  if (!request.ok()) return MissingPage("source address broken");
  if (address.line >= index_.LineCount(address.length)) {
    return MissingPage("no such source", request->script);
  }
  return BrowserReply(
      SourcePage(index_, address.length, address.line, request->script, request->links), "source");
}

HttpReply BrowserRoutes::Refused(const BrowserRequest& request) const {
  const std::string& why = request.order.status().message();
  // The refusal names what was typed; its words are the requests', so a
  // form in traditional characters says it in theirs, character by character.
  const std::string said = Utf16ToUtf8(InScript(index_, Utf8ToUtf16(why), request.script));
  return BrowserReply(BrowserFormPage(request.form, said, request.invalid), "form refused: " + why,
                      400);
}

std::string BrowserRoutes::Note(const PoemOrder& order) const {
  return OrderNote(order, options_.log_characters);
}

OwnPoem BrowserRoutes::Seeded(const BrowserRequest& request, uint64_t seed) const {
  OwnPoem own = OwnPoem::Seeded(request, seed);
  if (own.subject && *own.subject >= index_.Subjects().Count()) own.subject.reset();
  return own;
}

OwnPoem BrowserRoutes::OwnAddress(const BrowserRequest& request, uint64_t seed,
                                  const Recomposed& recomposed) const {
  OwnPoem own = Seeded(request, seed);
  if (recomposed.seeded_alone) return own;
  // A forged address, or one from another index, names lines that cannot
  // stand in their place: the poem given is named as it is.
  const Recomposing seeded_alone{.seed = seed, .subject = own.subject};
  const bool seeded =
      recomposed.seeded
          ? SameLines(*recomposed.seeded, recomposed.poem)
          : SameLines(poems_.Recompose(*request.order, seeded_alone).poem, recomposed.poem);
  if (!seeded) own.lines = PoemLines(recomposed.poem);
  return own;
}

std::string BrowserRoutes::PoemPage(const HttpRequest& http, const BrowserRequest& request,
                                    const OwnPoem& own, const Poem& poem) const {
  const PoemOrder& order = *request.order;
  const PoemPicture picture = PictureOf(index_, order, poem, request.Display());
  const PictureLayout first = LayOutPicture(picture, 0);
  const PoemLinks links =
      LinksOf(own, request, poem, BaseAddress(http, options_.public_url), PicturePages(picture),
              static_cast<int>(first.width), static_cast<int>(first.height),
              SubjectsOffered(index_, order, poem));
  return BrowserPoemPage(index_, order, poem, links, request.Display());
}

}  // namespace miravel::poemd
