#include "poemd/tools/measure_options.h"

#include <cstdlib>

#include "miravel/version.h"

namespace miravel::poemd {
namespace {

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

}  // namespace

CommandLine<MeasureOptions> ParseMeasureOptions(int argc, const char* const* argv) {
  CLI::App app("Measures the poems miravel-poemd composes from an index.", "miravel-poemd-measure");
  MeasureOptions options;
  std::string books = "all";
  app.add_option("--index", options.index, "the index to compose from")->required();
  app.add_option("--requests", options.requests, "random four-character requests per mode");
  app.add_flag("--everyday", options.everyday,
               "the everyday requests (blessings, seasons, names) instead");
  app.add_option("--rhyme-book", books, "pingshui, xinyun, both, or all of them")
      ->check(CLI::IsMember({"pingshui", "xinyun", "both", "all"}))
      ->capture_default_str();
  app.add_option("--poetry", options.poetry,
                 "the chinese-poetry package: coherence and the real quatrains (index built with "
                 "--measure-split)");
  app.add_option("--classical", options.classical,
                 "the 广韵 readings (guangyun_readings.js), to read the real quatrains")
      ->check(CLI::ExistingFile);
  app.add_option("--readings", options.readings,
                 "the word pronunciation dictionary, to read the real quatrains")
      ->check(CLI::ExistingFile);
  app.add_flag("--discriminate", options.discriminate,
               "train and test a judge of real against composed poems (needs --poetry)");
  app.add_flag("--explain", options.explain, "with --discriminate: what gives the poems away");
  app.add_option("--service", options.service,
                 "HOST:PORT of a running miravel-poemd to ask instead");
  app.add_option("--show", options.show, "print this many poems of each mode");
  app.add_option("--blind-pairs", options.blind_pairs,
                 "with --poetry: print this many pairs (a held-out real quatrain, the poem "
                 "composed for its hidden characters) per length, head and middle, in the first "
                 "book, for a blind reading, and do nothing else");
  app.add_option("--show-broken", options.show_broken,
                 "print this many poems of each mode that break the rhyme or the template (in "
                 "both books, either rhyme), with their tones");
  std::vector<std::string> weights, sizes;
  app.add_option("--weight", weights,
                 "NAME=VALUE: compose with this weight of a scoring term (repeatable)");
  app.add_option("--size", sizes,
                 "NAME=COUNT: compose looking this widely (repeatable): scanned, shortlisted, "
                 "candidates, forms, beam, ...");
  app.add_flag("--terms", options.terms,
               "print each mode's mean share of each scoring term (and each shown poem's)");
  app.set_version_flag("--version", std::string("miravel-poemd-measure ") + MIRAVEL_VERSION_TEXT);
  if (std::optional<CommandLineAnswer> answer = ParseWith(app, argc, argv)) return *answer;
  // NAME=VALUE pairs, each name one the setter knows.
  for (const std::string& weight : weights) {
    const size_t equals = weight.find('=');
    char* end = nullptr;
    const float value =
        equals == std::string::npos ? 0 : std::strtof(weight.c_str() + equals + 1, &end);
    if (equals == std::string::npos || end == weight.c_str() + equals + 1 || *end != '\0' ||
        !SetWeight(options.tuning.weights, std::string_view(weight).substr(0, equals), value)) {
      return CommandLineAnswer{2, "--weight " + weight + ": not NAME=VALUE with a NAME of " +
                                      Joined(WeightNames()) + "\n"};
    }
  }
  for (const std::string& size : sizes) {
    const size_t equals = size.find('=');
    char* end = nullptr;
    const unsigned long value =
        equals == std::string::npos ? 0 : std::strtoul(size.c_str() + equals + 1, &end, 10);
    if (equals == std::string::npos || end == size.c_str() + equals + 1 || *end != '\0' ||
        !SetSize(options.tuning.sizes, std::string_view(size).substr(0, equals), value)) {
      return CommandLineAnswer{2, "--size " + size +
                                      ": not NAME=COUNT (at least 1) with a NAME of " +
                                      Joined(SizeNames()) + "\n"};
    }
  }
  if (books != "all") options.books = {*RhymeBookFromKey(books)};
  // A service composes in the one book it serves.
  if (!options.service.empty()) options.books = {RhymeBook::kBoth};
  return options;
}

}  // namespace miravel::poemd
