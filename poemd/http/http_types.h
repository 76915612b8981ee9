// One HTTP request as the service's routes see it, and their answer.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace miravel::poemd {

struct HttpRequest {
  std::string method;  // "GET", "POST", ...
  std::string target;  // the path with its query, as sent
  std::string body;
  std::string host;           // the Host header, as sent; may be empty
  std::string accept;         // the Accept header; may be empty
  std::string if_none_match;  // the If-None-Match header; may be empty
  std::string peer;           // the client's address ("127.0.0.1"), as the server sees it

  std::string_view Path() const;
  std::string_view Query() const;  // after "?", or ""
  // Whether the client reads HTML (a browser opening a page), by Accept.
  bool AcceptsHtml() const;
};

// Whether an Accept header asks for HTML.
bool AcceptsHtml(std::string_view accept);

struct HttpReply {
  int status = 200;
  std::string content_type;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // beyond the content lines
  // What the log says of the request beyond its line (the form asked for,
  // or why it was refused).
  std::string log_note;
};

// Gives a request its reply, from any thread, once; a second call is
// ignored. Dropped without a call, the request's connection closes.
using ReplyTo = std::function<void(HttpReply)>;
// What a route that will answer later calls, once, for the ReplyTo that
// carries its answer; a route that answers at once never calls it.
using Defer = std::function<ReplyTo()>;

}  // namespace miravel::poemd
