#include "web/curl_result.h"

namespace miravel {

CurlStatus TranslateCurl(const CurlFunctions& curl, CURLcode code, const char* error_buffer) {
  CurlStatus status;
  status.message =
      error_buffer != nullptr && error_buffer[0] != '\0' ? error_buffer : curl.easy_strerror(code);
  switch (code) {
    case CURLE_OK:
      status.outcome = CurlOutcome::kDone;
      status.message.clear();
      break;
    // What stops a request before anything is sent.
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_FAILED_INIT:
    case CURLE_URL_MALFORMAT:
    case CURLE_NOT_BUILT_IN:
    case CURLE_OUT_OF_MEMORY:
    case CURLE_BAD_FUNCTION_ARGUMENT:
    case CURLE_UNKNOWN_OPTION:
      status.outcome = CurlOutcome::kNotSetUp;
      break;
    case CURLE_ABORTED_BY_CALLBACK:
      status.outcome = CurlOutcome::kAborted;
      break;
    // A body callback that refuses more (the size limit) ends the transfer
    // as curl's write error; what arrived before it stands, like any
    // failed connection or transfer.
    default:
      status.outcome = CurlOutcome::kTransferFailed;
      break;
  }
  return status;
}

}  // namespace miravel
