// The service's poem pages as the desktop client reads them: through the
// client's own extraction into its result box.
#include <gtest/gtest.h>

#include "composer/control_names.h"
#include "composer/result_extraction.h"
#include "composer/testing/fake_toolkit.h"
#include "poemd/serve/poem_service.h"
#include "poemd/testing/testing_corpus.h"
#include "text/gbk_unicode.h"

namespace miravel {
namespace {

const poemd::CorpusIndex& Corpus() {
  static const poemd::CorpusIndex index = poemd::testing::MadeUpCorpus();
  return index;
}

// The lines the client's extraction puts into its result box.
std::vector<std::u16string> ClientLines(const std::string& page, const char* mode) {
  FakeToolkit toolkit;
  RegexObject regex;
  ExtractPoems(page, mode, regex, toolkit);
  std::vector<std::u16string> lines;
  const std::u16string box = GbkToUtf16(toolkit.edits[kResultEdit]);
  size_t from = 0;
  for (size_t end; (end = box.find(u"\r\n", from)) != std::u16string::npos; from = end + 2) {
    lines.push_back(box.substr(from, end - from));
  }
  return lines;
}

TEST(ServicePages, TheClientReadsThePoemInEveryPlace) {
  const poemd::PoemService service(Corpus(), {.seed = 42});
  for (const char* mode : {"cangtou", "cangzhong", "cangwei"}) {
    for (const char* gender : {"5", "7"}) {
      const poemd::HttpReply reply =
          service.Compose(std::string("xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=") + gender +
                          "&type_str=&classid=0&num=" + mode + "&limit=100");
      ASSERT_EQ(reply.status, 200) << reply.body;
      const std::vector<std::u16string> lines = ClientLines(reply.body, mode);
      const size_t length = gender[0] == '5' ? 5 : 7;
      const int place = std::string_view(mode) == "cangtou"     ? 0
                        : std::string_view(mode) == "cangzhong" ? static_cast<int>(length / 2)
                                                                : static_cast<int>(length - 1);
      ASSERT_EQ(lines.size(), 4u) << mode << gender;
      for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[i].size(), length);
        EXPECT_EQ(lines[i][place], u"春风花月"[i]) << mode << gender;
      }
    }
  }
}

TEST(ServicePages, NothingButThePoemIsAListItem) {
  const poemd::PoemService service(Corpus(), {.seed = 1});
  const std::string head = service.Compose("xing=%B4%BA&gender=5&num=cangtou&limit=100").body;
  EXPECT_NE(head.find("\n<li><font style=\"color:red\">\xB4\xBA</font>"), std::string::npos);
  const std::string tail = service.Compose("xing=%B4%BA&gender=5&num=cangwei&limit=100").body;
  EXPECT_NE(tail.find("<font style=\"color:red\">\xB4\xBA</font></li>\n"), std::string::npos);
  size_t items = 0;
  for (size_t at = 0; (at = tail.find("<li", at)) != std::string::npos; ++at) ++items;
  EXPECT_EQ(items, 1u);
}

}  // namespace
}  // namespace miravel
