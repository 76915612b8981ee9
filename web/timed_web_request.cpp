#include "web/timed_web_request.h"

#include <algorithm>
#include <chrono>
#include <climits>

#include "common/memory_file.h"
#include "text/codepage.h"
#include "web/exchange_slots.h"
#include "web/exchange_worker.h"

namespace miravel {

const char* const kTimeoutMessage =
    "\xB3\xAC\xCA\xB1\xB7\xB5\xBB\xD8\xA3\xAC\xD6\xB8\xB6\xA8\xCD\xF8\xD5\xBE\xB2\xBB\xC4\xDC"
    "\xB7\xC3\xCE\xCA\xA3\xAC\xBB\xF2\xD5\xDF\xC4\xE3\xB5\xC4\xCD\xF8\xC2\xE7\xB3\xF6\xCF\xD6"
    "\xCE\xCA\xCC\xE2\xA3\xAC\xC4\xE3\xBF\xC9\xD2\xD4\xB0\xD1\xB2\xCE\xCA\xFD\xD6\xD0\xB5\xC4"
    "\xA3\xA2\xB3\xAC\xCA\xB1\xB7\xB5\xBB\xD8\xA3\xA2\xB5\xC4\xD6\xB5\xC9\xE8\xD6\xC3\xB3\xA4"
    "\xD2\xBB\xD0\xA9\xA1\xA3";

namespace {

Record BuildSlots(const Text& url, const WebRequestOptions& options) {
  Record slots(kExchangeSlotCount);
  slots[kSlotUrl] = url;
  slots[kSlotMethod] = options.method == kMethodPost ? "POST" : "GET";
  slots[kSlotProxy] = options.proxy;
  slots[kSlotHeaders] = options.headers;
  slots[kSlotBody] = options.body;
  slots[kSlotCookies] = options.cookies;
  slots[kSlotRedirects] = options.follow_redirects.value_or(true) ? kRedirectsOn : kRedirectsOff;
  return slots;
}

Bytes Convert(const Bytes& body, int conversion) {
  switch (conversion) {
    case kConvertFromUtf8:
      return Utf8ToGbk(TextOf(body));
    case kConvertFromBig5:
      return Big5ToGbkSimplified(TextOf(body));
    default:
      return body;
  }
}

}  // namespace

int TimeoutMillis(std::optional<int> timeout_seconds) {
  const double ms = timeout_seconds.value_or(kDefaultTimeoutSeconds) * 1000.0;
  return static_cast<int>(std::clamp(ms, double{INT_MIN}, double{INT_MAX}));
}

Bytes TimedWebRequest(Text& url, EventPump& pump, const WebRequestOptions& options) {
  using Clock = std::chrono::steady_clock;
  if (TrimBlanks(url).empty()) return {};
  if (!url.starts_with("http://") && !url.starts_with("https://")) url = "http://" + url;

  const int file_number = OpenMemoryFile();
  const std::shared_ptr<MemoryFile> file = FindMemoryFile(file_number);
  if (!file->WriteRecord(BuildSlots(url, options))) {
    CloseMemoryFile(file_number);
    return {};
  }
  auto abort = std::make_shared<std::atomic<bool>>(false);
  auto done = std::make_shared<WorkerSignal>();
  if (!StartExchangeWorker(file_number, abort, done)) {
    CloseMemoryFile(file_number);
    return kTimeoutMessage;  // no worker can ever answer
  }

  const auto start = Clock::now();
  const auto limit = std::chrono::milliseconds(std::max(0, TimeoutMillis(options.timeout_seconds)));
  bool timed_out = false;
  for (;;) {
    const auto left = std::max(Clock::duration::zero(), limit - (Clock::now() - start));
    const WaitOutcome outcome =
        pump.WaitFor(*done, std::chrono::ceil<std::chrono::milliseconds>(left));
    // The limit wins over a worker that ended in the same pass.
    timed_out = Clock::now() - start >= limit || outcome == WaitOutcome::kInterrupted;
    pump.ProcessPendingEvents();
    if (timed_out || outcome == WaitOutcome::kSignalled) break;
  }

  if (timed_out) {
    abort->store(true);
    CloseMemoryFile(file_number);
    return kTimeoutMessage;
  }
  file->Rewind();
  std::optional<Record> slots = file->ReadRecord();
  CloseMemoryFile(file_number);
  // The worker always writes seven slots back; anything else is no reply.
  if (!slots || slots->size() != kExchangeSlotCount) return {};
  if (options.response_headers != nullptr) {
    *options.response_headers = TextOf((*slots)[kSlotResponseHeaders]);
  }
  if (options.response_cookies != nullptr) {
    *options.response_cookies = TextOf((*slots)[kSlotResponseCookies]);
  }
  return Convert((*slots)[kSlotUrl], options.response_conversion);
}

}  // namespace miravel
