#include "web/web_session.h"

#include <array>
#include <mutex>

#include "web/curl_result.h"
#include "web/url_helpers.h"

namespace miravel {
namespace {

// One share handle: a handle takes all of a share's data or none, so
// exchanges that must not see the cookie store use a share without it.
class Share {
 public:
  // A share curl refuses is no share (null): exchanges then run alone,
  // keeping no cookies between them.
  Share(const CurlFunctions& curl, bool with_cookies) : share_(curl.share_init()) {
    if (share_ == nullptr) return;
    bool ok = curl.share_setopt(share_, CURLSHOPT_LOCKFUNC, &Share::Lock) == CURLSHE_OK &&
              curl.share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &Share::Unlock) == CURLSHE_OK &&
              curl.share_setopt(share_, CURLSHOPT_USERDATA, this) == CURLSHE_OK &&
              curl.share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) == CURLSHE_OK;
    if (ok && with_cookies) {
      ok = curl.share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) == CURLSHE_OK;
    }
    if (!ok) {
      curl.share_cleanup(share_);
      share_ = nullptr;
    }
  }
  // Left to the end of the process, with the library it belongs to.
  ~Share() = default;
  Share(const Share&) = delete;
  Share& operator=(const Share&) = delete;

  CURLSH* get() const { return share_; }

 private:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<Share*>(self)->mutexes_[data % kLocks].lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<Share*>(self)->mutexes_[data % kLocks].unlock();
  }

  static constexpr size_t kLocks = CURL_LOCK_DATA_LAST;
  CURLSH* share_;
  std::array<std::mutex, kLocks> mutexes_;
};

Share& WithCookies(const CurlFunctions& curl) {
  static Share share(curl, true);
  return share;
}

Share& WithoutCookies(const CurlFunctions& curl) {
  static Share share(curl, false);
  return share;
}

void ApplyToStore(const char* cookie_list_command) {
  const CurlFunctions* curl = CurlLibrary();
  if (curl == nullptr) return;
  CURL* handle = curl->easy_init();
  if (handle == nullptr) return;
  // A store curl will not attach to simply keeps nothing: cookies are a
  // convenience of the session, never a reason to fail an exchange.
  if (AttachWebSession(*curl, handle, true)) {
    CurlOptions(*curl, handle).Set(CURLOPT_COOKIELIST, cookie_list_command);
  }
  curl->easy_cleanup(handle);
}

}  // namespace

bool AttachWebSession(const CurlFunctions& curl, CURL* handle, bool with_cookies) {
  CurlOptions options(curl, handle);
  options.Set(CURLOPT_SHARE, (with_cookies ? WithCookies(curl) : WithoutCookies(curl)).get());
  if (with_cookies) options.Set(CURLOPT_COOKIEFILE, "");
  return options.ok();
}

void StoreCookie(const Text& host, const Text& name, const Text& data) {
  const Text value = TrimBlanks(GetTextBefore(data + ";", ";"));
  const Text given_path = TrimBlanks(GetTextBetween(data + ";", "path=", ";"));
  const Text path = given_path.empty() ? Text("/") : given_path;
  // Netscape cookie-file form: host, subdomains, path, secure, expiry, name, value.
  const Text line = host + "\tFALSE\t" + path + "\tFALSE\t0\t" + name + "\t" + value;
  ApplyToStore(line.c_str());
}

void ClearCookieStore() { ApplyToStore("ALL"); }

}  // namespace miravel
