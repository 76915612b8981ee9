#include "poemd/indexing/traditional_converter.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

TEST(TraditionalConverter, PoemsCharacterForCharacterAndPagesWhole) {
  const StatusOr<TraditionalConverter> s2t = TraditionalConverter::Open();
  ASSERT_TRUE(s2t.ok()) << s2t.status().ToString();
  EXPECT_EQ(s2t->Convert(u"头发乱，国破山河在"), u"頭髮亂，國破山河在");
  // Markup and placeholders stay; the words are converted.
  EXPECT_EQ(*s2t->ConvertUtf8("<button title=\"{{name}}\">换一首</button> 复制全诗"),
            "<button title=\"{{name}}\">換一首</button> 複製全詩");
  EXPECT_EQ(TraditionalConverter::Open("no-such-conversion.json").status().code(),
            StatusCode::kNotFound);
}

}  // namespace
}  // namespace miravel::poemd
