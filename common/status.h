// Status and StatusOr<T>: what every boundary of the poem service that can
// fail hands back, in the manner of leveldb's Status and abseil's StatusOr.
//
// A Status is ok, or carries a code and a message. Callers branch on the
// code, never on the message: the message is for people (a log line, an
// error page) and may change. Foreign error codes (errno, a library's enum)
// become a Status in one place, StatusFromErrorCode().
//
// A StatusOr<T> holds a T or a Status that is not ok. Reading the value of
// one that holds no value is a bug: it aborts.
//
// Both are [[nodiscard]]: a failure dropped unread is a warning. Where a
// caller means to go on whatever happened, it says so with (void).
//
// Thread-safety: a const Status or StatusOr may be read from several
// threads; a mutable one needs outside synchronisation.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace miravel {

enum class StatusCode {
  kOk = 0,
  kInvalidArgument,   // the caller's input is refused
  kNotFound,          // a file or entry that should be there is not
  kCorruption,        // data that is there is damaged or of another version
  kIOError,           // reading or writing failed for another reason
  kAddressInUse,      // another socket holds the address
  kPermissionDenied,  // the system refused the operation to this process
};

class [[nodiscard]] Status {
 public:
  // Ok.
  Status() = default;
  static Status Ok() { return Status(); }
  static Status InvalidArgument(std::string message) {
    return Status(StatusCode::kInvalidArgument, std::move(message));
  }
  static Status NotFound(std::string message) {
    return Status(StatusCode::kNotFound, std::move(message));
  }
  static Status Corruption(std::string message) {
    return Status(StatusCode::kCorruption, std::move(message));
  }
  static Status IOError(std::string message) {
    return Status(StatusCode::kIOError, std::move(message));
  }
  static Status AddressInUse(std::string message) {
    return Status(StatusCode::kAddressInUse, std::move(message));
  }
  static Status PermissionDenied(std::string message) {
    return Status(StatusCode::kPermissionDenied, std::move(message));
  }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  // "" when ok.
  const std::string& message() const { return message_; }
  // The same code, with `context` and ": " before the message.
  Status Prefixed(std::string_view context) const;
  // "OK", or the code's name and the message ("Corruption: ...").
  std::string ToString() const;

  friend bool operator==(const Status&, const Status&) = default;

 private:
  Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}

  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

// "OK", "Invalid argument", "Not found", ...
std::string_view StatusCodeName(StatusCode code);

// `error` as a Status: address in use, permission denied, not found and
// invalid argument by their codes, every other failure an I/O error; the
// message is `context`, ": " and the system's words. Ok when `error` is 0.
Status StatusFromErrorCode(const std::error_code& error, std::string_view context);

template <typename T>
class [[nodiscard]] StatusOr {
 public:
  // REQUIRES: !status.ok().
  StatusOr(Status status) : status_(std::move(status)) {  // NOLINT: implicit by design
    if (status_.ok()) status_ = Status::InvalidArgument("StatusOr made from an ok Status");
  }
  StatusOr(T value) : value_(std::move(value)) {}  // NOLINT: implicit by design

  bool ok() const { return value_.has_value(); }
  // Ok when a value is held.
  const Status& status() const { return status_; }

  // REQUIRES: ok().
  const T& value() const& { return Checked(); }
  T& value() & { return Checked(); }
  T&& value() && { return std::move(Checked()); }
  const T& operator*() const& { return Checked(); }
  T& operator*() & { return Checked(); }
  T&& operator*() && { return std::move(Checked()); }
  const T* operator->() const { return &Checked(); }
  T* operator->() { return &Checked(); }

 private:
  [[noreturn]] static void Fail(const Status& status);
  T& Checked() {
    if (!value_) Fail(status_);
    return *value_;
  }
  const T& Checked() const {
    if (!value_) Fail(status_);
    return *value_;
  }

  Status status_;
  std::optional<T> value_;
};

// Aborts with the status on standard error: reading a missing value is a bug.
[[noreturn]] void AbortOnMissingValue(const Status& status);

template <typename T>
void StatusOr<T>::Fail(const Status& status) {
  AbortOnMissingValue(status);
}

}  // namespace miravel
