// What miravel-poemd-measure's command line asks for (--help).
#pragma once

#include <string>
#include <vector>

#include "poemd/compose/compose_options.h"
#include "poemd/tools/command_line.h"
#include "poemd/verse/rhyme_books.h"

namespace miravel::poemd {

struct MeasureOptions {
  std::string index;      // the index to compose from
  int requests = 1000;    // random four-character requests per mode
  bool everyday = false;  // the everyday requests instead
  std::vector<RhymeBook> books{RhymeBook::kPingshui, RhymeBook::kXinyun, RhymeBook::kBoth};
  std::string poetry;               // the chinese-poetry package: coherence, real quatrains
  std::string classical, readings;  // to read the real quatrains
  bool discriminate = false, explain = false;
  std::string service;  // HOST:PORT of a running service to ask instead
  int show = 0, show_broken = 0;
  int blind_pairs = 0;  // pairs per length and place for a blind reading
  // The weights and sizes to compose with (--weight, --size), and whether
  // to print what each scoring term gave the poems (--terms).
  ComposeOptions tuning;
  bool terms = false;
};

// --index is required; --rhyme-book is pingshui, xinyun, both or all.
CommandLine<MeasureOptions> ParseMeasureOptions(int argc, const char* const* argv);

}  // namespace miravel::poemd
