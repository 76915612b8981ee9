// miravel-poemd-index: turns the verse of the chinese-poetry data package
// into the poem service's corpus index.
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

// The package's verse: the Tang and Song shi with the other Tang editions,
// the Song ci, the Five Dynasties ci, and a few smaller collections. Prose
// (the classics, primers) and the tone-pattern tables are left out, and so
// are the files of poets' biographies.
std::vector<fs::path> VerseFiles(const fs::path& root) {
  static const char* const kFolders[] = {
      "quantangshi", "yudingquantangshi", "songci",      "wudaishici",
      "nalanxingde", "shuimotangshi",     "caocaoshiji", "yuanqu"};
  std::vector<fs::path> files;
  for (const fs::path& base : {root / "dist", root}) {
    for (const char* folder : kFolders) {
      if (!fs::is_directory(base / folder)) continue;
      for (const auto& entry : fs::recursive_directory_iterator(base / folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".json" && !name.starts_with("author")) {
          files.push_back(entry.path());
        }
      }
    }
    if (!files.empty()) break;
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
  const std::vector<fs::path> files = VerseFiles(poetry);
  if (files.empty()) {
    std::fprintf(stderr, "miravel-poemd-index: no verse files under %s\n", poetry.c_str());
    return 1;
  }
  miravel::poemd::CorpusIndexBuilder builder;
  size_t poems = 0;
  for (const fs::path& file : files) {
    std::ifstream in(file);
    const nlohmann::json data = nlohmann::json::parse(in, nullptr, false);
    if (!data.is_array()) continue;  // an index or list of names, no poems
    for (const auto& poem : data) {
      if (!poem.is_object() || !poem.contains("paragraphs") || !poem["paragraphs"].is_array()) {
        continue;
      }
      std::vector<std::string> paragraphs;
      for (const auto& p : poem["paragraphs"]) {
        if (p.is_string()) paragraphs.push_back(p.get<std::string>());
      }
      const auto text = [&poem](const char* key) {
        return poem.contains(key) && poem[key].is_string() ? poem[key].get<std::string>()
                                                           : std::string();
      };
      const std::string title = text("title").empty() ? text("rhythmic") : text("title");
      builder.AddPoem(title, text("author"), paragraphs);
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
