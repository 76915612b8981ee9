// Feeds arbitrary texts to the URL helpers, the header completion and the
// cookie capture: no crash, and the invariants callers rely on hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "web/cookie_capture.h"
#include "web/exchange_plan.h"
#include "web/exchange_slots.h"
#include "web/url_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace miravel;
  const std::string input(reinterpret_cast<const char*>(data), size);
  // Split the input into pieces at 0x01 bytes for the multi-argument calls.
  std::vector<Text> parts(4);
  size_t part = 0;
  for (char c : input) {
    if (c == '\x01' && part + 1 < parts.size())
      ++part;
    else
      parts[part] += c;
  }
  const Text& url = parts[0];
  if (GetUrlPath(url).front() != '/') std::abort();
  const Text host = GetUrlHost(url);
  if (LowerAscii(host) != host) std::abort();
  GetUrlPort(url);
  GetTextBetween(parts[1], parts[2], parts[3], static_cast<int>(size % 7) - 2, size % 2 == 0);
  GetTextBefore(parts[1], parts[2], static_cast<int>(size % 5) - 1, size % 3 == 0);

  const Record slots{url,      size % 2 ? "POST" : "GET",   "", parts[1], parts[2],
                     parts[3], size % 3 ? kRedirectsOn : ""};
  const ExchangePlan plan = PlanExchange(slots);
  if (plan.method == "POST" && !plan.body.empty() &&
      FindText(plan.header_block, "Content-Length", 1, true) == kAbsent) {
    std::abort();
  }
  CaptureCookies(input);
  return 0;
}
