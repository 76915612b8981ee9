// A stand-in poem service for tests: the loopback test server answering
// POST /qm/cts.php with a page in the shape its "num" field asks for (or the
// reply a test forces), and recording every request it gets.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "web/testing/local_server.h"

namespace miravel::testing {

class StandInService {
 public:
  enum class Reply {
    kPoems,       // one line per hidden character, in the shape "num" asks for
    kNoPoems,     // a page without list items
    kDelayed,     // poems, once Release() is called
    kDropped,     // the connection is cut before a whole reply is sent
    kRedirected,  // 302 to GET /poems, which answers with the poems
  };

  struct Received {
    std::string body;
    // Header lines as name and value, less the ones httplib adds itself.
    std::vector<std::pair<std::string, std::string>> headers;
  };

  // Listens on 127.0.0.1:`port` (0: a free one).
  explicit StandInService(int port = 0);
  ~StandInService();
  StandInService(const StandInService&) = delete;
  StandInService& operator=(const StandInService&) = delete;

  bool listening() const { return server_->listening(); }
  int port() const { return server_->port(); }
  std::string Url() const;
  std::string Address() const;  // "127.0.0.1:port"
  void set_reply(Reply reply);
  // Lets delayed replies go.
  void Release();
  std::vector<Received> received() const;

  // The page for a decoded request: GBK characters, "5"/"7", hide mode.
  static std::string PoemPage(const std::string& characters, const std::string& gender,
                              const std::string& num);
  // What the client's result box holds for that page: a line each, "\r\n" after.
  static std::string ExpectedLines(const std::string& characters, const std::string& gender,
                                   const std::string& num);

 private:
  void Answer(const httplib::Request& req, httplib::Response& res);

  mutable std::mutex mutex_;
  std::condition_variable released_cv_;
  bool released_ = false;
  Reply reply_ = Reply::kPoems;
  std::vector<Received> received_;
  std::unique_ptr<LocalServer> server_;  // last: it serves until destroyed first
};

}  // namespace miravel::testing
