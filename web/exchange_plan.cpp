#include "web/exchange_plan.h"

#include "web/exchange_slots.h"
#include "web/url_helpers.h"

namespace miravel {

const char* const kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
const char* const kDefaultAcceptLine =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

namespace {

bool Holds(const Text& block, const char* name) {
  return FindText(block, name, 1, true) != kAbsent;
}

uint32_t RequestFlags(bool secure, const Text& cookies, bool redirects) {
  uint32_t flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
  if (!TrimBlanks(cookies).empty()) flags |= INTERNET_FLAG_NO_COOKIES;
  if (!redirects) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  flags |= secure ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  return flags;
}

// A secure URL's port: the one written after its host ("https://h:8443/"),
// read as GetUrlPort reads a plain URL's; kSecurePort when none is, or when
// the URL is secure only by an "https://" further on.
int SecurePort(const Text& url) {
  if (LowerAscii(LeftBytes(url, 8)) != "https://") return kSecurePort;
  const Text rest = RightBytes(url, static_cast<int>(url.size()) - 8);
  const int slash_at = FindText(rest, "/", 1, true);
  const Text host_and_port = slash_at != kAbsent ? LeftBytes(rest, slash_at - 1) : rest;
  if (FindText(host_and_port, ":", 1, true) == kAbsent) return kSecurePort;
  return GetUrlPort("http://" + host_and_port);
}

void AppendCookieLine(Text& block, const Text& cookies) {
  if (!cookies.empty()) block += "Cookie: " + cookies + "\r\n\r\n";
}

}  // namespace

ExchangePlan PlanExchange(const Record& slots) {
  ExchangePlan plan;
  plan.url = TextOf(slots[kSlotUrl]);
  plan.method = TextOf(slots[kSlotMethod]);
  Text block = TextOf(slots[kSlotHeaders]);
  plan.cookies = TextOf(slots[kSlotCookies]);
  const bool redirects = TextOf(slots[kSlotRedirects]) == kRedirectsOn;

  plan.secure = FindText(LowerAscii(plan.url), "https://") != kAbsent;
  plan.host = GetUrlHost(plan.url);
  plan.path = GetUrlPath(plan.url);
  plan.agent = Holds(block, "User-Agent:")
                   ? TrimBlanks(GetTextBetween(block, "User-Agent:", "\r\n"))
                   : Text(kDefaultAgent);
  plan.proxy = slots[kSlotProxy];
  plan.port = plan.secure ? SecurePort(plan.url) : GetUrlPort(plan.url);
  plan.flags = RequestFlags(plan.secure, plan.cookies, redirects);

  if (!Holds(block, "Accept")) block += kDefaultAcceptLine;
  if (const int marker = FindText(block, "RefererNo", 1, true); marker != kAbsent) {
    block.erase(static_cast<size_t>(marker) - 1, 9);
  } else if (!Holds(block, "Referer")) {
    block += "Referer: " + plan.url + "\r\n";
  }
  if (!Holds(block, "Accept-Language")) block += "Accept-Language: zh-cn\r\n";
  if (plan.method == "GET") {
    AppendCookieLine(block, plan.cookies);
    plan.send = true;
  } else if (plan.method == "POST") {
    plan.body = slots[kSlotBody];
    if (!plan.body.empty()) {
      if (!Holds(block, "Content-Type")) {
        block += "Content-Type: application/x-www-form-urlencoded\r\n";
      }
      if (!Holds(block, "Content-Length")) {
        block +=
            "Content-Length: " + NumberToText(static_cast<long long>(plan.body.size())) + "\r\n";
      }
    }
    AppendCookieLine(block, plan.cookies);
    plan.send = true;
  }
  plan.header_block = std::move(block);
  return plan;
}

namespace {

// The block without its Content-Type and Content-Length lines.
Text WithoutContentLines(const Text& block) {
  Text kept;
  size_t from = 0;
  while (from < block.size()) {
    size_t end = block.find("\r\n", from);
    end = end == Text::npos ? block.size() : end + 2;
    const Text line = LowerAscii(block.substr(from, end - from));
    if (!line.starts_with("content-type:") && !line.starts_with("content-length:")) {
      kept += block.substr(from, end - from);
    }
    from = end;
  }
  return kept;
}

}  // namespace

std::optional<RequestHop> FollowRedirect(const RequestHop& hop, long status, const Text& location) {
  const Text scheme = LowerAscii(location.substr(0, 8));
  if (!scheme.starts_with("http://") && !scheme.starts_with("https://")) return std::nullopt;
  RequestHop next = hop;
  next.url = location;
  switch (status) {
    case 301:
    case 302:
    case 303:
      if (hop.method == "POST") {
        next.method = "GET";
        next.body.clear();
        next.header_block = WithoutContentLines(hop.header_block);
      }
      return next;
    case 307:
    case 308:
      return next;
    default:
      return std::nullopt;
  }
}

}  // namespace miravel
