// The baseline the client's requests are measured against: one POST on a
// fresh curl handle, the body discarded. REQUIRES: curl_global_init has run.
#pragma once

#include <curl/curl.h>

#include <string>

namespace miravel::bench {

inline void BarePost(const std::string& url, const std::string& body) {
  CURL* handle = curl_easy_init();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(
      handle, CURLOPT_WRITEFUNCTION, +[](char*, size_t, size_t n, void*) -> size_t { return n; });
  curl_easy_perform(handle);
  curl_easy_cleanup(handle);
}

}  // namespace miravel::bench
