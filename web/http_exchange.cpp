#include "web/http_exchange.h"

#include <curl/curl.h>

#include <memory>

#include "web/cookie_capture.h"
#include "web/curl_result.h"
#include "web/exchange_plan.h"
#include "web/exchange_slots.h"
#include "web/web_session.h"

namespace miravel {
namespace {

struct EasyDeleter {
  const CurlFunctions* curl;
  void operator()(CURL* handle) const { curl->easy_cleanup(handle); }
};
struct ListDeleter {
  const CurlFunctions* curl;
  void operator()(curl_slist* list) const { curl->slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

struct Transfer {
  const std::atomic<bool>* abort = nullptr;
  Bytes body;
  Text headers;
};

size_t OnBody(char* data, size_t, size_t size, void* user) {
  Bytes& body = static_cast<Transfer*>(user)->body;
  if (body.size() + size > kMaxBodyBytes) {
    body.append(data, kMaxBodyBytes - body.size());
    return 0;  // ends the transfer: a hostile server cannot exhaust memory
  }
  body.append(data, size);
  return size;
}

// Keeps the header lines of the last response only: a redirect's or an
// interim response's lines are dropped when the next status line arrives.
size_t OnHeader(char* data, size_t, size_t size, void* user) {
  Text& headers = static_cast<Transfer*>(user)->headers;
  const std::string_view line(data, size);
  if (line.starts_with("HTTP/")) headers.clear();
  if (line != "\r\n" && line != "\n" && headers.size() + size <= kMaxHeaderBytes) headers += line;
  return size;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Transfer*>(user)->abort->load() ? 1 : 0;
}

// The block's lines as curl header entries, then entries that keep curl
// from adding headers of its own (an entry "Name:" sends nothing).
HeaderList HeaderEntries(const CurlFunctions& curl, const Text& block) {
  curl_slist* list = nullptr;
  size_t from = 0;
  while (from < block.size()) {
    size_t end = block.find("\r\n", from);
    if (end == Text::npos) end = block.size();
    if (end > from) list = curl.slist_append(list, block.substr(from, end - from).c_str());
    from = end + 2;
  }
  for (const char* suppressed : {"Accept:", "Expect:", "Content-Type:", "Content-Length:"}) {
    list = curl.slist_append(list, suppressed);
  }
  return HeaderList(list, ListDeleter{&curl});
}

bool HostIsConnectable(const Text& host) {
  if (host.empty()) return false;
  for (char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
                    c == '_' || c == '[' || c == ']' || c == ':';
    if (!ok) return false;
  }
  return true;
}

// What one request of the exchange left: its status and where it points on.
struct HopResult {
  CurlStatus status;
  long response_code = 0;
  Text location;  // the Location resolved to a whole URL, or ""
};

// Sends one request. The caller's header lines go out exactly; curl adds
// only the Host line and the agent, and never follows a redirect itself:
// the exchange does (FollowRedirect), so that a POST redirected to a GET
// loses its content lines.
HopResult PerformHop(const CurlFunctions& curl, const ExchangePlan& plan, const RequestHop& hop,
                     Transfer& transfer) {
  HopResult result;
  EasyHandle easy(curl.easy_init(), EasyDeleter{&curl});
  if (!easy) {
    result.status = {CurlOutcome::kNotSetUp, "curl_easy_init failed"};
    return result;
  }
  CURL* h = easy.get();
  char error_buffer[CURL_ERROR_SIZE] = "";
  // The proxy serves plain HTTP only, like an "http=" entry of a proxy list;
  // "" also keeps curl from taking one from the environment.
  const bool secure = LowerAscii(hop.url).starts_with("https://");
  const Text proxy = plan.proxy.empty() || secure ? Text() : "http://" + plan.proxy;
  HeaderList headers = HeaderEntries(curl, hop.header_block);
  CurlOptions options(curl, h);
  options.Set(CURLOPT_ERRORBUFFER, error_buffer)
      .Set(CURLOPT_URL, hop.url.c_str())
      .Set(CURLOPT_PATH_AS_IS, 1L)
      .Set(CURLOPT_NOSIGNAL, 1L)
      .Set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1))
      .Set(CURLOPT_USERAGENT, plan.agent.c_str())
      .Set(CURLOPT_PROXY, proxy.c_str())
      .Set(CURLOPT_FOLLOWLOCATION, 0L)
      .Set(CURLOPT_HTTPHEADER, headers.get())
      .Set(CURLOPT_WRITEFUNCTION, &OnBody)
      .Set(CURLOPT_WRITEDATA, &transfer)
      .Set(CURLOPT_HEADERFUNCTION, &OnHeader)
      .Set(CURLOPT_HEADERDATA, &transfer)
      .Set(CURLOPT_NOPROGRESS, 0L)
      .Set(CURLOPT_XFERINFOFUNCTION, &OnProgress)
      .Set(CURLOPT_XFERINFODATA, &transfer);
  if (hop.method == "POST") {
    options.Set(CURLOPT_POST, 1L)
        .Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(hop.body.size()))
        .Set(CURLOPT_POSTFIELDS, hop.body.data());
  }
  if (!options.ok() || !AttachWebSession(curl, h, plan.UsesCookieStore())) {
    result.status =
        TranslateCurl(curl, options.ok() ? CURLE_FAILED_INIT : options.code(), error_buffer);
    result.status.outcome = CurlOutcome::kNotSetUp;
    return result;
  }
  result.status = TranslateCurl(curl, curl.easy_perform(h), error_buffer);
  if (result.status.outcome != CurlOutcome::kDone) return result;
  char* location = nullptr;
  if (curl.easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.response_code) != CURLE_OK ||
      curl.easy_getinfo(h, CURLINFO_REDIRECT_URL, &location) != CURLE_OK) {
    result.response_code = 0;
  }
  if (location != nullptr) result.location = location;
  return result;
}

// Runs the exchange's requests: the first, then each that a followed
// redirect asks for, up to kMaxRedirects. The body and header lines are
// those of the last response.
CurlOutcome Perform(const ExchangePlan& plan, Transfer& transfer) {
  const CurlFunctions* curl = CurlLibrary();
  if (curl == nullptr) return CurlOutcome::kNotSetUp;
  const int default_port = plan.secure ? kSecurePort : 80;
  const Text target = Text(plan.secure ? "https://" : "http://") + plan.host +
                      (plan.port == default_port ? "" : ":" + NumberToText(plan.port)) + plan.path;
  RequestHop hop{target, plan.method, plan.header_block, plan.body};
  for (int redirects = 0;; ++redirects) {
    transfer.body.clear();
    const HopResult result = PerformHop(*curl, plan, hop, transfer);
    if (result.status.outcome != CurlOutcome::kDone) return result.status.outcome;
    if (!plan.FollowsRedirects() || redirects == kMaxRedirects) return CurlOutcome::kDone;
    std::optional<RequestHop> next = FollowRedirect(hop, result.response_code, result.location);
    if (!next) return CurlOutcome::kDone;
    hop = std::move(*next);
  }
}

}  // namespace

void HttpExchange(int file_number, const std::atomic<bool>& abort) {
  const std::shared_ptr<MemoryFile> file = FindMemoryFile(file_number);
  if (!file) return;
  file->Rewind();
  std::optional<Record> read = file->ReadRecord();
  if (!read) return;
  Record slots = std::move(*read);
  slots.resize(kExchangeSlotCount);
  const ExchangePlan plan = PlanExchange(slots);

  Transfer transfer{.abort = &abort};
  const bool attempted = plan.send && HostIsConnectable(plan.host);
  const CurlOutcome outcome = attempted ? Perform(plan, transfer) : CurlOutcome::kDone;
  if (abort.load() || outcome == CurlOutcome::kAborted) return;
  if (outcome == CurlOutcome::kNotSetUp) {
    for (size_t slot : {kSlotUrl, kSlotResponseCookies, kSlotResponseHeaders, kSlotRedirects}) {
      slots[slot].clear();
    }
  } else {
    const CapturedCookies captured = CaptureCookies(transfer.headers);
    // A handle on the cookie store has kept these cookies already.
    if (!plan.UsesCookieStore()) {
      for (const CapturedCookie& cookie : captured.cookies) {
        StoreCookie(plan.host, cookie.name, cookie.data);
      }
    }
    slots[kSlotUrl] = std::move(transfer.body);
    slots[kSlotResponseCookies] = captured.pairs;
    slots[kSlotResponseHeaders] = std::move(transfer.headers);
  }
  file->Rewind();
  file->WriteRecord(slots);
}

}  // namespace miravel
