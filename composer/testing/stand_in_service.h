// A stand-in poem service for tests: cpp-httplib on 127.0.0.1, answering
// POST /qm/cts.php with a page in the shape its "num" field asks for (or the
// shape a test forces), and recording every request it gets.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace miravel::testing {

class StandInService {
 public:
  enum class Reply {
    kPoems,    // one line per hidden character, in the shape "num" asks for
    kNoPoems,  // a page without list items
    kDelayed,  // poems, once Release() is called
    kDropped,  // the connection is cut before a whole reply is sent
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

  bool listening() const { return port_ > 0; }
  int port() const { return port_; }
  std::string Url() const;
  void set_reply(Reply reply);
  // Lets delayed replies go.
  void Release();
  std::vector<Received> received() const;

  // The page for a decoded request: GBK characters, "5"/"7", hide mode.
  static std::string PoemPage(const std::string& characters, const std::string& gender,
                              const std::string& num);

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable released_cv_;
  bool released_ = false;
  Reply reply_ = Reply::kPoems;
  std::vector<Received> received_;
};

}  // namespace miravel::testing
