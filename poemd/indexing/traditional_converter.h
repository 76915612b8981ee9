// Simplified Chinese in traditional characters, for the poems the corpus
// keeps only in simplified ones (its 词, say), so that the service can show
// every poem in the poets' script: OpenCC's standard conversion (s2t),
// phrases first (头发 becomes 頭髮, 发展 發展), then characters. Not
// thread-safe; each thread needs its own.
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
  static StatusOr<TraditionalConverter> Open();
  TraditionalConverter(TraditionalConverter&&) noexcept;
  TraditionalConverter& operator=(TraditionalConverter&&) noexcept;
  ~TraditionalConverter();

  // `text` converted; as long as `text`, character for character (what
  // OpenCC cannot convert stays as it was).
  std::u16string Convert(std::u16string_view text) const;

 private:
  struct Handle;
  explicit TraditionalConverter(std::unique_ptr<Handle> handle);
  std::unique_ptr<Handle> handle_;
};

}  // namespace miravel::poemd
