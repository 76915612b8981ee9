#include "poemd/indexing/unihan_readings.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

using Strings = std::vector<std::string>;

TEST(UnihanReadings, ModernAndHistoricalReadingsOfACharacterAndItsTraditionalForms) {
  const StatusOr<UnihanReadings> readings = UnihanReadings::FromText(
      "# comment\n\n"
      "U+770B\tkDefinition\tlook, see\n"
      "U+770B\tkHanyuPinyin\t42474.030:kàn,kān\n"
      "U+770B\tkMandarin\tkàn\n"
      "U+770B\tkXHC1983\t0632.020:kān 0633.060:kàn\n"
      "U+9577\tkHanyuPinyin\t64050.010:cháng,zhǎng,zhàng\n"
      "U+957F\tkTGHZ2013\t038.110:cháng 466.110:zhǎng\n"
      "U+20000\tkMandarin\thē\n");
  ASSERT_TRUE(readings.ok()) << readings.status().ToString();
  const DictionaryReadings look = readings->OfSimplified(u'看');
  EXPECT_EQ(look.modern, (Strings{"kàn", "kān"}));
  EXPECT_TRUE(look.historical.empty());  // all of them modern too
  // 长 takes what 長 has besides its own.
  const DictionaryReadings long_ = readings->OfSimplified(u'长');
  EXPECT_EQ(long_.modern, (Strings{"cháng", "zhǎng"}));
  EXPECT_EQ(long_.historical, (Strings{"zhàng"}));
  EXPECT_TRUE(readings->OfSimplified(u'山').modern.empty());
  EXPECT_EQ(readings->CharacterCount(), 3u);  // none beyond the basic plane
}

TEST(UnihanReadings, RefusesWhatIsNoReadingsFile) {
  EXPECT_EQ(UnihanReadings::FromText("U+770B kMandarin kàn\n").status().code(),
            StatusCode::kCorruption);
  EXPECT_EQ(UnihanReadings::FromText("U+ZZZZ\tkMandarin\tkàn\n").status().code(),
            StatusCode::kCorruption);
  EXPECT_EQ(UnihanReadings::FromText("# nothing\n").status().code(), StatusCode::kCorruption);
  EXPECT_EQ(UnihanReadings::FromFile("/nonexistent/unihan.txt").status().code(),
            StatusCode::kNotFound);
}

}  // namespace
}  // namespace miravel::poemd
