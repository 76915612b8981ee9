#include "composer/qt/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "composer/service_address.h"
#include "miravel/version.h"

namespace miravel {
namespace {

// Qt's options (QGuiApplication, QApplication and the X11 platform), which
// Qt takes with one dash or two; those here take a value, as the next
// argument or after "=".
constexpr auto kQtWithValue = std::to_array<std::string_view>(
    {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
     "qwindowtitle", "session", "display", "geometry", "style", "stylesheet", "name", "title",
     "visual", "qmljsdebugger", "dialogs", "fontengine"});
constexpr auto kQtFlags =
    std::to_array<std::string_view>({"reverse", "widgetcount", "nograb", "dograb", "sync"});

enum class QtOption { kNone, kFlag, kWithValue, kWithValueAttached };

std::string_view QtOptionName(std::string_view argument) {
  if (argument.size() < 2 || argument[0] != '-') return {};
  argument.remove_prefix(argument[1] == '-' ? 2 : 1);
  return argument.substr(0, argument.find('='));
}

QtOption ClassifyQtOption(std::string_view argument) {
  const std::string_view name = QtOptionName(argument);
  const bool attached = argument.find('=') != std::string_view::npos;
  const auto listed = [name](const auto& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  if (listed(kQtWithValue)) {
    return attached ? QtOption::kWithValueAttached : QtOption::kWithValue;
  }
  if (listed(kQtFlags)) return QtOption::kFlag;
  return QtOption::kNone;
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const argv[]) {
  CommandLine line;
  line.qt_arguments.push_back(argc > 0 ? argv[0] : "miravel");
  // Ours in reverse, as CLI11 takes them.
  std::vector<std::string> ours;
  for (int k = 1; k < argc; ++k) {
    const std::string_view argument = argv[k];
    const QtOption qt = ClassifyQtOption(argument);
    if (qt == QtOption::kNone) {
      ours.emplace_back(argument);
      // --service's value goes with it, whatever it looks like.
      if (argument == "--service" && k + 1 < argc) ours.emplace_back(argv[++k]);
      continue;
    }
    line.qt_arguments.emplace_back(argument);
    if (QtOptionName(argument) == "platform") line.platform_named = true;
    if (qt == QtOption::kWithValue && k + 1 < argc) line.qt_arguments.emplace_back(argv[++k]);
  }
  std::reverse(ours.begin(), ours.end());

  CLI::App cli(
      "Miravel composes Chinese acrostic poems (藏头诗): type the characters to hide, choose the "
      "form, where they sit and the rhyme, and press 开始作诗. Qt's own options (-platform, "
      "-style, ...) go on to Qt.",
      "miravel");
  cli.add_option("--service", line.service,
                 std::string("URL of the poem service, or its host[:port] (default: $") +
                     kServiceUrlVariable + ", else " + DefaultServiceUrl() + ")");
  cli.add_flag("--echo-status", line.echo_status,
               "also write every status bar message to standard error");
  cli.set_version_flag("--version", std::string("miravel ") + MIRAVEL_VERSION_TEXT);
  try {
    cli.parse(ours);
  } catch (const CLI::ParseError& e) {
    const int code = cli.exit(e);
    return {std::nullopt, code == 0 ? 0 : 2};
  }
  if (line.service && line.service->empty()) {
    std::fprintf(
        stderr,
        "--service: the poem service's address is empty\nRun with --help for more information.\n");
    return {std::nullopt, 2};
  }
  return {std::move(line), 0};
}

}  // namespace miravel
