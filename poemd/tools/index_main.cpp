// miravel-poemd-index: turns the verse of the chinese-poetry data package
// into the poem service's index.
#include <CLI/CLI.hpp>
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
#include "poemd/indexing/word_readings.h"

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

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Builds the poem index of miravel-poemd from the chinese-poetry data package.",
               "miravel-poemd-index");
  std::string poetry, out, readings_path, classical_path;
  bool measure_split = false;
  app.add_option("--poetry", poetry, "the package's folder (node_modules/chinese-poetry)")
      ->required()
      ->check(CLI::ExistingDirectory);
  app.add_option("--out", out, "the index file to write")->required();
  app.add_option("--readings", readings_path,
                 "the word pronunciation dictionary (@pinyin-pro/data json/complete.json); "
                 "without it polyphones take their commonest reading")
      ->check(CLI::ExistingFile);
  app.add_option("--classical", classical_path,
                 "the 广韵 readings (guangyun_readings.js writes them from tshet-uinh); without "
                 "them the modern reading stands in for the classical one")
      ->check(CLI::ExistingFile);
  app.add_flag("--measure-split", measure_split,
               "index only the three quarters of the corpus that miravel-poemd-measure does not "
               "judge with, without the held-out quatrains");
  app.set_version_flag("--version", std::string("miravel-poemd-index ") + MIRAVEL_VERSION_TEXT);
  CLI11_PARSE(app, argc, argv);

  const auto start = std::chrono::steady_clock::now();
  const std::vector<VerseFile> files = VerseFiles(poetry);
  if (files.empty()) {
    std::fprintf(stderr, "miravel-poemd-index: no verse files under %s\n", poetry.c_str());
    return 1;
  }
  StatusOr<ReadingFiles> readings = LoadReadingFiles(readings_path, classical_path);
  if (!readings.ok()) {
    std::fprintf(stderr, "miravel-poemd-index: %s\n", readings.status().message().c_str());
    return 1;
  }
  if (readings_path.empty()) {
    std::fprintf(stderr, "miravel-poemd-index: no --readings; polyphones read alone\n");
  }
  if (classical_path.empty()) {
    std::fprintf(stderr, "miravel-poemd-index: no --classical; lines read in modern tones only\n");
  }
  CorpusIndexBuilder builder({.readings = readings->Words(), .classical = readings->Classical()});
  LineSplitter splitter;
  size_t poems = 0;
  for (const VerseFile& file : files) {
    const Status read = ReadPoems(file, [&](const PoemText& poem) {
      if (measure_split && PartOf(poem, splitter.Pieces(poem.paragraphs)) != SplitPart::kIndex) {
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
  if (!WriteAtomically(out, bytes)) {
    std::fprintf(stderr, "miravel-poemd-index: cannot write %s\n", out.c_str());
    return 1;
  }
  std::fprintf(stderr,
               "miravel-poemd-index: %zu poems, %zu lines (left out: %zu in brackets, %zu in "
               "quoted prose), %.0f MB -> %s in %.1f s\n",
               poems, lines, left_out.in_brackets, left_out.in_prose_quotes, bytes.size() / 1e6,
               out.c_str(), SecondsSince(start));
  return 0;
}
