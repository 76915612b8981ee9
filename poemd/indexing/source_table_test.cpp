// The source poems the index keeps, through the builder and the index: the
// whole poem of every line, where the line stands in it, and the poem in
// the poets' own characters.
#include <gtest/gtest.h>

#include "poemd/index/corpus_index.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/indexing/line_splitter.h"
#include "poemd/indexing/traditional_converter.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

PoemText Poem(std::string title, std::string author, std::vector<std::string> paragraphs,
              Collection collection = Collection::kTangSongShi) {
  return {std::move(title), std::move(author), Dynasty::kTang, collection, std::move(paragraphs)};
}

uint32_t Find(const CorpusIndex& index, std::u16string_view text) {
  const int length = static_cast<int>(text.size());
  for (uint32_t line = 0; line < index.LineCount(length); ++line) {
    if (index.Text(length, line) == text) return line;
  }
  ADD_FAILURE() << "no line " << Utf16ToUtf8(text);
  return 0;
}

const TraditionalConverter& Converter() {
  static const TraditionalConverter converter = *TraditionalConverter::Open();
  return converter;
}

TEST(SourceTable, ALineOfACiOpensItsWholePoemAtItsPlace) {
  const std::vector<std::string> ci = {"明月幾時有？把酒問青天。不知天上宮闕，今夕是何年。",
                                       "我欲乘風歸去，又恐瓊樓玉宇，高處不勝寒。"};
  CorpusIndexBuilder builder;
  builder.AddPoem(Poem("水調歌頭", "蘇軾", ci, Collection::kCi));
  const CorpusIndex index = builder.Build();
  const uint32_t line = Find(index, u"今夕是何年");
  const LineSource source = index.Source(5, line);
  EXPECT_EQ(source.title, "水调歌头");
  EXPECT_EQ(source.traditional_title, "水調歌頭");
  EXPECT_EQ(source.traditional_author, "蘇軾");
  // Every line, those of six and four characters too, as the corpus has them.
  const std::u16string_view whole = index.Poems().Text(source.poem);
  EXPECT_EQ(whole, JoinedText(ci));
  EXPECT_EQ(whole.substr(index.WrittenAt(5, line), 5), u"今夕是何年");
  EXPECT_NE(index.Poems().Simplified(source.poem).find(u"不知天上宫阙"), std::u16string::npos);
}

TEST(SourceTable, TraditionalLinesAreThePoetsOwnNotAConversionBack) {
  IndexBuildOptions options;
  options.traditional = &Converter();
  CorpusIndexBuilder builder(options);
  // 李白 writes 箇, which a conversion of 个 would make 個.
  builder.AddPoem(Poem("秋浦歌", "李白", {"白髮三千丈，緣愁似箇長。"}));
  // A poem the corpus keeps in simplified characters only: converted once.
  builder.AddPoem(Poem("词", "无名", {"风吹头发乱，雨打落花红。"}, Collection::kCi));
  const CorpusIndex index = builder.Build();

  const uint32_t own = Find(index, u"缘愁似个长");
  EXPECT_EQ(index.Written(5, own), u"緣愁似箇長");
  ASSERT_NE(Converter().Convert(u"缘愁似个长"), u"緣愁似箇長");  // what a conversion would give
  EXPECT_EQ(index.Written(5, Find(index, u"白发三千丈")), u"白髮三千丈");

  const uint32_t converted = Find(index, u"风吹头发乱");
  EXPECT_EQ(index.Written(5, converted), u"風吹頭髮亂");
  const LineSource source = index.Source(5, converted);
  EXPECT_EQ(index.Poems().Text(source.poem), u"风吹头发乱，雨打落花红。");
  EXPECT_EQ(index.Poems().Traditional(source.poem), u"風吹頭髮亂，雨打落花紅。");
  EXPECT_EQ(source.traditional_author, "無名");
  EXPECT_EQ(source.traditional_title, "詞");
}

TEST(SourceTable, PoemsOfOneTitleEachKeepTheirOwnText) {
  CorpusIndexBuilder builder;
  builder.AddPoem(Poem("春日", "甲", {"春来山色好，风起白云长。"}));
  builder.AddPoem(Poem("春日", "甲", {"花落江南水，月明孤客船。"}));
  const CorpusIndex index = builder.Build();
  const LineSource first = index.Source(5, Find(index, u"风起白云长"));
  const LineSource second = index.Source(5, Find(index, u"月明孤客船"));
  EXPECT_EQ(first.title, second.title);
  EXPECT_NE(first.poem, second.poem);
  EXPECT_EQ(index.Poems().Text(second.poem), u"花落江南水，月明孤客船。");
}

TEST(SourceTable, ALineInManyPoemsOpensTheOneItIsCitedFrom) {
  CorpusIndexBuilder builder;
  builder.AddPoem(Poem("戏", "甲", {"白日依山尽，高台望远舟。"}, Collection::kDrama));
  builder.AddPoem(Poem("登楼", "乙", {"远望千山外，白日依山尽。"}));
  const CorpusIndex index = builder.Build();
  const uint32_t line = Find(index, u"白日依山尽");
  const LineSource source = index.Source(5, line);
  EXPECT_EQ(source.title, "登楼");
  EXPECT_EQ(index.Poems().Text(source.poem).substr(index.WrittenAt(5, line), 5), u"白日依山尽");
}

}  // namespace
}  // namespace miravel::poemd
