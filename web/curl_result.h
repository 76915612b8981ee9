// The one place where curl's result codes become the exchange's terms, and
// a setter that checks every option it sets.
#pragma once

#include <curl/curl.h>

#include <string>

#include "web/curl_library.h"

namespace miravel {

enum class CurlOutcome {
  kDone,            // the transfer ran to its end
  kNotSetUp,        // curl refused the handle, an option or the URL: nothing was sent
  kTransferFailed,  // the connection or the transfer failed: what arrived before stands
  kAborted,         // the caller's abort flag stopped it
};

struct CurlStatus {
  CurlOutcome outcome = CurlOutcome::kDone;
  std::string message;  // curl's words, from its error buffer when it wrote there
};

// `error_buffer`: the handle's CURLOPT_ERRORBUFFER (may be empty).
CurlStatus TranslateCurl(const CurlFunctions& curl, CURLcode code, const char* error_buffer);

// Sets options on one handle; after the first refusal the rest are skipped
// and ok() is false.
class CurlOptions {
 public:
  CurlOptions(const CurlFunctions& curl, CURL* handle) : curl_(curl), handle_(handle) {}
  template <typename T>
  CurlOptions& Set(CURLoption option, T value) {
    if (code_ == CURLE_OK) code_ = curl_.easy_setopt(handle_, option, value);
    return *this;
  }
  bool ok() const { return code_ == CURLE_OK; }
  CURLcode code() const { return code_; }

 private:
  const CurlFunctions& curl_;
  CURL* handle_;
  CURLcode code_ = CURLE_OK;
};

}  // namespace miravel
