#include "poemd/tools/index_options.h"

#include "miravel/version.h"

namespace miravel::poemd {

CommandLine<IndexOptions> ParseIndexOptions(int argc, const char* const* argv) {
  CLI::App app("Builds the poem index of miravel-poemd from the chinese-poetry data package.",
               "miravel-poemd-index");
  IndexOptions options;
  app.add_option("--poetry", options.poetry, "the package's folder (node_modules/chinese-poetry)")
      ->required()
      ->check(CLI::ExistingDirectory);
  app.add_option("--out", options.out, "the index file to write")->required();
  app.add_option("--readings", options.readings,
                 "the word pronunciation dictionary (@pinyin-pro/data json/complete.json); "
                 "without it polyphones take their commonest reading")
      ->check(CLI::ExistingFile);
  app.add_option("--classical", options.classical,
                 "the 广韵 readings (guangyun_readings.js writes them from tshet-uinh); without "
                 "them the modern reading stands in for the classical one")
      ->check(CLI::ExistingFile);
  app.add_option("--unihan", options.unihan,
                 "the readings of the Unicode Han Database (Unihan_Readings.txt, from Debian's "
                 "unicode-data); without them a polyphone's readings are those of the words")
      ->check(CLI::ExistingFile);
  app.add_flag("--measure-split", options.measure_split,
               "index only the three quarters of the corpus that miravel-poemd-measure does not "
               "judge with, without the held-out quatrains");
  app.set_version_flag("--version", std::string("miravel-poemd-index ") + MIRAVEL_VERSION_TEXT);
  if (std::optional<CommandLineAnswer> answer = ParseWith(app, argc, argv)) return *answer;
  return options;
}

}  // namespace miravel::poemd
