#include "poemd/indexing/file_contents.h"

#include <fstream>
#include <iterator>

namespace miravel::poemd {

StatusOr<std::string> FileContents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Status::NotFound("cannot open " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace miravel::poemd
