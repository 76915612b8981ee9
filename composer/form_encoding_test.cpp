#include "composer/form_encoding.h"

#include <gtest/gtest.h>

#include "common/headless_event_pump.h"

namespace miravel {
namespace {

// Counts the times the encoder lets events run.
class CountingPump final : public EventPump {
 public:
  void ProcessPendingEvents() override { ++processed; }
  WaitOutcome WaitFor(WorkerSignal&, std::chrono::milliseconds) override {
    return WaitOutcome::kTimedOut;
  }
  int processed = 0;
};

TEST(EncodeFormValue, EveryByteEscapedByDefault) {
  CountingPump pump;
  EXPECT_EQ(EncodeFormValue("", pump), "");
  EXPECT_EQ(EncodeFormValue("A1", pump), "%41%31");
  EXPECT_EQ(EncodeFormValue("a b_~*", pump), "%61%20%62%5F%7E%2A");
  EXPECT_EQ(EncodeFormValue("\xD6\xD0", pump), "%D6%D0");  // 中: one escape per byte
}

TEST(EncodeFormValue, BytesBelowSixteenGetALeadingZero) {
  CountingPump pump;
  EXPECT_EQ(EncodeFormValue(std::string("\t\x01\0", 3), pump), "%09%01%00");
  EXPECT_EQ(EncodeFormValue("\x0F\x10\xFF", pump), "%0F%10%FF");
}

TEST(EncodeFormValue, PassThroughKeepsExactlyItsClasses) {
  CountingPump pump;
  EXPECT_EQ(EncodeFormValue("A1", pump, true), "A1");
  EXPECT_EQ(EncodeFormValue(",-./09AZaz", pump, true), ",-./09AZaz");
  // Just outside each class: '+' 0x2B, ':' 0x3A, '@' 0x40, '[' 0x5B, '`' 0x60, '{' 0x7B.
  EXPECT_EQ(EncodeFormValue("+:@[`{", pump, true), "%2B%3A%40%5B%60%7B");
  EXPECT_EQ(EncodeFormValue(" _", pump, true), "%20%5F");
}

TEST(EncodeFormValue, TrailByteLetterPassesThroughButDecodesTheSame) {
  CountingPump pump;
  EXPECT_EQ(EncodeFormValue("\x81\x41", pump, true), "%81A");  // 丂
  EXPECT_EQ(EncodeFormValue("\x81\x41", pump), "%81%41");
}

TEST(EncodeFormValue, EventsRunAfterEachByte) {
  CountingPump pump;
  EncodeFormValue("\xD6\xD0xyz", pump);
  EXPECT_EQ(pump.processed, 5);
}

TEST(EncodeFormValue, HandlerChangingTheInputMidwayDoesNotDisturbIt) {
  HeadlessEventPump pump;
  Text input = "abc";
  pump.Post([&] { input = "zzzzzz"; });
  EXPECT_EQ(EncodeFormValue(input, pump), "%61%62%63");
}

}  // namespace
}  // namespace miravel
