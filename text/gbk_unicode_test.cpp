// GBK read strictly, character by character, as the client's route reads
// what it is sent.
#include "text/gbk_unicode.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(GbkCharacters, EachCharacterOnceAsciiAndControlsIncluded) {
  EXPECT_EQ(GbkCharacters("\xB4\xBA"
                          "a\n\xB9\xFA"),
            u"春a\n国");
  EXPECT_EQ(GbkCharacters(""), u"");
}

TEST(GbkCharacters, BytesThatAreNoCharacterAreRefused) {
  for (const std::string_view broken :
       {"\xB4", "\xB4\xBA\xB4", "\xB4\x20", "\xB4\x7F", "\x80\x40", "\xFF\xFF", "\x81\xFF"}) {
    EXPECT_FALSE(GbkCharacters(broken).has_value()) << broken.size();
  }
}

}  // namespace
}  // namespace miravel
