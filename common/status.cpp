#include "common/status.h"

#include <cstdio>
#include <cstdlib>

namespace miravel {

std::string_view StatusCodeName(StatusCode code) {
  switch (code) {
    case StatusCode::kOk:
      return "OK";
    case StatusCode::kInvalidArgument:
      return "Invalid argument";
    case StatusCode::kNotFound:
      return "Not found";
    case StatusCode::kCorruption:
      return "Corruption";
    case StatusCode::kIOError:
      return "I/O error";
    case StatusCode::kAddressInUse:
      return "Address in use";
    case StatusCode::kPermissionDenied:
      return "Permission denied";
  }
  return "Unknown";
}

Status Status::Prefixed(std::string_view context) const {
  if (ok()) return *this;
  return Status(code_, std::string(context) + ": " + message_);
}

std::string Status::ToString() const {
  if (ok()) return "OK";
  return std::string(StatusCodeName(code_)) + ": " + message_;
}

Status StatusFromErrorCode(const std::error_code& error, std::string_view context) {
  if (!error) return Status::Ok();
  std::string message = std::string(context) + ": " + error.message();
  if (error == std::errc::address_in_use) return Status::AddressInUse(std::move(message));
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
    return Status::PermissionDenied(std::move(message));
  }
  if (error == std::errc::no_such_file_or_directory) return Status::NotFound(std::move(message));
  if (error == std::errc::invalid_argument || error == std::errc::address_not_available) {
    return Status::InvalidArgument(std::move(message));
  }
  return Status::IOError(std::move(message));
}

void AbortOnMissingValue(const Status& status) {
  std::fprintf(stderr, "StatusOr read without a value: %s\n", status.ToString().c_str());
  std::abort();
}

}  // namespace miravel
