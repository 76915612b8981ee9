#include "poemd/serve/routes/refusals.h"

#include "poemd/serve/pages/browser_page.h"

namespace miravel::poemd {
namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

struct Reason {
  int status;
  const char* words;  // HTTP's
};

constexpr Reason kReasons[] = {
    {400, "Bad Request"},
    {408, "Request Timeout"},
    {413, "Payload Too Large"},
    {414, "URI Too Long"},
    {429, "Too Many Requests"},
    {431, "Request Header Fields Too Large"},
    {500, "Internal Server Error"},
    {503, "Service Unavailable"},
    {505, "HTTP Version Not Supported"},
};

// A failure, whatever it was, when the status is none of these.
const Reason& ReasonFor(int status) {
  for (const Reason& reason : kReasons) {
    if (reason.status == status) return reason;
  }
  return kReasons[6];
}

}  // namespace

HttpReply Refusal(int status, const std::string& why, bool html, Script script) {
  const Reason& reason = ReasonFor(status);
  if (html) return {status, kHtml, ErrorPage(reason.status, script), {}, why};
  return {status,
          "text/plain; charset=utf-8",
          std::to_string(status) + " " + reason.words + ": " + why + "\n",
          {},
          why};
}

HttpReply MissingPage(std::string note, Script script) {
  return {404, kHtml, ErrorPage(404, script), {}, std::move(note)};
}

HttpReply MethodNotAllowed(const std::string& allow, Script script) {
  HttpReply reply{405, kHtml, ErrorPage(405, script, allow), {}, "method not allowed"};
  reply.headers.emplace_back("Allow", allow);
  return reply;
}

}  // namespace miravel::poemd
