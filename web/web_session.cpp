#include "web/web_session.h"

#include <array>
#include <mutex>

#include "web/url_helpers.h"

namespace miravel {
namespace {

// One share handle: a handle takes all of a share's data or none, so
// exchanges that must not see the cookie store use a share without it.
class Share {
 public:
  explicit Share(bool with_cookies) : share_(curl_share_init()) {
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &Share::Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &Share::Unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    if (with_cookies) curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
  ~Share() { curl_share_cleanup(share_); }
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

Share& WithCookies() {
  static Share share(true);
  return share;
}

Share& WithoutCookies() {
  static Share share(false);
  return share;
}

void ApplyToStore(const char* cookie_list_command) {
  CURL* handle = curl_easy_init();
  if (handle == nullptr) return;
  AttachWebSession(handle, true);
  curl_easy_setopt(handle, CURLOPT_COOKIELIST, cookie_list_command);
  curl_easy_cleanup(handle);
}

}  // namespace

void AttachWebSession(CURL* handle, bool with_cookies) {
  curl_easy_setopt(handle, CURLOPT_SHARE, (with_cookies ? WithCookies() : WithoutCookies()).get());
  if (with_cookies) curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "");
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
