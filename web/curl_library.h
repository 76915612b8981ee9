// libcurl, opened at run time (dlopen) rather than linked into the program.
//
// Linked, libcurl brings two dozen libraries of its own (TLS, Kerberos,
// LDAP, SSH, ...) that load before main() and, in the global symbol scope,
// slow every lazy symbol lookup of the window toolkit afterwards: together
// about a quarter of the client's start-up. Opened with RTLD_LOCAL on a
// thread of its own once the window is painted, it costs the window
// nothing, and it is ready long before a first click needs it.
//
// StartLoadingCurl() begins loading (dlopen, then curl_global_init) on a
// background thread; CurlLibrary() waits for that load, or loads on the
// calling thread when none was started. Thread-safe.
#pragma once

#include <curl/curl.h>

namespace miravel {

struct CurlFunctions {
  decltype(&::curl_easy_init) easy_init;
  decltype(&::curl_easy_cleanup) easy_cleanup;
  decltype(&::curl_easy_setopt) easy_setopt;
  decltype(&::curl_easy_perform) easy_perform;
  decltype(&::curl_easy_getinfo) easy_getinfo;
  decltype(&::curl_easy_strerror) easy_strerror;
  decltype(&::curl_slist_append) slist_append;
  decltype(&::curl_slist_free_all) slist_free_all;
  decltype(&::curl_share_init) share_init;
  decltype(&::curl_share_setopt) share_setopt;
  decltype(&::curl_share_cleanup) share_cleanup;
  decltype(&::curl_global_init) global_init;
  decltype(&::curl_global_cleanup) global_cleanup;
};

void StartLoadingCurl();
// The library, initialised; nullptr when it cannot be opened (said once on
// standard error): every exchange then fails as one that cannot be set up.
const CurlFunctions* CurlLibrary();
// curl_global_cleanup, once. REQUIRES: no exchange runs or will run.
void ReleaseCurl();

}  // namespace miravel
