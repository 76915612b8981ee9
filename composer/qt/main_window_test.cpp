#include "composer/qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>

#include "composer/control_names.h"
#include "composer/gbk_literal.h"
#include "composer/qt/qt_text.h"
#include "composer/qt/tab_control.h"
#include "composer/qt/window_testing.h"
#include "composer/window_handlers.h"

namespace miravel {
namespace {

using namespace std::chrono_literals;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.show();
    window_.Created();
  }
  MainWindow window_{"http://127.0.0.1:9/qm/cts.php"};
};

TEST_F(MainWindowTest, InitialState) {
  EXPECT_EQ(Child<QComboBox>(window_, kFormCombo)->currentText(), QString::fromUtf8("五言绝句"));
  EXPECT_EQ(Child<QComboBox>(window_, kPlaceCombo)->currentText(), QString::fromUtf8("藏头"));
  EXPECT_EQ(Child<QComboBox>(window_, kRhymeCombo)->currentText(), QString::fromUtf8("两句一押"));
  EXPECT_EQ(Child<QComboBox>(window_, kRhymeCombo)->count(), 3);
  EXPECT_EQ(Child<TabControl>(window_, kTabControl)->currentPage(), 0);
  EXPECT_EQ(Child<TabControl>(window_, kTabControl)->pageCaptions(), QStringList{"Miravel"});
  EXPECT_TRUE(Child<QLineEdit>(window_, kInputEdit)->text().isEmpty());
  EXPECT_TRUE(Child<QTextEdit>(window_, kResultEdit)->toPlainText().isEmpty());
  EXPECT_TRUE(Child<QTextEdit>(window_, kResultEdit)->isReadOnly());
  EXPECT_EQ(Child<QPushButton>(window_, kComposeButton)->text(), QString::fromUtf8("开始作诗"));
  EXPECT_EQ(Child<QPushButton>(window_, kCopyButton)->text(), QString::fromUtf8("复制结果"));
}

TEST_F(MainWindowTest, InputBoxTakesLongTexts) {
  const QString long_text(40000, QChar(0x6625));  // 春, beyond a line edit's default limit
  Child<QLineEdit>(window_, kInputEdit)->setText(long_text);
  EXPECT_EQ(Child<QLineEdit>(window_, kInputEdit)->text().size(), 40000);
}

TEST_F(MainWindowTest, ComboBoxesAreNotEditable) {
  for (const char* name : {kFormCombo, kPlaceCombo, kRhymeCombo}) {
    EXPECT_FALSE(Child<QComboBox>(window_, name)->isEditable()) << name;
  }
}

TEST_F(MainWindowTest, ControlsSitWhereDescribed) {
  EXPECT_EQ(Child<QWidget>(window_, kTabControl)->geometry(), QRect(0, 0, 504, 296));
  EXPECT_EQ(Child<QWidget>(window_, kInputEdit)->geometry(), QRect(64, 24, 100, 20));
  EXPECT_EQ(Child<QWidget>(window_, kComposeButton)->geometry(), QRect(328, 24, 80, 20));
  EXPECT_EQ(Child<QWidget>(window_, kResultEdit)->geometry(), QRect(3, 8, 312, 209));
  EXPECT_EQ(Child<QWidget>(window_, kResultEdit)->parentWidget()->objectName(),
            QString::fromUtf8("分组框1"));
  EXPECT_EQ(Child<QWidget>(window_, kCopyButton)->geometry(), QRect(324, 80, 80, 20));
  EXPECT_EQ(Child<QWidget>(window_, kCopyButton)->parentWidget()->objectName(),
            QString::fromUtf8(kTabControl));
}

TEST_F(MainWindowTest, OpensAtItsPlaceAndTheResultBoxGrowsWithALargerWindow) {
  EXPECT_EQ(window_.geometry().size(), QSize(506, 340));
  window_.resize(806, 640);
  QApplication::processEvents();
  EXPECT_EQ(Child<QWidget>(window_, kResultEdit)->geometry(), QRect(3, 8, 312, 509));
  EXPECT_EQ(Child<QWidget>(window_, "分组框1")->geometry(), QRect(8, 72, 400, 520));
  EXPECT_EQ(Child<QWidget>(window_, kTabControl)->geometry(), QRect(0, 0, 804, 596));
  // The other controls keep their places.
  EXPECT_EQ(Child<QWidget>(window_, kInputEdit)->geometry(), QRect(64, 24, 100, 20));
  EXPECT_EQ(Child<QWidget>(window_, kComposeButton)->geometry(), QRect(328, 24, 80, 20));
  EXPECT_EQ(Child<QWidget>(window_, kCopyButton)->geometry(), QRect(324, 80, 80, 20));
  // Smaller again: back to the described sizes, never below.
  window_.resize(300, 200);
  QApplication::processEvents();
  EXPECT_EQ(Child<QWidget>(window_, kResultEdit)->geometry(), QRect(3, 8, 312, 209));
}

TEST_F(MainWindowTest, CaptionIsTheCreditThenTheEnvironment) {
  EXPECT_EQ(FromQString(window_.windowTitle()),
            Gbk("by：miravel.example   Miravel - ") + window_.toolkit().EnvironmentText());
  EXPECT_TRUE(window_.windowTitle().startsWith(QString::fromUtf8("by：")));
  EXPECT_TRUE(window_.windowTitle().contains(QStringLiteral("   Miravel - Qt ")));
}

TEST_F(MainWindowTest, StatusBarParts) {
  EXPECT_EQ(StatusPart(window_, 0), QString::fromUtf8("提示丨"));
  EXPECT_TRUE(StatusPart(window_, 1).isEmpty());
  auto* bar = Child<QStatusBar>(window_, kStatusBar);
  EXPECT_EQ(bar->findChild<QLabel*>(QtToolkit::StatusPartName(0))->width(), 40);
  EXPECT_EQ(bar->findChild<QLabel*>(QtToolkit::StatusPartName(1))->maximumWidth(), 500);
  EXPECT_EQ(window_.width(), 506);
}

TEST_F(MainWindowTest, CopyOfEmptyResult) {
  QApplication::clipboard()->setText(QStringLiteral("stale"));
  Child<QPushButton>(window_, kCopyButton)->click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString());
  EXPECT_EQ(StatusPart(window_, 1), QString::fromUtf8("复制成功"));
  EXPECT_EQ(StatusPart(window_, 0), QString::fromUtf8("提示丨"));
}

TEST_F(MainWindowTest, MultiLineResultKeepsCrLfThroughBoxAndClipboard) {
  const Text lines = Gbk("春眠不觉晓\r\n处处闻啼鸟\r\n");
  window_.toolkit().SetEditContent(kResultEdit, lines);
  EXPECT_EQ(Child<QTextEdit>(window_, kResultEdit)->toPlainText(),
            QString::fromUtf8("春眠不觉晓\n处处闻啼鸟\n"));
  EXPECT_EQ(window_.toolkit().EditContent(kResultEdit), lines);
  Child<QPushButton>(window_, kCopyButton)->click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("春眠不觉晓\r\n处处闻啼鸟\r\n"));
}

TEST_F(MainWindowTest, ResultBoxCentresItsLines) {
  window_.toolkit().SetEditContent(kResultEdit, "a\r\nb\r\n");
  EXPECT_EQ(Child<QTextEdit>(window_, kResultEdit)->document()->defaultTextOption().alignment(),
            Qt::AlignHCenter);
}

TEST_F(MainWindowTest, InputBoxTextGoesInAsGbk) {
  Child<QLineEdit>(window_, kInputEdit)->setText(QString::fromUtf8("春风"));
  EXPECT_EQ(window_.toolkit().EditContent(kInputEdit), Gbk("春风"));
  // A character outside GBK arrives as the code page's default character.
  Child<QLineEdit>(window_, kInputEdit)->setText(QString::fromUtf8("春\U0001F600"));
  EXPECT_EQ(window_.toolkit().EditContent(kInputEdit), Gbk("春") + "?");
}

TEST_F(MainWindowTest, AboutBoxIsModalWithItsTitleAndAChineseButton) {
  QString title;
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      title = box->windowTitle();
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      box->accept();
    }
  });
  window_.menuBar()->actions().front()->menu()->actions().front()->trigger();
  EXPECT_EQ(title, QString::fromUtf8("关于："));
  EXPECT_EQ(buttons, QStringList{QString::fromUtf8("确定")});
}

TEST_F(MainWindowTest, EnterComposesLikeAClickOnlyWhileTheButtonIsEnabled) {
  auto* input = Child<QLineEdit>(window_, kInputEdit);
  auto* button = Child<QPushButton>(window_, kComposeButton);
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  input->setText(QString::fromUtf8("春"));
  button->setEnabled(false);
  emit input->returnPressed();
  EXPECT_EQ(clicks, 0);
  button->setEnabled(true);
  emit input->returnPressed();  // composes against the dead service of this window
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(StatusPart(window_, 1), QString::fromUtf8("连不上作诗服务 127.0.0.1:9"));
}

TEST_F(MainWindowTest, ControlsAreNamedByTheirLabels) {
  EXPECT_EQ(Child<QLineEdit>(window_, kInputEdit)->accessibleName(), QString::fromUtf8("输入汉字"));
  EXPECT_EQ(Child<QComboBox>(window_, kFormCombo)->accessibleName(), QString::fromUtf8("诗歌类型"));
  EXPECT_EQ(Child<QComboBox>(window_, kPlaceCombo)->accessibleName(),
            QString::fromUtf8("隐藏方式"));
  EXPECT_EQ(Child<QComboBox>(window_, kRhymeCombo)->accessibleName(),
            QString::fromUtf8("押韵方式"));
  EXPECT_EQ(Child<QTextEdit>(window_, kResultEdit)->accessibleName(),
            QString::fromUtf8("作诗结果"));
}

TEST_F(MainWindowTest, ClosedWindowIgnoresTheToolkit) {
  window_.close();
  EXPECT_FALSE(window_.toolkit().WindowIsOpen());
  window_.toolkit().SetButtonCaption(kComposeButton, "x");
  EXPECT_EQ(Child<QPushButton>(window_, kComposeButton)->text(), QString::fromUtf8("开始作诗"));
  EXPECT_EQ(window_.toolkit().ComboText(kFormCombo), "");
}

TEST(QtEventPump, TimerEventRunsDuringAWait) {
  QtEventPump pump;
  WorkerSignal signal;
  WorkerSignal timer_ran;
  bool fired = false;
  QTimer::singleShot(10, [&] {
    fired = true;
    timer_ran.Notify();
  });
  // The worker ends only once the window thread has run the timer, which it
  // can do only inside the wait.
  std::thread worker([&] {
    timer_ran.WaitFor(std::chrono::seconds(10));
    signal.Notify();
  });
  EXPECT_EQ(pump.WaitFor(signal, 10s), WaitOutcome::kSignalled);
  worker.join();
  EXPECT_TRUE(fired);
}

TEST(QtEventPump, WaitTimesOutAndInterruptEndsWaits) {
  QtEventPump pump;
  WorkerSignal signal;
  EXPECT_EQ(pump.WaitFor(signal, 20ms), WaitOutcome::kTimedOut);
  QTimer::singleShot(10, [&] { pump.Interrupt(); });
  EXPECT_EQ(pump.WaitFor(signal, 10s), WaitOutcome::kInterrupted);
  EXPECT_EQ(pump.WaitFor(signal, 10s), WaitOutcome::kInterrupted);
}

}  // namespace
}  // namespace miravel
