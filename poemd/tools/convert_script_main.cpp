// miravel-convert-script: writes text files in traditional characters, for
// the build (cmake/traditional_files.cmake), so that a page's own words are
// written once, in simplified characters, and converted.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "poemd/indexing/file_contents.h"
#include "poemd/indexing/traditional_converter.h"
#include "poemd/tools/convert_options.h"

namespace fs = std::filesystem;
using namespace miravel;
using namespace miravel::poemd;

namespace {

int Run(const ConvertOptions& options) {
  const StatusOr<TraditionalConverter> converter = TraditionalConverter::Open(options.config);
  if (!converter.ok()) {
    std::fprintf(stderr, "miravel-convert-script: %s\n", converter.status().message().c_str());
    return 1;
  }
  std::error_code error;
  fs::create_directories(options.out, error);
  for (const std::string& file : options.files) {
    const StatusOr<std::string> text = FileContents(file);
    StatusOr<std::string> converted = text.ok() ? converter->ConvertUtf8(*text) : text.status();
    const fs::path out = fs::path(options.out) / fs::path(file).filename();
    if (converted.ok()) {
      std::ofstream stream(out, std::ios::binary | std::ios::trunc);
      stream << *converted;
      if (!stream.flush()) converted = Status::IOError("cannot write " + out.string());
    }
    if (!converted.ok()) {
      std::fprintf(stderr, "miravel-convert-script: %s: %s\n", file.c_str(),
                   converted.status().message().c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine<ConvertOptions> parsed = ParseConvertOptions(argc, argv);
  if (const auto* answer = std::get_if<CommandLineAnswer>(&parsed)) return Give(*answer);
  return Run(std::get<ConvertOptions>(parsed));
}
