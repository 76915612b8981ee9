#include "composer/testing/stand_in_service.h"

#include <chrono>

#include "common/list_items.h"

namespace miravel::testing {
namespace {

// GBK filler characters for the made-up lines: 春风花月山水云天.
const char* const kFiller[] = {"\xB4\xBA", "\xB7\xE7", "\xBB\xA8", "\xD4\xC2",
                               "\xC9\xBD", "\xCB\xAE", "\xD4\xC6", "\xCC\xEC"};

std::string Filler(size_t count, size_t seed) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += kFiller[(seed + i) % 8];
  return text;
}

// Splits GBK text into characters (one byte below 0x80, else two).
std::vector<std::string> Characters(const std::string& gbk) {
  std::vector<std::string> out;
  for (size_t i = 0; i < gbk.size();) {
    const size_t n = static_cast<unsigned char>(gbk[i]) >= 0x81 && i + 1 < gbk.size() ? 2 : 1;
    out.push_back(gbk.substr(i, n));
    i += n;
  }
  return out;
}

}  // namespace

std::string StandInService::PoemPage(const std::string& characters, const std::string& gender,
                                     const std::string& num) {
  const size_t length = gender == "7" ? 7 : 5;
  std::string page = "<html><head><title>Poem</title></head><body><ul>\n";
  size_t seed = 0;
  for (const std::string& c : Characters(characters)) {
    const std::string red = "<font style=\"color:red\">" + c + "</font>";
    if (num == "cangtou") {
      page += "<li>" + red + Filler(length - 1, seed) + "</li>\n";
    } else if (num == "cangzhong") {
      const size_t before = length / 2;
      page +=
          "<li>" + Filler(before, seed) + red + Filler(length - before - 1, seed + 3) + "</li>\n";
    } else {
      page += "<li>" + Filler(length - 1, seed) + red + "</li>\n";
    }
    seed += 2;
  }
  return page + "</ul></body></html>\n";
}

// The page's lines as the client's result box gets them.
std::string StandInService::ExpectedLines(const std::string& characters, const std::string& gender,
                                          const std::string& num) {
  std::string lines;
  for (const std::string& line : ListItemTexts(PoemPage(characters, gender, num))) {
    lines += line + "\r\n";
  }
  return lines;
}

StandInService::StandInService(int port) {
  server_ = std::make_unique<LocalServer>(
      [this](httplib::Server& server) {
        server.Post("/qm/cts.php", [this](const httplib::Request& req, httplib::Response& res) {
          Answer(req, res);
        });
        server.Get("/poems", [](const httplib::Request& req, httplib::Response& res) {
          res.set_content(PoemPage(req.get_param_value("xing"), req.get_param_value("gender"),
                                   req.get_param_value("num")),
                          "text/html; charset=gbk");
        });
      },
      port);
}

void StandInService::Answer(const httplib::Request& req, httplib::Response& res) {
  Received received{req.body, {}};
  for (const auto& [name, value] : req.headers) {
    if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" &&
        name != "LOCAL_PORT") {
      received.headers.emplace_back(name, value);
    }
  }
  Reply reply;
  {
    std::unique_lock lock(mutex_);
    received_.push_back(std::move(received));
    reply = reply_;
    if (reply == Reply::kDelayed) {
      released_cv_.wait_for(lock, std::chrono::seconds(90), [this] { return released_; });
    }
  }
  switch (reply) {
    case Reply::kDropped:
      res.set_content_provider(1000, "text/html",
                               [](size_t, size_t, httplib::DataSink&) { return false; });
      return;
    case Reply::kNoPoems:
      res.set_content("<html><body>no poems today</body></html>", "text/html; charset=gbk");
      return;
    case Reply::kRedirected:
      // The form travels on in the query, as a service after the
      // post-redirect-get pattern might keep it.
      res.set_redirect("/poems?" + req.body, 302);
      return;
    case Reply::kPoems:
    case Reply::kDelayed:
      res.set_content(PoemPage(req.get_param_value("xing"), req.get_param_value("gender"),
                               req.get_param_value("num")),
                      "text/html; charset=gbk");
      return;
  }
}

StandInService::~StandInService() {
  Release();
  server_.reset();
}

std::string StandInService::Url() const { return "http://" + Address() + "/qm/cts.php"; }

std::string StandInService::Address() const { return "127.0.0.1:" + std::to_string(port()); }

void StandInService::set_reply(Reply reply) {
  std::lock_guard lock(mutex_);
  reply_ = reply;
  released_ = false;
}

void StandInService::Release() {
  std::lock_guard lock(mutex_);
  released_ = true;
  released_cv_.notify_all();
}

std::vector<StandInService::Received> StandInService::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

}  // namespace miravel::testing
