#include "poemd/indexing/reading_files.h"

namespace miravel::poemd {

StatusOr<ReadingFiles> LoadReadingFiles(const std::string& words_path,
                                        const std::string& classical_path) {
  ReadingFiles files;
  if (!words_path.empty()) {
    StatusOr<WordReadings> words = WordReadings::FromFile(words_path);
    if (!words.ok()) return words.status();
    files.words = std::move(*words);
  }
  if (!classical_path.empty()) {
    StatusOr<ClassicalReadings> classical = ClassicalReadings::FromFile(classical_path);
    if (!classical.ok()) return classical.status();
    files.classical = std::move(*classical);
  }
  return files;
}

}  // namespace miravel::poemd
