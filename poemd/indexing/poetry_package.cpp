#include "poemd/indexing/poetry_package.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "poemd/indexing/file_contents.h"

namespace miravel::poemd {
namespace fs = std::filesystem;
namespace {

struct Folder {
  const char* name;
  Collection collection;
  Dynasty dynasty;
};

// In the order of their rank: a line found in several keeps the first.
constexpr Folder kFolders[] = {
    {"quantangshi", Collection::kTangSongShi, Dynasty::kTang},
    {"yudingquantangshi", Collection::kTangSongShi, Dynasty::kTang},
    {"shuimotangshi", Collection::kTangSongShi, Dynasty::kTang},
    {"songci", Collection::kCi, Dynasty::kSong},
    {"wudaishici", Collection::kCi, Dynasty::kFiveDynasties},
    {"nalanxingde", Collection::kCi, Dynasty::kQing},
    {"caocaoshiji", Collection::kOtherShi, Dynasty::kWei},
    {"yuanqu", Collection::kDrama, Dynasty::kYuan},
};

std::string Text(const nlohmann::json& poem, const char* key) {
  const auto it = poem.find(key);
  return it != poem.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

std::vector<VerseFile> VerseFiles(const fs::path& package) {
  std::vector<VerseFile> files;
  for (const fs::path& base : {package / "dist", package}) {
    for (const Folder& folder : kFolders) {
      if (!fs::is_directory(base / folder.name)) continue;
      std::vector<VerseFile> found;
      for (const auto& entry : fs::recursive_directory_iterator(base / folder.name)) {
        const std::string name = entry.path().filename().string();
        const std::string parent = entry.path().parent_path().filename().string();
        if (entry.path().extension() != ".json" || name.starts_with("author") ||
            parent == "error") {
          continue;
        }
        VerseFile file{entry.path(), folder.collection, folder.dynasty};
        // The Song shi share the Tang shi's folder.
        if (name.starts_with("poet.song.")) file.dynasty = Dynasty::kSong;
        found.push_back(file);
      }
      std::sort(found.begin(), found.end(),
                [](const VerseFile& a, const VerseFile& b) { return a.path < b.path; });
      files.insert(files.end(), found.begin(), found.end());
    }
    if (!files.empty()) break;
  }
  return files;
}

Status ReadPoems(const VerseFile& file, const std::function<void(const PoemText&)>& visit) {
  const StatusOr<std::string> text = FileContents(file.path);
  if (!text.ok()) return text.status();
  const nlohmann::json data = nlohmann::json::parse(*text, nullptr, false);
  if (!data.is_array()) return Status::Corruption(file.path.string() + " holds no list of poems");
  for (const nlohmann::json& poem : data) {
    if (!poem.is_object()) continue;
    // Most files call the lines "paragraphs"; the Nalan Xingde file "para".
    const auto lines = poem.contains("paragraphs") ? poem.find("paragraphs") : poem.find("para");
    if (lines == poem.end() || !lines->is_array()) continue;
    PoemText text;
    for (const auto& p : *lines) {
      if (p.is_string()) text.paragraphs.push_back(p.get<std::string>());
    }
    // A ci has no title of its own: its tune's name stands for it.
    text.title = Text(poem, "title");
    if (text.title.empty()) text.title = Text(poem, "rhythmic");
    text.author = Text(poem, "author");
    text.collection = file.collection;
    text.dynasty = file.dynasty;
    visit(text);
  }
  return Status::Ok();
}

}  // namespace miravel::poemd
