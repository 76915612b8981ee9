// The two reading files the tools take, loaded together: the word
// pronunciation dictionary (word_readings.h) and the 广韵 readings
// (classical_readings.h). An empty path leaves its readings out.
#pragma once

#include <optional>
#include <string>

#include "common/status.h"
#include "poemd/indexing/classical_readings.h"
#include "poemd/indexing/word_readings.h"

namespace miravel::poemd {

struct ReadingFiles {
  std::optional<WordReadings> words;
  std::optional<ClassicalReadings> classical;

  WordReadings* Words() { return words ? &*words : nullptr; }
  const ClassicalReadings* Classical() const { return classical ? &*classical : nullptr; }
};

// The first file's error when one cannot be read.
StatusOr<ReadingFiles> LoadReadingFiles(const std::string& words_path,
                                        const std::string& classical_path);

}  // namespace miravel::poemd
