#include "web/http_exchange.h"

#include <curl/curl.h>

#include <memory>

#include "web/cookie_capture.h"
#include "web/exchange_plan.h"
#include "web/exchange_slots.h"
#include "web/web_session.h"

namespace miravel {
namespace {

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
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
HeaderList HeaderEntries(const Text& block) {
  curl_slist* list = nullptr;
  size_t from = 0;
  while (from < block.size()) {
    size_t end = block.find("\r\n", from);
    if (end == Text::npos) end = block.size();
    if (end > from) list = curl_slist_append(list, block.substr(from, end - from).c_str());
    from = end + 2;
  }
  for (const char* suppressed : {"Accept:", "Expect:", "Content-Type:", "Content-Length:"}) {
    list = curl_slist_append(list, suppressed);
  }
  return HeaderList(list);
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

// Sets up and runs the transfer. False when it could not be set up.
bool Perform(const ExchangePlan& plan, Transfer& transfer) {
  EasyHandle easy(curl_easy_init());
  if (!easy) return false;
  CURL* h = easy.get();
  const int default_port = plan.secure ? kSecurePort : 80;
  const Text target = Text(plan.secure ? "https://" : "http://") + plan.host +
                      (plan.port == default_port ? "" : ":" + NumberToText(plan.port)) + plan.path;
  if (curl_easy_setopt(h, CURLOPT_URL, target.c_str()) != CURLE_OK) return false;
  curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(h, CURLOPT_USERAGENT, plan.agent.c_str());
  // The proxy serves plain HTTP only, like an "http=" entry of a proxy list;
  // "" also keeps curl from taking one from the environment.
  const Text proxy = plan.proxy.empty() || plan.secure ? Text() : "http://" + plan.proxy;
  curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, plan.FollowsRedirects() ? 1L : 0L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 20L);
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  AttachWebSession(h, plan.UsesCookieStore());
  HeaderList headers = HeaderEntries(plan.header_block);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  if (plan.method == "POST") {
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(plan.body.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, plan.body.data());
  }
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
  // A failed connection or transfer keeps what arrived before it.
  curl_easy_perform(h);
  return true;
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
  bool set_up = true;
  if (plan.send && HostIsConnectable(plan.host)) set_up = Perform(plan, transfer);
  if (abort.load()) return;
  if (!set_up) {
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
