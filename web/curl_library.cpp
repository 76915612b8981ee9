#include "web/curl_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

namespace miravel {
namespace {

constexpr const char* kLibraryName = "libcurl.so.4";

struct Loader {
  std::mutex mutex;
  std::once_flag once;
  std::thread thread;
  std::optional<CurlFunctions> functions;
  bool released = false;

  ~Loader() {
    if (thread.joinable()) thread.join();
  }
};

Loader& TheLoader() {
  static Loader loader;
  return loader;
}

template <typename F>
bool Resolve(void* library, const char* name, F* out) {
  *out = reinterpret_cast<F>(dlsym(library, name));
  return *out != nullptr;
}

std::optional<CurlFunctions> Open() {
  void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "miravel: cannot open %s (%s): no request can be sent\n", kLibraryName,
                 dlerror());
    return std::nullopt;
  }
  CurlFunctions f{};
  const bool resolved = Resolve(library, "curl_easy_init", &f.easy_init) &&
                        Resolve(library, "curl_easy_cleanup", &f.easy_cleanup) &&
                        Resolve(library, "curl_easy_setopt", &f.easy_setopt) &&
                        Resolve(library, "curl_easy_perform", &f.easy_perform) &&
                        Resolve(library, "curl_easy_getinfo", &f.easy_getinfo) &&
                        Resolve(library, "curl_easy_strerror", &f.easy_strerror) &&
                        Resolve(library, "curl_slist_append", &f.slist_append) &&
                        Resolve(library, "curl_slist_free_all", &f.slist_free_all) &&
                        Resolve(library, "curl_share_init", &f.share_init) &&
                        Resolve(library, "curl_share_setopt", &f.share_setopt) &&
                        Resolve(library, "curl_share_cleanup", &f.share_cleanup) &&
                        Resolve(library, "curl_global_init", &f.global_init) &&
                        Resolve(library, "curl_global_cleanup", &f.global_cleanup);
  if (!resolved || f.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
    std::fprintf(stderr, "miravel: %s is not a usable libcurl: no request can be sent\n",
                 kLibraryName);
    return std::nullopt;
  }
  // The library stays open for the process: its handles may outlive any
  // owner we could give it.
  return f;
}

void LoadOnce() {
  Loader& loader = TheLoader();
  std::call_once(loader.once, [&loader] {
    std::optional<CurlFunctions> functions = Open();
    std::lock_guard lock(loader.mutex);
    loader.functions = functions;
  });
}

}  // namespace

void StartLoadingCurl() {
  Loader& loader = TheLoader();
  std::lock_guard lock(loader.mutex);
  if (loader.thread.joinable() || loader.functions) return;
  loader.thread = std::thread(LoadOnce);
}

const CurlFunctions* CurlLibrary() {
  LoadOnce();  // waits for a load under way on the background thread
  Loader& loader = TheLoader();
  std::lock_guard lock(loader.mutex);
  return loader.functions ? &*loader.functions : nullptr;
}

void ReleaseCurl() {
  Loader& loader = TheLoader();
  std::thread thread;
  {
    std::lock_guard lock(loader.mutex);
    thread.swap(loader.thread);
  }
  if (thread.joinable()) thread.join();
  std::lock_guard lock(loader.mutex);
  if (loader.functions && !loader.released) {
    loader.functions->global_cleanup();
    loader.released = true;
  }
}

}  // namespace miravel
