// What miravel-poemd-index's command line asks for (--help).
#pragma once

#include <string>

#include "poemd/tools/command_line.h"

namespace miravel::poemd {

struct IndexOptions {
  std::string poetry;     // the chinese-poetry package's folder
  std::string out;        // the index file to write
  std::string readings;   // the word pronunciation dictionary; may be empty
  std::string classical;  // the 广韵 readings; may be empty
  std::string unihan;     // the Unicode Han Database's readings; may be empty
  bool measure_split = false;
};

// --poetry (an existing folder) and --out are required; the readings, when
// given, must be existing files.
CommandLine<IndexOptions> ParseIndexOptions(int argc, const char* const* argv);

}  // namespace miravel::poemd
