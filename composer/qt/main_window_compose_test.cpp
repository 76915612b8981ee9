// The compose command end to end: the real window (offscreen), clicks on its
// buttons, and the stand-in poem service.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <chrono>

#include "composer/compose_command.h"
#include "composer/compose_outcome.h"
#include "composer/control_names.h"
#include "composer/qt/main_window.h"
#include "composer/qt/qt_text.h"
#include "composer/qt/window_testing.h"
#include "composer/testing/stand_in_service.h"

namespace miravel {
namespace {

using testing::StandInService;
using Clock = std::chrono::steady_clock;

class ComposeInWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.show();
    window_.Created();
  }
  QString Status() { return StatusPart(window_, kStatusMessagePart); }
  QPushButton* ComposeButton() { return Child<QPushButton>(window_, kComposeButton); }
  QString Result() { return Child<QTextEdit>(window_, kResultEdit)->toPlainText(); }
  // Runs `during` on the window thread once the service holds the request.
  void WhenRequestArrives(std::function<void()> during) {
    auto* timer = new QTimer(&window_);
    QObject::connect(timer, &QTimer::timeout, &window_, [this, timer, during] {
      if (service_.received().empty()) return;
      timer->stop();
      during();
    });
    timer->start(5);
  }

  StandInService service_;
  MainWindow window_{service_.Url()};
};

TEST_F(ComposeInWindowTest, ClickFillsTheResultBoxAndCopyTakesItWithCrLf) {
  Child<QLineEdit>(window_, kInputEdit)->setText(QString::fromUtf8("春风"));
  Child<QComboBox>(window_, kPlaceCombo)->setCurrentIndex(2);
  ComposeButton()->click();
  ASSERT_EQ(service_.received().size(), 1u);
  EXPECT_EQ(service_.received()[0].body,
            "xing=%B4%BA%B7%E7&gender=5&type_str=&classid=0&num=cangwei&limit=100");
  const QStringList lines = Result().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].endsWith(QString::fromUtf8("春")));
  EXPECT_TRUE(lines[1].endsWith(QString::fromUtf8("风")));
  EXPECT_EQ(ComposeButton()->text(), QString::fromUtf8("开始作诗"));
  EXPECT_TRUE(ComposeButton()->isEnabled());
  EXPECT_EQ(Status(), ToQString(CompletionMessage()));
  Child<QPushButton>(window_, kCopyButton)->click();
  EXPECT_EQ(QApplication::clipboard()->text(), lines[0] + "\r\n" + lines[1] + "\r\n");
}

TEST_F(ComposeInWindowTest, WhatCannotBeHiddenIsRefusedAndNothingIsSent) {
  window_.toolkit().SetEditContent(kResultEdit, "old\r\n");
  for (const char* typed : {"abc", "春 江", "春😀", ""}) {
    Child<QLineEdit>(window_, kInputEdit)->setText(QString::fromUtf8(typed));
    ComposeButton()->click();
    EXPECT_TRUE(service_.received().empty()) << typed;
    EXPECT_EQ(Result(), QString()) << typed;
    EXPECT_EQ(ComposeButton()->text(), QString::fromUtf8("开始作诗"));
    EXPECT_TRUE(ComposeButton()->isEnabled());
    EXPECT_FALSE(Status().contains(QString::fromUtf8("作诗完毕"))) << typed;
    EXPECT_FALSE(Status().contains(QString::fromUtf8("服务"))) << typed;  // not the service's fault
  }
  Child<QLineEdit>(window_, kInputEdit)->setText(QStringLiteral("abc"));
  ComposeButton()->click();
  EXPECT_TRUE(Status().contains(QString::fromUtf8("汉字")));
}

TEST_F(ComposeInWindowTest, WhileTheServiceDelaysTheWindowStaysUsable) {
  service_.set_reply(StandInService::Reply::kDelayed);
  window_.toolkit().SetEditContent(kResultEdit, "old\r\n");
  Child<QLineEdit>(window_, kInputEdit)->setText(QString::fromUtf8("春"));
  bool disabled_during = false;
  QString caption_during, status_during, copied_during, copy_status;
  WhenRequestArrives([&] {
    disabled_during = !ComposeButton()->isEnabled();
    caption_during = ComposeButton()->text();
    status_during = Status();
    ComposeButton()->click();  // a second click starts nothing
    Child<QPushButton>(window_, kCopyButton)->click();
    copied_during = QApplication::clipboard()->text();
    copy_status = Status();
    service_.Release();
  });
  ComposeButton()->click();
  EXPECT_TRUE(disabled_during);
  EXPECT_EQ(caption_during, QString::fromUtf8("作诗中..."));
  EXPECT_EQ(status_during, QString::fromUtf8("正在作诗，请稍等......"));
  EXPECT_EQ(copied_during, QStringLiteral("old\r\n"));
  EXPECT_EQ(copy_status, QString::fromUtf8("复制成功"));
  EXPECT_EQ(service_.received().size(), 1u);
  EXPECT_EQ(Status(), ToQString(CompletionMessage()));
}

TEST_F(ComposeInWindowTest, ClosingTheWindowDuringTheDelayEndsTheCommandPromptly) {
  service_.set_reply(StandInService::Reply::kDelayed);
  Child<QLineEdit>(window_, kInputEdit)->setText(QString::fromUtf8("春"));
  WhenRequestArrives([&] { window_.close(); });
  const auto start = Clock::now();
  ComposeButton()->click();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(ComposeButton()->text(), QString::fromUtf8("作诗中..."));
  service_.Release();
}

TEST_F(ComposeInWindowTest, PageWithoutPoemsLeavesTheBoxEmptyAndSaysSo) {
  service_.set_reply(StandInService::Reply::kNoPoems);
  window_.toolkit().SetEditContent(kResultEdit, "old\r\n");
  Child<QLineEdit>(window_, kInputEdit)->setText(QString::fromUtf8("春"));
  ComposeButton()->click();
  EXPECT_TRUE(Result().isEmpty());
  EXPECT_EQ(Status(), QString::fromUtf8("作诗服务的回复里没有诗"));
}

TEST_F(ComposeInWindowTest, ADeadServiceIsNamedOnTheStatusBar) {
  MainWindow window("http://127.0.0.1:1/qm/cts.php");
  window.show();
  window.Created();
  Child<QLineEdit>(window, kInputEdit)->setText(QString::fromUtf8("春"));
  Child<QPushButton>(window, kComposeButton)->click();
  EXPECT_EQ(StatusPart(window, kStatusMessagePart),
            QString::fromUtf8("连不上作诗服务 127.0.0.1:1"));
}

}  // namespace
}  // namespace miravel
