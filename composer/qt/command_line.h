// The client's command line as its manual gives it: --service URL,
// --echo-status, --help, --version, and Qt's own options (-platform,
// -style, ...), which go on to Qt. Anything else is a bad option.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace miravel {

struct CommandLine {
  std::optional<std::string> service;
  bool echo_status = false;
  // The program's name and Qt's options with their values, in order: the
  // arguments for QApplication.
  std::vector<std::string> qt_arguments;
  // Whether -platform names Qt's platform plugin (which then needs no display).
  bool platform_named = false;
};

// Parses argv. Returns the command line, or else the exit status the
// program ends with at once, its message written: 0 after --help or
// --version (to standard output), 2 for a bad option or a missing value
// (to standard error).
struct ParsedCommandLine {
  std::optional<CommandLine> command_line;
  int exit_status = 0;
};
ParsedCommandLine ParseCommandLine(int argc, const char* const argv[]);

}  // namespace miravel
