#include "composer/window_handlers.h"

#include <gtest/gtest.h>

#include "composer/control_names.h"
#include "composer/gbk_literal.h"
#include "composer/testing/fake_toolkit.h"
#include "miravel/version.h"

namespace miravel {
namespace {

TEST(OnMainWindowCreated, SelectsFirstPageAndItemsAndExtendsCaption) {
  FakeToolkit toolkit;
  OnMainWindowCreated(toolkit);
  EXPECT_EQ(toolkit.tab_page, 0);
  EXPECT_EQ(toolkit.ComboText(kFormCombo), Gbk("五言绝句"));
  EXPECT_EQ(toolkit.ComboText(kPlaceCombo), Gbk("藏头"));
  EXPECT_EQ(toolkit.ComboText(kRhymeCombo), Gbk("两句一押"));
  EXPECT_EQ(toolkit.caption, Gbk("by：miravel.example   Miravel - Fake 1.0"));
  EXPECT_EQ(toolkit.log,
            (std::vector<std::string>{"tab", "select:" + std::string(kFormCombo),
                                      "select:" + std::string(kPlaceCombo),
                                      "select:" + std::string(kRhymeCombo), "window caption"}));
}

TEST(OnCopyResultClicked, EmptyBoxStillCopiesAndSaysSo) {
  FakeToolkit toolkit;
  OnCopyResultClicked(toolkit);
  EXPECT_TRUE(toolkit.clipboard_written);
  EXPECT_EQ(toolkit.clipboard, "");
  EXPECT_EQ(toolkit.status_parts[kStatusMessagePart], Gbk("复制成功"));
  EXPECT_EQ(toolkit.status_parts[kStatusLabelPart], Gbk("提示丨"));
}

TEST(OnCopyResultClicked, CopiesLinesWithTheirBreaks) {
  FakeToolkit toolkit;
  toolkit.edits[kResultEdit] = Gbk("春眠不觉晓\r\n处处闻啼鸟\r\n");
  OnCopyResultClicked(toolkit);
  EXPECT_EQ(toolkit.clipboard, Gbk("春眠不觉晓\r\n处处闻啼鸟\r\n"));
}

TEST(OnAboutSelected, ModalBoxWithCreditVersionLicenceAndCorpus) {
  FakeToolkit toolkit;
  OnAboutSelected(toolkit);
  ASSERT_EQ(toolkit.message_boxes.size(), 1u);
  EXPECT_EQ(toolkit.message_boxes[0].title, Gbk("关于："));
  EXPECT_EQ(toolkit.message_boxes[0].style, kMessageBoxOk);
  const Text& body = toolkit.message_boxes[0].body;
  EXPECT_TRUE(body.starts_with(Gbk("作者：")));
  EXPECT_NE(FindText(body, "\r\n  "), kAbsent);
  EXPECT_NE(FindText(body, Gbk("版本：") + MIRAVEL_VERSION_TEXT), kAbsent);
  EXPECT_NE(FindText(body, Gbk("许可：MIT")), kAbsent);
  EXPECT_NE(FindText(body, "chinese-poetry"), kAbsent);
}

TEST(Version, ProgramCarriesItsVersionAndProductName) {
  EXPECT_STREQ(MIRAVEL_VERSION_TEXT, "1.1.0.0");
  EXPECT_STREQ(MIRAVEL_PRODUCT_NAME, "Miravel");
}

}  // namespace
}  // namespace miravel
