#include "composer/service_address.h"

#include "miravel/service_address.h"

namespace miravel {

Text DefaultServiceUrl() { return Text("http://") + MIRAVEL_SERVICE_HOST + kServicePath; }

Text CompleteServiceUrl(const Text& address) {
  Text url = TrimBlanks(address);
  const Text lower = LowerAscii(url);
  if (!lower.starts_with("http://") && !lower.starts_with("https://")) url = "http://" + url;
  const size_t host_start = url.find("://") + 3;
  const size_t path_start = url.find('/', host_start);
  if (path_start == Text::npos) return url + kServicePath;
  if (path_start == url.size() - 1) return url.substr(0, path_start) + kServicePath;
  return url;
}

Text ResolveServiceUrl(const std::optional<Text>& option, const char* environment) {
  if (option && !TrimBlanks(*option).empty()) return CompleteServiceUrl(*option);
  if (environment != nullptr && !TrimBlanks(environment).empty()) {
    return CompleteServiceUrl(environment);
  }
  return DefaultServiceUrl();
}

}  // namespace miravel
