// What a poem is about, through the browser's routes: said under the poem,
// other subjects offered as links, a subject asked for kept by the poem's
// address and its swaps, and a forged one harmless.
#include <gtest/gtest.h>

#include <regex>

#include "poemd/http/form_body.h"
#include "poemd/serve/browser_testing.h"
#include "poemd/serve/pages/subject_line.h"
#include "poemd/testing/testing_corpus.h"
#include "poemd/testing/titled_poems.h"

namespace miravel::poemd {
namespace {

struct SaidSubject {
  std::string words;
  std::vector<std::pair<std::string, std::string>> others;  // href, words
};

SaidSubject SubjectOn(const std::string& page) {
  SaidSubject said;
  std::smatch m;
  if (!std::regex_search(page, m, std::regex("<p class=\"subject\">(.*?)</p>"))) return said;
  const std::string line = m[1].str();
  if (std::regex_search(line, m, std::regex("class=\"subject-words\">([^<]*)<"))) said.words = m[1];
  const std::regex link("<a href=\"([^\"]*)\">([^<]*)</a>");
  for (auto it = std::sregex_iterator(line.begin(), line.end(), link); it != std::sregex_iterator();
       ++it) {
    said.others.emplace_back(std::regex_replace((*it)[1].str(), std::regex("&amp;"), "&"),
                             (*it)[2].str());
  }
  return said;
}

std::string Href(const std::string& page, const std::string& label) {
  std::smatch m;
  if (!std::regex_search(page, m, std::regex("href=\"([^\"]*)\">" + label + "</a>"))) return "";
  return std::regex_replace(m[1].str(), std::regex("&amp;"), "&");
}

// Poems of three made-up subjects (咏梅, 送友人, 寿张公).
class SubjectRoutesTest : public ::testing::Test {
 protected:
  PoemService service_{testing::TitledIndex(), {.seed = 5}};
};

TEST_F(SubjectRoutesTest, AnotherSubjectsLinkGivesItsPoemAtAnAddressThatKeepsIt) {
  const auto [address, page] =
      Follow(service_, "/poem?xing=" + PercentEncode("梅香") + "&gender=5");
  ASSERT_EQ(page.status, 200);
  const SaidSubject said = SubjectOn(page.body);
  ASSERT_FALSE(said.words.empty()) << page.body;
  ASSERT_FALSE(said.others.empty());
  EXPECT_LE(said.others.size(), kSubjectsOffered);
  EXPECT_EQ(address.find("subject="), std::string::npos);  // the composer chose

  for (const auto& [href, words] : said.others) {
    EXPECT_NE(words, said.words);
    ASSERT_NE(href.find("subject="), std::string::npos) << href;
    const HttpReply other = service_.Handle(Get(href));
    ASSERT_EQ(other.status, 200) << href << " -> " << Header(other, "Location");
    EXPECT_EQ(SubjectOn(other.body).words, words) << href;
    // Its address brings it back; its swaps keep the subject, the form's
    // "again" does not.
    const std::string subject = href.substr(href.find("subject="));
    EXPECT_NE(MetaContent(other.body, "og:url").find(subject), std::string::npos);
    const auto [swapped, after] = Follow(service_, href + "&swap=1");
    EXPECT_NE(swapped.find(subject), std::string::npos) << swapped;
    ASSERT_EQ(after.status, 200);
    EXPECT_EQ(SubjectOn(after.body).words, words);
    EXPECT_EQ(Lines(after.body)[0], Lines(other.body)[0]);
    EXPECT_EQ(Href(other.body, "再作一首").find("subject="), std::string::npos);
  }
}

TEST_F(SubjectRoutesTest, ASubjectAskedOnTheFormIsKept) {
  const std::string asked =
      SubjectOn(Follow(service_, "/poem?xing=" + PercentEncode("梅香") + "&gender=5").second.body)
          .others.front()
          .first;
  const std::string subject = asked.substr(asked.find("subject="));
  const auto [address, page] =
      Follow(service_, "/poem?xing=" + PercentEncode("梅香") + "&gender=5&" + subject);
  EXPECT_NE(address.find(subject), std::string::npos) << address;
  EXPECT_EQ(service_.Handle(Get(address)).body, page.body);
}

TEST_F(SubjectRoutesTest, AForgedSubjectLeavesTheComposerToChoose) {
  const auto [address, page] =
      Follow(service_, "/poem?xing=" + PercentEncode("梅香") + "&gender=5");
  const std::string plain = address.substr(0, address.find('?'));
  const std::string count = std::to_string(testing::TitledIndex().Subjects().Count());
  for (const std::string& forged : {count, std::string("65535"), std::string("99999999999"),
                                    std::string("-1"), std::string("x"), std::string("")}) {
    const HttpReply reply = service_.Handle(Get(plain + "?subject=" + forged));
    EXPECT_EQ(reply.status, 303) << forged;
    EXPECT_EQ(Header(reply, "Location"), plain) << forged;
    const auto [composed, fresh] =
        Follow(service_, "/poem?xing=" + PercentEncode("梅香") + "&gender=5&subject=" + forged);
    EXPECT_EQ(composed.find("subject="), std::string::npos) << forged;
    EXPECT_FALSE(SubjectOn(fresh.body).words.empty()) << forged;
  }
}

}  // namespace
}  // namespace miravel::poemd
