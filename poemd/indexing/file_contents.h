// The whole of a file the index builder reads: a verse file of the poetry
// package, the word dictionary, the 广韵 readings.
#pragma once

#include <filesystem>
#include <string>

#include "common/status.h"

namespace miravel::poemd {

// The bytes of the file at `path`, as they are; NotFound ("cannot open
// PATH") when it cannot be opened.
StatusOr<std::string> FileContents(const std::filesystem::path& path);

}  // namespace miravel::poemd
