#include "poemd/tools/convert_options.h"

#include "miravel/version.h"

namespace miravel::poemd {

CommandLine<ConvertOptions> ParseConvertOptions(int argc, const char* const* argv) {
  CLI::App app(
      "Writes text files (the pages' templates, say) in traditional characters, each under its "
      "own name in another folder, by an OpenCC conversion.",
      "miravel-convert-script");
  ConvertOptions options;
  app.add_option("--config", options.config,
                 "OpenCC's conversion from simplified characters (s2t.json, s2twp.json, ...)")
      ->capture_default_str();
  app.add_option("--out", options.out, "the folder to write the converted files to")->required();
  app.add_option("files", options.files, "the files to convert")
      ->required()
      ->check(CLI::ExistingFile);
  app.set_version_flag("--version",
                       std::string("miravel-convert-script ") + MIRAVEL_VERSION_TEXT);
  if (std::optional<CommandLineAnswer> answer = ParseWith(app, argc, argv)) return *answer;
  return options;
}

}  // namespace miravel::poemd
