// The service's routes as a table: a method and a path pattern to a
// handler, so that every address the service answers at is read in one
// place. The table answers what no handler takes, the same way for every
// route: 404 (refusals.h's missing page) for a path no pattern reads, and
// 405 with Allow, naming the methods its pattern has, for another method.
// A route for GET answers HEAD too (the HTTP server asks HEAD as GET and
// sends no body).
//
// A handler answers at once with a reply, or later (http_types.h): it calls
// `defer` for the ReplyTo that will carry its answer and returns nullopt. A
// null `defer` asks for every answer at once, on the calling thread.
//
// Patterns are tried in the order they were first added. Built once, then
// Serve is thread-safe.
#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "poemd/http/http_types.h"

namespace miravel::poemd {

// A reply now, or nullopt when the route deferred it.
using Answer = std::optional<HttpReply>;

class RouteTable {
 public:
  // `method` at exactly `path`; `handler` takes (request) or (request,
  // defer) and returns a reply or an Answer.
  template <typename Handler>
  RouteTable& Add(std::string_view method, std::string path, Handler handler) {
    auto exactly = [path](std::string_view asked) -> std::optional<std::monostate> {
      if (asked != path) return std::nullopt;
      return std::monostate();
    };
    auto take = [handler = std::move(handler)](const HttpRequest& request, std::monostate,
                                               const Defer& defer) -> Answer {
      if constexpr (std::invocable<Handler&, const HttpRequest&, const Defer&>) {
        return handler(request, defer);
      } else {
        return handler(request);
      }
    };
    return AddPattern<std::monostate>(method, path, std::move(exactly), std::move(take));
  }

  // `method` at every path `read` reads; `pattern` names those paths for
  // the reader of the table ("/source/{length}/{line}") and gathers the
  // methods at them. `handler` takes (request, address) or (request,
  // address, defer), the address as `read` gave it.
  template <typename Address, typename Handler>
  RouteTable& Add(std::string_view method, std::string pattern,
                  std::optional<Address> (*read)(std::string_view path), Handler handler) {
    auto take = [handler = std::move(handler)](const HttpRequest& request, const Address& address,
                                               const Defer& defer) -> Answer {
      if constexpr (std::invocable<Handler&, const HttpRequest&, const Address&, const Defer&>) {
        return handler(request, address, defer);
      } else {
        return handler(request, address);
      }
    };
    return AddPattern<Address>(method, std::move(pattern), read, std::move(take));
  }

  Answer Serve(const HttpRequest& request, const Defer& defer) const;

 private:
  // A path pattern and the methods at it.
  class Pattern {
   public:
    explicit Pattern(std::string name) : name_(std::move(name)) {}
    virtual ~Pattern() = default;
    const std::string& Name() const { return name_; }
    // nullopt when `request`'s path is not one of this pattern's.
    virtual std::optional<Answer> Serve(const HttpRequest& request, const Defer& defer) const = 0;

   protected:
    void AddMethod(std::string_view method);
    // The method's place among those added; nullopt for another method.
    std::optional<size_t> Find(std::string_view method) const;
    // 405, naming the methods added.
    HttpReply NotAllowed() const;

   private:
    std::string name_;
    std::vector<std::string> methods_;
  };

  template <typename Address>
  class PatternOf : public Pattern {
   public:
    using Read = std::function<std::optional<Address>(std::string_view)>;
    using Handler = std::function<Answer(const HttpRequest&, const Address&, const Defer&)>;

    PatternOf(std::string name, Read read) : Pattern(std::move(name)), read_(std::move(read)) {}

    void Add(std::string_view method, Handler handler) {
      AddMethod(method);
      handlers_.push_back(std::move(handler));
    }

    std::optional<Answer> Serve(const HttpRequest& request, const Defer& defer) const override {
      const std::optional<Address> address = read_(request.Path());
      if (!address) return std::nullopt;
      const std::optional<size_t> method = Find(request.method);
      if (!method) return Answer(NotAllowed());
      return handlers_[*method](request, *address, defer);
    }

   private:
    Read read_;
    std::vector<Handler> handlers_;
  };

  template <typename Address>
  RouteTable& AddPattern(std::string_view method, std::string name,
                         typename PatternOf<Address>::Read read,
                         typename PatternOf<Address>::Handler handler) {
    Pattern* found = Named(name);
    if (found == nullptr) {
      patterns_.push_back(std::make_unique<PatternOf<Address>>(std::move(name), std::move(read)));
      found = patterns_.back().get();
    }
    // A name stands for one pattern: the same reader, the same address.
    dynamic_cast<PatternOf<Address>&>(*found).Add(method, std::move(handler));
    return *this;
  }

  Pattern* Named(std::string_view name);

  std::vector<std::unique_ptr<Pattern>> patterns_;
};

}  // namespace miravel::poemd
