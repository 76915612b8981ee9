// miravel-poemd-index: turns the verse of the chinese-poetry data package
// into the poem service's index.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "miravel/version.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/indexing/corpus_split.h"
#include "poemd/indexing/line_splitter.h"
#include "poemd/indexing/poetry_package.h"
#include "poemd/indexing/reading_files.h"
#include "poemd/indexing/traditional_converter.h"
#include "poemd/indexing/unihan_readings.h"
#include "poemd/indexing/word_readings.h"
#include "poemd/tools/index_options.h"

namespace fs = std::filesystem;
using namespace miravel;
using namespace miravel::poemd;

namespace {

bool WriteAtomically(const std::string& path, const std::vector<std::byte>& bytes) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) return false;
  }
  // A service maps the index it reads: replace the file, never rewrite it.
  std::error_code error;
  fs::rename(temporary, path, error);
  return !error;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Reads the package and writes the index; the exit code.
int Run(const IndexOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  const std::vector<VerseFile> files = VerseFiles(options.poetry);
  if (files.empty()) {
    std::fprintf(stderr, "miravel-poemd-index: no verse files under %s\n", options.poetry.c_str());
    return 1;
  }
  StatusOr<ReadingFiles> readings = LoadReadingFiles(options.readings, options.classical);
  if (!readings.ok()) {
    std::fprintf(stderr, "miravel-poemd-index: %s\n", readings.status().message().c_str());
    return 1;
  }
  if (options.readings.empty()) {
    std::fprintf(stderr, "miravel-poemd-index: no --readings; polyphones read alone\n");
  }
  if (options.classical.empty()) {
    std::fprintf(stderr, "miravel-poemd-index: no --classical; lines read in modern tones only\n");
  }
  std::optional<UnihanReadings> unihan;
  if (!options.unihan.empty()) {
    StatusOr<UnihanReadings> read = UnihanReadings::FromFile(options.unihan);
    if (!read.ok()) {
      std::fprintf(stderr, "miravel-poemd-index: %s\n", read.status().message().c_str());
      return 1;
    }
    unihan = std::move(*read);
  }
  const StatusOr<TraditionalConverter> traditional = TraditionalConverter::Open();
  if (!traditional.ok()) {
    std::fprintf(stderr, "miravel-poemd-index: %s\n", traditional.status().message().c_str());
    return 1;
  }
  CorpusIndexBuilder builder({.readings = readings->Words(),
                              .classical = readings->Classical(),
                              .dictionaries = unihan ? &*unihan : nullptr,
                              .traditional = &*traditional});
  LineSplitter splitter;
  size_t poems = 0;
  for (const VerseFile& file : files) {
    const Status read = ReadPoems(file, [&](const PoemText& poem) {
      if (options.measure_split &&
          PartOf(poem, splitter.Pieces(poem.paragraphs)) != SplitPart::kIndex) {
        return;
      }
      builder.AddPoem(poem);
      ++poems;
    });
    // A file of another kind (a list of names) holds no poems; one that
    // cannot be read would leave the index short.
    if (!read.ok() && read.code() != StatusCode::kCorruption) {
      std::fprintf(stderr, "miravel-poemd-index: %s\n", read.message().c_str());
      return 1;
    }
  }
  const size_t lines = builder.LinesSoFar();
  const LeftOut left_out = builder.LinesLeftOut();
  const std::vector<std::byte> bytes = builder.Finish();
  std::fputs(builder.LearnersReport().c_str(), stderr);
  if (!WriteAtomically(options.out, bytes)) {
    std::fprintf(stderr, "miravel-poemd-index: cannot write %s\n", options.out.c_str());
    return 1;
  }
  std::fprintf(stderr,
               "miravel-poemd-index: %zu poems, %zu lines (left out: %zu in brackets, %zu in "
               "quoted prose), %.0f MB -> %s in %.1f s\n",
               poems, lines, left_out.in_brackets, left_out.in_prose_quotes, bytes.size() / 1e6,
               options.out.c_str(), SecondsSince(start));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine<IndexOptions> parsed = ParseIndexOptions(argc, argv);
  if (const auto* answer = std::get_if<CommandLineAnswer>(&parsed)) return Give(*answer);
  return Run(std::get<IndexOptions>(parsed));
}
