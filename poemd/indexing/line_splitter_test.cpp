#include "poemd/indexing/line_splitter.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

std::vector<std::u16string> Lines(const std::vector<SplitPiece>& pieces) {
  std::vector<std::u16string> lines;
  for (const SplitPiece& piece : pieces) {
    if (!piece.line.empty()) lines.push_back(piece.line);
  }
  return lines;
}

TEST(LineSplitter, LinesAreSimplifiedAndKeepWhatWasWritten) {
  LineSplitter splitter;
  const std::vector<SplitPiece> pieces = splitter.Split({"國破山河在，城春草木深。"});
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].line, u"国破山河在");
  EXPECT_EQ(pieces[0].written, u"國破山河在");
  EXPECT_EQ(splitter.Pieces({"春风，□风吹花落。"}), (std::vector<std::u16string>{u"", u""}));
}

TEST(LineSplitter, NotesInBracketsNeverBecomeLinesEvenAcrossParagraphs) {
  LineSplitter splitter;
  LeftOut left_out;
  const std::vector<SplitPiece> pieces = splitter.Split(
      {"北闕辭天子，南山隱薜蘿。", "（見《吟窗雜錄》引）（按：此句疑為誤，一作：春風又綠江",
       "）。江上數峰青。", "【此詩存疑也】"},
      &left_out);
  EXPECT_EQ(Lines(pieces),
            (std::vector<std::u16string>{u"北阙辞天子", u"南山隐薜萝", u"江上数峰青"}));
  EXPECT_EQ(left_out.in_brackets, 3u);  // 此句疑為誤, 春風又綠江, 此詩存疑也
}

TEST(LineSplitter, QuotedVerseStaysQuotedProseGoes) {
  LineSplitter splitter;
  LeftOut left_out;
  const std::vector<SplitPiece> verse =
      splitter.Split({"女兒問曰：「君家何處住，妾住在橫塘。」"}, &left_out);
  EXPECT_EQ(Lines(verse), (std::vector<std::u16string>{u"君家何处住", u"妾住在横塘"}));
  const std::vector<SplitPiece> prose =
      splitter.Split({"春來花滿枝，「引靈照語云，此寺名甚麼，其僧不知名額」。"}, &left_out);
  EXPECT_EQ(Lines(prose), std::vector<std::u16string>{u"春来花满枝"});
  EXPECT_EQ(left_out.in_prose_quotes, 2u);  // 引灵照语云, 此寺名甚么
  EXPECT_EQ(left_out.in_brackets, 0u);
}

}  // namespace
}  // namespace miravel::poemd
