#include "poemd/tools/command_line.h"

#include <cstdio>
#include <sstream>

namespace miravel::poemd {

std::optional<CommandLineAnswer> ParseWith(CLI::App& app, int argc, const char* const* argv) {
  try {
    app.parse(argc, argv);
    return std::nullopt;
  } catch (const CLI::ParseError& error) {
    std::ostringstream out, err;
    const int code = app.exit(error, out, err);
    return CommandLineAnswer{code, code == 0 ? out.str() : err.str()};
  }
}

int Give(const CommandLineAnswer& answer) {
  std::fputs(answer.text.c_str(), answer.exit_code == 0 ? stdout : stderr);
  return answer.exit_code;
}

}  // namespace miravel::poemd
