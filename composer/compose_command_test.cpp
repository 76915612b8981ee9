#include "composer/compose_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "composer/compose_outcome.h"
#include "composer/control_names.h"
#include "composer/gbk_literal.h"
#include "composer/testing/fake_toolkit.h"
#include "composer/testing/stand_in_service.h"
#include "web/exchange_plan.h"

namespace miravel {
namespace {

using testing::StandInService;
using Clock = std::chrono::steady_clock;

class ComposeCommandTest : public ::testing::Test {
 protected:
  void Choose(int form, int place, int rhyme, const Text& characters) {
    toolkit_.combos[kFormCombo].selected = form;
    toolkit_.combos[kPlaceCombo].selected = place;
    toolkit_.combos[kRhymeCombo].selected = rhyme;
    toolkit_.edits[kInputEdit] = characters;
  }
  void Compose() { OnComposeClicked(toolkit_, service_.Url()); }
  std::string LastBody() { return service_.received().back().body; }

  StandInService service_;
  FakeToolkit toolkit_;
};

// What cannot be hidden never reaches the service: the command ends idle,
// the box empty, and the status bar says what to change, never "作诗完毕".
TEST_F(ComposeCommandTest, WhatCannotBeHiddenIsRefusedBeforeAnythingIsSent) {
  const struct {
    Text input;
    const char* says;
  } refused[] = {{"", "请输入要藏的字"}, {"abc", "不是汉字"},       {Gbk("春 江"), "空格"},
                 {Gbk("春?"), "表情"},   {Gbk("春\u3000"), "空格"}, {"\xB4", "残缺"}};
  for (const auto& [input, says] : refused) {
    toolkit_.edits[kResultEdit] = Gbk("旧诗");
    Choose(0, 0, 0, input);
    Compose();
    EXPECT_TRUE(service_.received().empty());
    EXPECT_EQ(toolkit_.edits[kResultEdit], "");
    EXPECT_EQ(toolkit_.buttons[kComposeButton].caption, Gbk("开始作诗"));
    EXPECT_TRUE(toolkit_.buttons[kComposeButton].enabled);
    const Text status = toolkit_.status_parts[kStatusMessagePart];
    EXPECT_NE(status.find(Gbk(says)), Text::npos) << says;
    EXPECT_EQ(status.find(Gbk("作诗完毕")), Text::npos);
  }
}

TEST_F(ComposeCommandTest, BodiesForEachChoice) {
  Choose(1, 1, 2, Gbk("國风"));
  Compose();
  EXPECT_EQ(LastBody(), "xing=%87%F8%B7%E7&gender=7&type_str=&classid=0&num=cangzhong&limit=200");
  Choose(0, 2, 1, Gbk("春风"));
  Compose();
  EXPECT_EQ(LastBody(), "xing=%B4%BA%B7%E7&gender=5&type_str=&classid=0&num=cangwei&limit=200");
}

TEST_F(ComposeCommandTest, HeaderLinesReceived) {
  Choose(0, 0, 0, Gbk("春"));
  Compose();
  const auto headers = service_.received().back().headers;
  std::map<std::string, std::string> by_name(headers.begin(), headers.end());
  EXPECT_EQ(headers.size(), 7u);
  EXPECT_EQ(by_name["User-Agent"], kDefaultAgent);
  EXPECT_EQ(by_name["Referer"], service_.Url());
  EXPECT_EQ(by_name["Accept-Language"], "zh-cn");
  EXPECT_EQ(by_name["Content-Type"], "application/x-www-form-urlencoded");
  EXPECT_EQ(by_name["Content-Length"], std::to_string(LastBody().size()));
  EXPECT_TRUE(by_name["Accept"].starts_with("image/gif, image/bmp"));
  EXPECT_EQ(by_name["Host"], "127.0.0.1:" + std::to_string(service_.port()));
}

TEST_F(ComposeCommandTest, ResultBoxForEachHidingPlace) {
  const Text chars = Gbk("春风");
  for (int place = 0; place < 3; ++place) {
    Choose(0, place, 0, chars);
    Compose();
    const char* num = place == 0 ? "cangtou" : place == 1 ? "cangzhong" : "cangwei";
    // Every line is five characters, the hidden one in its place.
    const Text box = toolkit_.edits[kResultEdit];
    ASSERT_EQ(box.size(), 2 * (10 + 2)) << num;
    const size_t at = place == 0 ? 0 : place == 1 ? 4 : 8;
    EXPECT_EQ(box.substr(at, 2), chars.substr(0, 2)) << num;
    EXPECT_EQ(box.substr(12 + at, 2), chars.substr(2, 2)) << num;
    EXPECT_TRUE(box.ends_with("\r\n"));
  }
}

TEST_F(ComposeCommandTest, BusyThenIdleWithCompletionMessage) {
  Choose(0, 0, 0, Gbk("春"));
  toolkit_.edits[kResultEdit] = "old\r\n";
  Compose();
  EXPECT_EQ(toolkit_.log.front(), "status:1");
  const std::vector<std::string> expected_start = {
      "status:1", "caption:" + std::string(kComposeButton),
      "disable:" + std::string(kComposeButton), "edit:" + std::string(kResultEdit)};
  EXPECT_TRUE(std::equal(expected_start.begin(), expected_start.end(), toolkit_.log.begin()));
  const std::vector<std::string> expected_end = {"caption:" + std::string(kComposeButton),
                                                 "enable:" + std::string(kComposeButton),
                                                 "status:1"};
  EXPECT_TRUE(std::equal(expected_end.rbegin(), expected_end.rend(), toolkit_.log.rbegin()));
  EXPECT_EQ(toolkit_.buttons[kComposeButton].caption, Gbk("开始作诗"));
  EXPECT_TRUE(toolkit_.buttons[kComposeButton].enabled);
  EXPECT_EQ(toolkit_.status_parts[kStatusMessagePart], CompletionMessage());
  EXPECT_TRUE(CompletionMessage().starts_with(Gbk("作诗完毕，")));
}

TEST_F(ComposeCommandTest, BusyStateHoldsWhileTheServiceDelays) {
  service_.set_reply(StandInService::Reply::kDelayed);
  Choose(0, 0, 0, Gbk("春"));
  toolkit_.edits[kResultEdit] = "old\r\n";
  FakeToolkit::Button during;
  Text status_during, result_during;
  std::thread releaser([&] {
    while (service_.received().empty()) std::this_thread::yield();
    toolkit_.pump.Post([&] {
      during = toolkit_.buttons[kComposeButton];
      status_during = toolkit_.status_parts[kStatusMessagePart];
      result_during = toolkit_.edits[kResultEdit];
      service_.Release();
    });
  });
  Compose();
  releaser.join();
  EXPECT_EQ(during.caption, Gbk("作诗中..."));
  EXPECT_FALSE(during.enabled);
  EXPECT_EQ(status_during, Gbk("正在作诗，请稍等......"));
  EXPECT_EQ(result_during, "old\r\n");
  EXPECT_FALSE(toolkit_.edits[kResultEdit].empty());
  EXPECT_NE(toolkit_.edits[kResultEdit], "old\r\n");
}

TEST_F(ComposeCommandTest, PageWithoutPoemsEmptiesTheBoxAndSaysSo) {
  service_.set_reply(StandInService::Reply::kNoPoems);
  Choose(0, 0, 0, Gbk("春"));
  toolkit_.edits[kResultEdit] = "old\r\n";
  Compose();
  EXPECT_EQ(toolkit_.edits[kResultEdit], "");
  EXPECT_EQ(toolkit_.status_parts[kStatusMessagePart], Gbk("作诗服务的回复里没有诗"));
  EXPECT_TRUE(toolkit_.buttons[kComposeButton].enabled);
}

TEST_F(ComposeCommandTest, PoemBehindARedirectReachesTheResultBox) {
  service_.set_reply(StandInService::Reply::kRedirected);
  Choose(0, 0, 0, Gbk("春风"));
  const auto start = Clock::now();
  Compose();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(toolkit_.edits[kResultEdit],
            StandInService::ExpectedLines(Gbk("春风"), "5", "cangtou"));
  EXPECT_EQ(toolkit_.status_parts[kStatusMessagePart], CompletionMessage());
}

TEST_F(ComposeCommandTest, DroppedConnectionEndsIdleWithEmptyBox) {
  service_.set_reply(StandInService::Reply::kDropped);
  Choose(0, 0, 0, Gbk("春"));
  toolkit_.edits[kResultEdit] = "old\r\n";
  Compose();
  EXPECT_EQ(toolkit_.edits[kResultEdit], "");
  EXPECT_EQ(toolkit_.buttons[kComposeButton].caption, Gbk("开始作诗"));
  EXPECT_EQ(toolkit_.status_parts[kStatusMessagePart], Gbk("连不上作诗服务 ") + service_.Address());
}

TEST_F(ComposeCommandTest, NoServiceAtAllEndsIdleWithEmptyBoxAndNamesTheAddress) {
  Choose(0, 0, 0, Gbk("春"));
  toolkit_.edits[kResultEdit] = "old\r\n";
  OnComposeClicked(toolkit_, "http://127.0.0.1:1/qm/cts.php");
  EXPECT_EQ(toolkit_.edits[kResultEdit], "");
  EXPECT_TRUE(toolkit_.buttons[kComposeButton].enabled);
  EXPECT_EQ(toolkit_.status_parts[kStatusMessagePart], Gbk("连不上作诗服务 127.0.0.1:1"));
}

TEST_F(ComposeCommandTest, ClosingTheWindowDuringTheWaitEndsTheCommandUntouched) {
  service_.set_reply(StandInService::Reply::kDelayed);
  Choose(0, 0, 0, Gbk("春"));
  std::thread closer([&] {
    while (service_.received().empty()) std::this_thread::yield();
    toolkit_.pump.Post([&] {
      toolkit_.open = false;
      toolkit_.pump.Interrupt();
    });
  });
  const auto start = Clock::now();
  Compose();
  closer.join();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(toolkit_.log.back(), "disable:" + std::string(kComposeButton));
  service_.Release();
}

}  // namespace
}  // namespace miravel
