// What miravel-convert-script's command line asks for (--help).
#pragma once

#include <string>
#include <vector>

#include "poemd/tools/command_line.h"

namespace miravel::poemd {

struct ConvertOptions {
  std::string config = "s2t.json";  // OpenCC's conversion
  std::string out;                  // the folder the converted files go to
  std::vector<std::string> files;   // UTF-8 text files to convert
};

// --out and at least one existing file are required.
CommandLine<ConvertOptions> ParseConvertOptions(int argc, const char* const* argv);

}  // namespace miravel::poemd
