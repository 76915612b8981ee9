#include "composer/qt/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace miravel {
namespace {

ParsedCommandLine Parse(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "miravel");
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  ParsedCommandLine parsed = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  return parsed;
}

using Arguments = std::vector<std::string>;

TEST(ParseCommandLine, OursAreTakenAndQtsGoOnToQtInOrder) {
  const ParsedCommandLine parsed =
      Parse({"-platform", "offscreen", "--service", "127.0.0.1:8080", "--style=fusion",
             "--echo-status", "-reverse", "--qwindowtitle", "诗"});
  ASSERT_TRUE(parsed.command_line);
  EXPECT_EQ(parsed.command_line->service, "127.0.0.1:8080");
  EXPECT_TRUE(parsed.command_line->echo_status);
  EXPECT_EQ(parsed.command_line->qt_arguments,
            (Arguments{"miravel", "-platform", "offscreen", "--style=fusion", "-reverse",
                       "--qwindowtitle", "诗"}));
  EXPECT_TRUE(parsed.command_line->platform_named);
  const ParsedCommandLine bare = Parse({});
  ASSERT_TRUE(bare.command_line);
  EXPECT_FALSE(bare.command_line->service);
  EXPECT_EQ(bare.command_line->qt_arguments, Arguments{"miravel"});
  EXPECT_FALSE(bare.command_line->platform_named);
}

TEST(ParseCommandLine, BadOptionsAndMissingValuesEndWithStatus2) {
  for (const Arguments& bad :
       {Arguments{"--bogus"}, Arguments{"--service"}, Arguments{"--service="}, Arguments{"stray"},
        Arguments{"-platform", "offscreen", "--echo-status=maybe"}, Arguments{"--services", "x"}}) {
    const ParsedCommandLine parsed = Parse(bad);
    EXPECT_FALSE(parsed.command_line) << bad[0];
    EXPECT_EQ(parsed.exit_status, 2) << bad[0];
  }
}

TEST(ParseCommandLine, HelpAndVersionEndWithStatus0) {
  for (const char* asked : {"--help", "-h", "--version"}) {
    const ParsedCommandLine parsed = Parse({asked});
    EXPECT_FALSE(parsed.command_line) << asked;
    EXPECT_EQ(parsed.exit_status, 0) << asked;
  }
}

// The service's address may look like an option; it is still the value.
TEST(ParseCommandLine, TheServiceValueIsTakenWhateverItLooksLike) {
  const ParsedCommandLine parsed = Parse({"--service", "-style"});
  ASSERT_TRUE(parsed.command_line);
  EXPECT_EQ(parsed.command_line->service, "-style");
  EXPECT_EQ(parsed.command_line->qt_arguments, Arguments{"miravel"});
}

}  // namespace
}  // namespace miravel
