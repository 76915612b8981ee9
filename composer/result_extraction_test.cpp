#include "composer/result_extraction.h"

#include <gtest/gtest.h>

#include "composer/control_names.h"
#include "composer/testing/fake_toolkit.h"

namespace miravel {
namespace {

Text Extract(const Text& page, const Text& mode, FakeToolkit& toolkit) {
  RegexObject regex;
  ExtractPoems(page, mode, regex, toolkit);
  return toolkit.edits[kResultEdit];
}

TEST(ExtractPoems, HeadModeJoinsRedCharacterAndRest) {
  FakeToolkit toolkit;
  EXPECT_EQ(Extract("<ul>\n<li><font style=\"color:red\">A</font>BCD</li>\n"
                    "<li><font style=\"color:red\">E</font>FGH</li>\n</ul>",
                    "cangtou", toolkit),
            "ABCD\r\nEFGH\r\n");
}

TEST(ExtractPoems, InnerModesPutTheCharacterBackInPlace) {
  FakeToolkit toolkit;
  const Text page =
      "<li>AB<font style=\"color:red\">C</font>D</li>\n"
      "<li>XY<font style=\"color:red\">Z</font></li>\n";
  EXPECT_EQ(Extract(page, "cangzhong", toolkit), "ABCD\r\nXYZ\r\n");
  EXPECT_EQ(Extract(page, "cangwei", toolkit), "ABCD\r\nXYZ\r\n");
}

TEST(ExtractPoems, CapitalTagsMatch) {
  FakeToolkit toolkit;
  EXPECT_EQ(Extract("<LI><FONT STYLE=\"COLOR:RED\">A</FONT>BCD</LI>", "cangtou", toolkit),
            "ABCD\r\n");
}

TEST(ExtractPoems, EntitiesAndInlineTagsPassThrough) {
  FakeToolkit toolkit;
  EXPECT_EQ(
      Extract("<li>&lt;<b>a</b><font style=\"color:red\">C</font>&amp;</li>", "cangwei", toolkit),
      "&lt;<b>a</b>C&amp;\r\n");
}

TEST(ExtractPoems, ThreeItemsThreeLinesInPageOrder) {
  FakeToolkit toolkit;
  Text page;
  for (const char* c : {"1", "2", "3"}) {
    page += std::string("<li><font style=\"color:red\">") + c + "</font>x</li>\r\n";
  }
  EXPECT_EQ(Extract(page, "cangtou", toolkit), "1x\r\n2x\r\n3x\r\n");
}

TEST(ExtractPoems, PageWithoutPoemsEmptiesTheBox) {
  FakeToolkit toolkit;
  toolkit.edits[kResultEdit] = "old poem\r\n";
  EXPECT_EQ(Extract("<html>error</html>", "cangtou", toolkit), "");
  EXPECT_EQ(toolkit.log, std::vector<std::string>{"edit:" + std::string(kResultEdit)});
}

TEST(ExtractPoems, ItemSpanningALineBreakIsNotFound) {
  FakeToolkit toolkit;
  EXPECT_EQ(Extract("<li><font style=\"color:red\">A</font>B\r\nC</li>", "cangtou", toolkit), "");
}

TEST(ExtractPoems, GbkLinesComeBackAsGbk) {
  FakeToolkit toolkit;
  // <li><font ...>春</font>风</li>
  EXPECT_EQ(
      Extract("<li><font style=\"color:red\">\xB4\xBA</font>\xB7\xE7</li>", "cangtou", toolkit),
      "\xB4\xBA\xB7\xE7\r\n");
}

}  // namespace
}  // namespace miravel
