// One HTTP request as the service's routes see it, and their answer.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace miravel::poemd {

struct HttpRequest {
  std::string method;  // "GET", "POST", ...
  std::string target;  // the path with its query, as sent
  std::string body;
  std::string host;  // the Host header, as sent; may be empty

  std::string_view Path() const;
  std::string_view Query() const;  // after "?", or ""
};

struct HttpReply {
  int status = 200;
  std::string content_type;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // beyond the content lines
  // What the log says of the request beyond its line (the form asked for,
  // or why it was refused).
  std::string log_note;
};

}  // namespace miravel::poemd
