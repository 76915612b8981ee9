// One complete HTTP request and response, on libcurl.
//
// Reads ExchangeSlots from in-memory file `file_number`, connects to the
// host and port the URL names, sends exactly the completed header block of
// PlanExchange() (curl adds only the Host line and the agent), reads the
// whole body (the first kMaxBodyBytes of it), captures the raw response
// header lines and the cookies the response sets, keeps those cookies in the
// cookie store, and writes the record back with its results in place.
//
// When the file cannot be read nothing is written back. When no transfer can
// be set up (curl refuses the handle or the URL) slots 0, 1, 5 and 6 come
// back empty. A failed connection or transfer gives what was read before it.
//
// While `abort` is raised the transfer ends within about a second and
// nothing more is written to the file. Runs on a worker thread; the caller
// leaves the file alone until it returns. libcurl is opened by the first
// exchange that needs it (curl_library.h) when the program has not started
// loading it already.
#pragma once

#include <atomic>
#include <cstddef>

namespace miravel {

inline constexpr size_t kMaxBodyBytes = size_t{64} << 20;
inline constexpr size_t kMaxHeaderBytes = size_t{1} << 20;

void HttpExchange(int file_number, const std::atomic<bool>& abort);

}  // namespace miravel
