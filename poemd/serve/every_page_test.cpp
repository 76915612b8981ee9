// Every page the routes give, in both scripts where a page has them, is
// filled in whole: no placeholder of a template is left on it.
#include <gtest/gtest.h>

#include "poemd/http/form_body.h"
#include "poemd/serve/browser_testing.h"
#include "poemd/serve/poem_service.h"
#include "poemd/serve/routes/refusals.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

TEST_F(BrowserTest, NoPageLeavesAPlaceholderUnfilled) {
  std::vector<std::pair<std::string, HttpReply>> pages;
  const auto get = [&](const std::string& target) {
    pages.emplace_back(target, service_.Handle(Get(target)));
    return pages.back().second;
  };
  // 龘 has no line of its own: a made line, and its notes, are shown too.
  const std::string query = "xing=" + PercentEncode("春风龘月") +
                            "&gender=5&theme=" + PercentEncode("秋") + "&occasion=farewell";
  for (const std::string script : {"simplified", "traditional"}) {
    const std::string own = Header(get("/poem?" + query + "&script=" + script), "Location");
    const HttpReply page = get(own);
    ASSERT_EQ(page.status, 200) << own;
    get(Header(get(own + (own.find('?') == std::string::npos ? "?" : "&") + "swap=1"), "Location"));
    get("/source/5/0?script=" + script + "&from=" + PercentEncode(own));
    get("/?" + query + "&script=" + script);
    get(own.substr(0, own.find('?')) + ".svg?script=" + script);
  }
  get("/");
  get("/poem?xing=abc");  // the form refused
  get("/poem?xing=" + PercentEncode("春") + "&theme=" + std::string(40, 'x') +
      PercentEncode("春春春春春春春春春春春春春春春春春春春春春"));  // the theme refused
  get("/nowhere");
  HttpRequest put = Get("/");
  put.method = "PUT";
  pages.emplace_back("PUT /", service_.Handle(put));
  for (const int status : {400, 408, 413, 414, 429, 431, 500, 503, 505}) {
    pages.emplace_back("refusal " + std::to_string(status), Refusal(status, "why", true));
  }
  // The client's pages, in GBK: read as text first.
  for (const std::string body : {"xing=%B4%BA%FD%88&gender=5&num=cangtou&limit=100",
                                 "xing=abc&gender=5&num=cangtou&limit=100"}) {
    HttpReply reply = service_.Compose(body);
    reply.body = Utf16ToUtf8(GbkToUtf16(reply.body));
    pages.emplace_back(body, std::move(reply));
  }

  for (const auto& [asked, reply] : pages) {
    EXPECT_TRUE(reply.status == 303 || !reply.body.empty()) << asked;
    EXPECT_EQ(reply.body.find("{{"), std::string::npos) << asked << ":\n" << reply.body;
  }
}

}  // namespace
}  // namespace miravel::poemd
