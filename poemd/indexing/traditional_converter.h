// Simplified Chinese in traditional characters, for the poems the corpus
// keeps only in simplified ones (its 词, say), so that the service can show
// every poem in the poets' script, and for the pages' own words: OpenCC's
// standard conversion (s2t) unless another is named, phrases first (头发
// becomes 頭髮, 发展 發展), then characters. Not thread-safe; each thread
// needs its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/status.h"

namespace miravel::poemd {

class TraditionalConverter {
 public:
  // NotFound, with OpenCC's words, when its conversion cannot be opened
  // (its data package is not installed).
  // `config`: an OpenCC configuration from simplified characters ("s2t.json",
  // "s2twp.json").
  static StatusOr<TraditionalConverter> Open(const std::string& config = "s2t.json");
  TraditionalConverter(TraditionalConverter&&) noexcept;
  TraditionalConverter& operator=(TraditionalConverter&&) noexcept;
  ~TraditionalConverter();

  // `text` converted; as long as `text`, character for character (what
  // OpenCC cannot convert stays as it was).
  std::u16string Convert(std::u16string_view text) const;
  // UTF-8 text converted, of whatever length OpenCC makes it (markup and
  // other characters stay as they are); IOError when OpenCC fails.
  StatusOr<std::string> ConvertUtf8(std::string_view utf8) const;

 private:
  struct Handle;
  explicit TraditionalConverter(std::unique_ptr<Handle> handle);
  std::unique_ptr<Handle> handle_;
};

}  // namespace miravel::poemd
