#include "common/list_items.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(ListItemTexts, TagsInsideItemsAreTakenOut) {
  const std::string page =
      "<ul>\n<li>\xB4\xBA<font style=\"color:red\">\xB7\xE7</font>x</li>\n"
      "<li><em>a</em>b</li></ul><p>not an item</p>";
  EXPECT_EQ(ListItemTexts(page), (std::vector<std::string>{"\xB4\xBA\xB7\xE7x", "ab"}));
}

TEST(ListItemTexts, AnUnclosedItemEndsTheList) {
  EXPECT_EQ(ListItemTexts("<li>one</li><li>two"), std::vector<std::string>{"one"});
  EXPECT_TRUE(ListItemTexts("no list").empty());
  EXPECT_EQ(ListItemTexts("<li></li>"), std::vector<std::string>{""});
}

}  // namespace
}  // namespace miravel
