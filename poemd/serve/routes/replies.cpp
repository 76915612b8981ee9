#include "poemd/serve/routes/replies.h"

#include "poemd/serve/requests/iri.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

constexpr const char* kUtf8Html = "text/html; charset=utf-8";

}  // namespace

HttpReply BrowserReply(std::string page, std::string note, int status) {
  return {status, kUtf8Html, std::move(page), {}, std::move(note)};
}

HttpReply ClientReply(int status, const std::string& page, std::string note) {
  return {status, "text/html; charset=gbk", Utf16ToGbk(Utf8ToUtf16(page)), {}, std::move(note)};
}

HttpReply PlainReply(int status, std::string text, std::string note) {
  return {status, "text/plain; charset=utf-8", std::move(text), {}, std::move(note)};
}

HttpReply SeeOther(const OwnPoem& own, std::string note) {
  HttpReply moved{303, kUtf8Html, "", {}, std::move(note)};
  moved.headers.emplace_back("Location", EncodeIri(own.Target()));
  return moved;
}

}  // namespace miravel::poemd
