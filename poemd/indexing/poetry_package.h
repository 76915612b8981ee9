// The verse of the chinese-poetry data package (npm chinese-poetry 2.0.1):
// which of its files hold which collection, of which dynasty, and the poems
// in them. Prose (the classics, primers), the tone-pattern tables, the
// poets' biographies and the poems the package marks as faulty are left out.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "common/status.h"
#include "poemd/indexing/corpus_index_builder.h"

namespace miravel::poemd {

struct VerseFile {
  std::filesystem::path path;
  Collection collection = Collection::kTangSongShi;
  Dynasty dynasty = Dynasty::kUnknown;
};

// The verse files under the package's folder (its dist/ or the folder
// itself), the Tang and Song shi first; empty when there are none.
std::vector<VerseFile> VerseFiles(const std::filesystem::path& package);

// Calls `visit` with each poem of the file (title and author empty where
// the file has none). NotFound when the file cannot be opened; Corruption
// when it is no list of poems (an index of names, say), and nothing visited.
Status ReadPoems(const VerseFile& file, const std::function<void(const PoemText&)>& visit);

}  // namespace miravel::poemd
