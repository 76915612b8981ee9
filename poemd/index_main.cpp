// miravel-poemd-index: turns the chinese-poetry data package into the poem
// service's corpus index.
// Usage: miravel-poemd-index --poetry DIR --out PATH
//   DIR is the package's folder (node_modules/chinese-poetry).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "poemd/corpus_index.h"

namespace fs = std::filesystem;

namespace {

// The Tang and Song shi of the package: every file whose poems carry
// "paragraphs", under the folders that hold shi.
std::vector<fs::path> ShiFiles(const fs::path& root) {
  std::vector<fs::path> files;
  for (const char* folder : {"dist/quantangshi", "quantangshi", "全唐诗"}) {
    const fs::path dir = root / folder;
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (entry.path().extension() == ".json" &&
          (name.starts_with("poet.tang.") || name.starts_with("poet.song."))) {
        files.push_back(entry.path());
      }
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::string poetry, out;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--poetry") poetry = argv[i + 1];
    if (flag == "--out") out = argv[i + 1];
  }
  if (poetry.empty() || out.empty()) {
    std::fprintf(stderr, "usage: miravel-poemd-index --poetry DIR --out PATH\n");
    return 2;
  }
  const std::vector<fs::path> files = ShiFiles(poetry);
  if (files.empty()) {
    std::fprintf(stderr, "miravel-poemd-index: no poet.tang.*/poet.song.* files under %s\n",
                 poetry.c_str());
    return 1;
  }
  miravel::poemd::CorpusIndexBuilder builder;
  size_t poems = 0;
  for (const fs::path& file : files) {
    std::ifstream in(file);
    const nlohmann::json data = nlohmann::json::parse(in, nullptr, false);
    if (!data.is_array()) {
      std::fprintf(stderr, "miravel-poemd-index: skipping %s (not a list of poems)\n",
                   file.c_str());
      continue;
    }
    for (const auto& poem : data) {
      if (!poem.is_object() || !poem.contains("paragraphs")) continue;
      std::vector<std::string> paragraphs;
      for (const auto& p : poem["paragraphs"]) {
        if (p.is_string()) paragraphs.push_back(p.get<std::string>());
      }
      builder.AddPoem(poem.value("title", ""), poem.value("author", ""), paragraphs);
      ++poems;
    }
  }
  const miravel::poemd::CorpusIndex index = builder.Build();
  if (!index.Save(out)) {
    std::fprintf(stderr, "miravel-poemd-index: cannot write %s\n", out.c_str());
    return 1;
  }
  std::fprintf(stderr,
               "miravel-poemd-index: %zu poems, %zu five- and %zu seven-character lines -> %s\n",
               poems, index.LineCount(5), index.LineCount(7), out.c_str());
  return 0;
}
